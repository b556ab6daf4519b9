#pragma once
// The small dialog in which the user picks the scanner for the run from the SANE devices.

#include "platform/Scanner.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QListWidget;

class ScannerSourceDialog : public QDialog {
    Q_OBJECT
public:
    // `current` (a device name) is preselected when it is among `devices`.
    ScannerSourceDialog(const QList<ScannerDevice>& devices, const QString& current,
                        QWidget* parent = nullptr);

    // The device name picked, empty when none.
    QString selectedDevice() const;
    // Picks the device of that name; false when it is not listed.
    bool selectDevice(const QString& name);

    QListWidget* list() const { return list_; }

private:
    void updateOk();

    QList<ScannerDevice> devices_;
    QListWidget* list_;
    QLabel* empty_;
    QDialogButtonBox* buttons_;
};
