#pragma once
// The scanner, through SANE: the list of devices, the device chosen for the run, and the
// acquisition of one page on a worker thread whose image comes back by signal to the thread
// that owns the Scanner.

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;

struct ScannerDevice {
    QString name; // what sane_open takes, for example "test:0"
    QString vendor;
    QString model;
    QString type;
    // "vendor model (name)", as the device is shown to the user.
    QString label() const;
};

// The devices SANE finds now. Throws ScannerError when SANE cannot be started.
QList<ScannerDevice> scannerDevices();

// Scans one page from `device` on the calling thread. Returns a null image when `cancel` was
// set or the device reported the scan cancelled. Throws ScannerError on any other failure,
// including a device that is no longer there.
QImage scanOnePage(const QString& device, const std::atomic<bool>& cancel);

class Scanner : public QObject {
    Q_OBJECT
public:
    explicit Scanner(QObject* parent = nullptr);
    // Cancels a running scan and waits for its thread; its result is dropped.
    ~Scanner() override;

    void setDevice(const QString& name) { device_ = name; }
    QString device() const { return device_; }
    bool hasDevice() const { return !device_.isEmpty(); }
    bool isBusy() const { return thread_ != nullptr; }

    // Starts scanning one page from the chosen device. Returns false, doing nothing, while a
    // scan runs or when no device is chosen. Exactly one of acquired, cancelled or failed
    // follows.
    bool acquire();
    // Asks the running scan to stop; `cancelled` follows.
    void cancel() { cancel_->store(true); }

signals:
    void acquired(const QImage& image);
    void cancelled();
    void failed(const QString& reason);

private:
    void finish(const QImage& image, const QString& error);

    QString device_;
    QThread* thread_ = nullptr;
    std::shared_ptr<std::atomic<bool>> cancel_;
};
