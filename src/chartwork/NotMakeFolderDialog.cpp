#include "chartwork/NotMakeFolderDialog.h"

#include "platform/Dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TNotMakeFolder::TNotMakeFolder(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("NotMakeFolder"));
    setWindowTitle(QStringLiteral("警告"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    FolderLabel = new QLabel(this);
    FolderLabel->setObjectName(QStringLiteral("FolderLabel"));
    FolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    MessageLabel = new QLabel(QStringLiteral("ファイルまたはフォルダーを作成できません。　\n"
                                             "Diskの容量不足または書き込み不可のデバイスの可能性"
                                             "があります。\n"
                                             "又は、使用中の可能性があります。"),
                              this);
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    OkButton = new QPushButton(QStringLiteral("了解"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setAccessibleName(OkButton->text());
    OkButton->setDefault(true);
    layout->addWidget(FolderLabel);
    layout->addWidget(MessageLabel);
    layout->addWidget(OkButton, 0, Qt::AlignHCenter);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TNotMakeFolder::setFolder(const QString& folder) {
    FolderLabel->setText(folder);
    FolderLabel->setAccessibleName(folder);
}

void TNotMakeFolder::showFor(QWidget* parent, const QString& folder) {
    TNotMakeFolder dialog(parent);
    dialog.setFolder(folder);
    Dialogs::instance().exec(&dialog);
}
