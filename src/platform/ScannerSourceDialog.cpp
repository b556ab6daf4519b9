#include "platform/ScannerSourceDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ScannerSourceDialog::ScannerSourceDialog(const QList<ScannerDevice>& devices,
                                         const QString& current, QWidget* parent)
    : QDialog(parent), devices_(devices), list_(new QListWidget(this)),
      empty_(new QLabel(QStringLiteral("スキャナーが見つかりません。"), this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(QStringLiteral("Ｔｗａｉｎ装置選択"));
    list_->setAccessibleName(QStringLiteral("スキャナー"));
    for (const auto& device : devices_)
        list_->addItem(device.label());
    empty_->setVisible(devices_.isEmpty());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(empty_);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, &ScannerSourceDialog::updateOk);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    if (!selectDevice(current) && !devices_.isEmpty())
        list_->setCurrentRow(0);
    updateOk();
}

QString ScannerSourceDialog::selectedDevice() const {
    const int row = list_->currentRow();
    return row >= 0 && row < devices_.size() ? devices_[row].name : QString();
}

bool ScannerSourceDialog::selectDevice(const QString& name) {
    for (int i = 0; i < devices_.size(); ++i) {
        if (devices_[i].name == name) {
            list_->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void ScannerSourceDialog::updateOk() {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(list_->currentRow() >= 0);
}
