#include "chartwork/ErrorLogForm.h"

#include "core/DateTimeText.h"
#include "core/TextLines.h"
#include "platform/Dialogs.h"

#include <QDateTime>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TErrorLogForm::TErrorLogForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ErrorLogForm"));
    setWindowTitle(QStringLiteral("エラーログ"));
    resize(640, 400);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(QStringLiteral("ファイル"));
    SaveMenu = file->addAction(QStringLiteral("保存"));
    CloseMenu = file->addAction(QStringLiteral("閉じる"));
    layout->setMenuBar(bar);
    ErrorLogMemo = new QPlainTextEdit(this);
    ErrorLogMemo->setObjectName(QStringLiteral("ErrorLogMemo"));
    ErrorLogMemo->setAccessibleName(QStringLiteral("エラーログ"));
    ErrorLogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ErrorLogMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ErrorLogMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(ErrorLogMemo);
    connect(SaveMenu, &QAction::triggered, this, &TErrorLogForm::SaveMenuClick);
    connect(CloseMenu, &QAction::triggered, this, &QDialog::accept);
}

void TErrorLogForm::AddError(const QString& message) {
    ErrorLogMemo->appendPlainText(dateTimeText(QDateTime::currentDateTime()) +
                                  QStringLiteral(": ") + message);
}

void TErrorLogForm::ClearErrors() {
    ErrorLogMemo->clear();
}

QStringList TErrorLogForm::Lines() const {
    const QString text = ErrorLogMemo->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TErrorLogForm::SaveMenuClick() {
    const QString path = Dialogs::instance().saveFile(
        this, QStringLiteral("保存"), QStringLiteral("ErrorLog"),
        {QStringLiteral("テキスト (*.txt)"), QStringLiteral("全て (*)")}, QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    if (!writeCp932Lines(path, Lines()))
        Dialogs::instance().message(this, Dialogs::Kind::Error,
                                    QStringLiteral("%1 を保存できませんでした。").arg(path),
                                    Dialogs::Ok);
}
