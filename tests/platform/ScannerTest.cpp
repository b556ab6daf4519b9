#include "platform/Scanner.h"
#include "platform/ScannerError.h"
#include "platform/ScannerSourceDialog.h"

#include "support/SaneTestBackend.h"

#include <QListWidget>
#include <QSet>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const std::atomic<bool> notCancelled{false};

TEST(Scanner, ListsTheTestDevice) {
    useSaneTestBackend();
    const QList<ScannerDevice> devices = scannerDevices();
    ASSERT_EQ(devices.size(), 1);
    EXPECT_EQ(devices[0].name, QStringLiteral("test:0"));
    EXPECT_TRUE(devices[0].label().endsWith(QStringLiteral("(test:0)")));

    removeSaneTestBackend();
    EXPECT_TRUE(scannerDevices().isEmpty());
}

// The colour preference and resolution choice apply to whatever the device offers: the page
// of the test backend (80 x 100 mm) comes out in colour at 200 dpi whether it starts in grey,
// in colour, or as a three-pass scanner.
TEST(Scanner, ScansOnePageInColourAt200Dpi) {
    const std::vector<QStringList> configs = {
        {QStringLiteral("mode Gray"), QStringLiteral("test-picture \"Color pattern\"")},
        {QStringLiteral("mode Color"), QStringLiteral("test-picture \"Grid\"")},
        {QStringLiteral("mode Color"), QStringLiteral("three-pass true"),
         QStringLiteral("test-picture \"Color pattern\"")},
    };
    for (const QStringList& conf : configs) {
        useSaneTestBackend(conf);
        const QImage image = scanOnePage(QStringLiteral("test:0"), notCancelled);
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << conf.join(',').toStdString();
        EXPECT_NEAR(image.width(), 80 / 25.4 * 200, 2) << conf.join(',').toStdString();
        EXPECT_NEAR(image.height(), 100 / 25.4 * 200, 2) << conf.join(',').toStdString();
        QSet<QRgb> colours;
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, image.height() / 2));
        EXPECT_GT(colours.size(), 1) << "a picture, not a blank page";
    }
}

TEST(Scanner, FailuresOfTheDeviceAreErrors) {
    useSaneTestBackend({QStringLiteral("read-status-code \"SANE_STATUS_IO_ERROR\"")});
    EXPECT_THROW(scanOnePage(QStringLiteral("test:0"), notCancelled), ScannerError);

    useSaneTestBackend({QStringLiteral("number_of_devices 2")});
    EXPECT_FALSE(scanOnePage(QStringLiteral("test:1"), notCancelled).isNull());
    useSaneTestBackend(); // test:1 was unplugged after it was chosen
    EXPECT_THROW(scanOnePage(QStringLiteral("test:1"), notCancelled), ScannerError);
}

TEST(Scanner, ACancelledScanGivesNoImage) {
    useSaneTestBackend();
    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(scanOnePage(QStringLiteral("test:0"), cancelled).isNull());
}

TEST(Scanner, AcquiresOnAWorkerAndReportsOnTheWindowThread) {
    useSaneTestBackend({QStringLiteral("test-picture \"Color pattern\"")});
    Scanner scanner;
    EXPECT_FALSE(scanner.acquire()) << "no device chosen yet";

    scanner.setDevice(QStringLiteral("test:0"));
    QSignalSpy acquired(&scanner, &Scanner::acquired);
    QSignalSpy failed(&scanner, &Scanner::failed);
    ASSERT_TRUE(scanner.acquire());
    EXPECT_TRUE(scanner.isBusy());
    EXPECT_FALSE(scanner.acquire()) << "one scan at a time";
    ASSERT_TRUE(acquired.wait(20000));
    EXPECT_FALSE(scanner.isBusy());
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_FALSE(acquired.first().first().value<QImage>().isNull());

    scanner.setDevice(QStringLiteral("test:1")); // not there
    ASSERT_TRUE(scanner.acquire());
    ASSERT_TRUE(failed.wait(20000));
    EXPECT_FALSE(failed.first().first().toString().isEmpty());
    EXPECT_EQ(acquired.size(), 1);
}

TEST(Scanner, CancellingAScanReportsCancelled) {
    // A slow device, so that the cancel arrives while lines are still being read.
    useSaneTestBackend({QStringLiteral("read-delay true"),
                        QStringLiteral("read-delay-duration 200000"),
                        QStringLiteral("read-limit true"), QStringLiteral("read-limit-size 64")});
    Scanner scanner;
    scanner.setDevice(QStringLiteral("test:0"));
    QSignalSpy cancelled(&scanner, &Scanner::cancelled);
    QSignalSpy acquired(&scanner, &Scanner::acquired);
    ASSERT_TRUE(scanner.acquire());
    scanner.cancel();
    ASSERT_TRUE(cancelled.wait(20000));
    EXPECT_TRUE(acquired.isEmpty());
}

TEST(ScannerSourceDialog, OffersTheDevicesAndReportsTheChoice) {
    const QList<ScannerDevice> devices = {{"test:0", "Noname", "frontend-tester", "virtual"},
                                          {"test:1", "Noname", "frontend-tester", "virtual"}};
    ScannerSourceDialog dialog(devices, QStringLiteral("test:1"));
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.selectedDevice(), QStringLiteral("test:1"))
        << "the device in use is preselected";
    EXPECT_TRUE(dialog.selectDevice(QStringLiteral("test:0")));
    EXPECT_EQ(dialog.selectedDevice(), QStringLiteral("test:0"));
    EXPECT_FALSE(dialog.selectDevice(QStringLiteral("gone:0")));

    ScannerSourceDialog none({}, QString());
    EXPECT_TRUE(none.selectedDevice().isEmpty());
}

} // namespace
