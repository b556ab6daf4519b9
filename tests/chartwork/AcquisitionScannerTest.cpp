// The scanner on the real main window, through SANE's test backend: choosing the device,
// scanning one page, saving it through the save dialog and taking it in with "取込".

#include "MainFormFixture.h"
#include "chartwork/ErrorLogForm.h"
#include "chartwork/MainForm.h"
#include "platform/Scanner.h"
#include "platform/ScannerSourceDialog.h"
#include "support/SaneTestBackend.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AcquisitionScanner : public MainFormFixture {
protected:
    AcquisitionScanner() {
        useSaneTestBackend({QStringLiteral("number_of_devices 2"),
                            QStringLiteral("test-picture \"Color pattern\"")});
    }

    // Answers the device dialog by picking `device` (empty: cancel).
    void chooseDevice(const QString& device) {
        dialogs.dialogHandlers.push_back([device](QDialog* dialog) {
            auto* source = qobject_cast<ScannerSourceDialog*>(dialog);
            if (!source || device.isEmpty() || !source->selectDevice(device))
                return int(QDialog::Rejected);
            return int(QDialog::Accepted);
        });
    }

    // Runs "Ｔｗａｉｎ読取り" and waits for the scan to come back.
    static void scan(TMainForm& form, const char* outcome) {
        QSignalSpy done(form.TwainScanner, outcome);
        form.TwainReadMenu->trigger();
        ASSERT_TRUE(done.wait(20000)) << outcome;
    }
};

TEST_F(AcquisitionScanner, AScannedPageIsSavedAndTakenInByTheFolderRead) {
    auto form = startForm();
    EXPECT_FALSE(form->TwainReadMenu->isEnabled());
    chooseDevice(QStringLiteral("test:0"));
    form->TwainSelectMenu->trigger();
    ASSERT_TRUE(form->TwainReadMenu->isEnabled());

    form->NumberConfirmed = true;
    dialogs.fileAnswers.push_back({workspace.scannerDir() + "/scan1.jpeg"});
    dialogs.saveFilterAnswers.push_back(0);
    scan(*form, SIGNAL(acquired(QImage)));
    EXPECT_FALSE(form->NumberConfirmed);
    const QString saved = workspace.scannerDir() + "/scan1.jpg";
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(QImageReader(saved).format(), "jpeg");
    EXPECT_TRUE(form->WorkingPages.isEmpty()) << "a scan becomes a page only by 取込";

    QTest::mouseClick(form->ScannerRead, Qt::LeftButton);
    ASSERT_EQ(form->WorkingPages.count(), 1);
    EXPECT_EQ(form->WorkingPages.at(0).FileName, QStringLiteral("scan1.jpg"));
    EXPECT_EQ(form->StatusText(1), QStringLiteral("患者番号を入力してください。"));
}

TEST_F(AcquisitionScanner, TheChosenFilterGivesTheExtensionAndFormat) {
    auto form = startForm();
    chooseDevice(QStringLiteral("test:0"));
    form->TwainSelectMenu->trigger();
    const struct {
        int filter;
        const char* extension;
        QByteArray format;
    } cases[] = {{1, ".bmp", "bmp"}, {2, ".tif", "tiff"}, {3, ".png", "png"}};
    for (const auto& c : cases) {
        dialogs.fileAnswers.push_back({workspace.scannerDir() + "/page.x.jpg"});
        dialogs.saveFilterAnswers.push_back(c.filter);
        scan(*form, SIGNAL(acquired(QImage)));
        const QString saved = workspace.scannerDir() + "/page.x" + c.extension;
        ASSERT_TRUE(QFile::exists(saved)) << c.extension;
        EXPECT_EQ(QImageReader(saved).format(), c.format);
    }
    EXPECT_FALSE(QFile::exists(workspace.scannerDir() + "/page.x.jpg"));

    // Cancelling the save dialog drops the scan.
    scan(*form, SIGNAL(acquired(QImage)));
    EXPECT_EQ(QDir(workspace.scannerDir()).entryList(QDir::Files).size(), 3);
}

TEST_F(AcquisitionScanner, CancellingTheChoiceLeavesNoDeviceToReadFrom) {
    auto form = startForm();
    chooseDevice(QStringLiteral("test:1"));
    form->TwainSelectMenu->trigger();
    EXPECT_TRUE(form->TwainReadMenu->isEnabled());
    chooseDevice(QString());
    form->TwainSelectMenu->trigger();
    EXPECT_FALSE(form->TwainReadMenu->isEnabled());
}

TEST_F(AcquisitionScanner, FailuresShowTheReadFailureAndLogIt) {
    auto form = startForm();
    chooseDevice(QStringLiteral("test:1"));
    form->TwainSelectMenu->trigger();
    const QString failure = QStringLiteral("＊＊＊ Twainの読み込みに失敗しました。");

    // The device is unplugged after it was chosen.
    useSaneTestBackend();
    scan(*form, SIGNAL(failed(QString)));
    EXPECT_EQ(form->StatusText(1), failure);
    EXPECT_TRUE(form->errorLog()->Lines().last().endsWith(QStringLiteral("*** Twain Read Error")));

    // A device that fails in the middle of the page.
    form->errorLog()->ClearErrors();
    form->TwainScanner->setDevice(QStringLiteral("test:0"));
    useSaneTestBackend({QStringLiteral("read-status-code \"SANE_STATUS_IO_ERROR\"")});
    scan(*form, SIGNAL(failed(QString)));
    EXPECT_EQ(form->StatusText(1), failure);
    EXPECT_EQ(form->errorLog()->Lines().size(), 1);

    // A page that cannot be written.
    form->errorLog()->ClearErrors();
    useSaneTestBackend();
    dialogs.fileAnswers.push_back({workspace.programDir + "/no such folder/scan.jpg"});
    scan(*form, SIGNAL(acquired(QImage)));
    EXPECT_EQ(form->StatusText(1), failure);
    EXPECT_TRUE(form->errorLog()->Lines().last().endsWith(QStringLiteral("*** Twain Read Error")));
}

} // namespace
