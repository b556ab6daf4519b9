// Filing a chart on the real main window, end to end: pages from SANE's test scanner and from
// an image file, "取込", "確認" of a new patient, a bookmark and a note, "保存"; the chart PDF,
// its index row and the activity log; the volume reopened with "確認"/"選択", overwritten, and
// erased into the desktop trash.

#include "PageListTestFiles.h"
#include "SaveFixture.h"
#include "chartfile/ChartFileReader.h"
#include "chartwork/PatientTab.h"
#include "index/ChartIndex.h"
#include "platform/Scanner.h"
#include "platform/ScannerSourceDialog.h"
#include "support/SaneTestBackend.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SaveWindow : public SaveFixture {
protected:
    // Scans one page into the Scanner folder as scan1.jpg.
    void scanOnePage(TMainForm& form) {
        useSaneTestBackend({QStringLiteral("test-picture \"Color pattern\"")});
        dialogs.dialogHandlers.push_back([](QDialog* dialog) {
            auto* source = qobject_cast<ScannerSourceDialog*>(dialog);
            return int(source && source->selectDevice(QStringLiteral("test:0"))
                           ? QDialog::Accepted
                           : QDialog::Rejected);
        });
        form.TwainSelectMenu->trigger();
        ASSERT_TRUE(form.TwainReadMenu->isEnabled());
        dialogs.fileAnswers.push_back({workspace.scannerDir() + QStringLiteral("/scan1.jpeg")});
        dialogs.saveFilterAnswers.push_back(0);
        QSignalSpy done(form.TwainScanner, SIGNAL(acquired(QImage)));
        form.TwainReadMenu->trigger();
        ASSERT_TRUE(done.wait(20000));
    }

    const QString name = QStringLiteral("山田 太郎");
    const QString kana = QStringLiteral("ヤマダ タロウ");
};

TEST_F(SaveWindow, AChartIsFiledReopenedOverwrittenAndErased) {
    auto form = startSaveForm();
    ChartIndex& index = form->Index;

    // Paper to working pages: one scanned page, one image file, taken in by "取込".
    ASSERT_NO_FATAL_FAILURE(scanOnePage(*form));
    const QString file = temp.file(QStringLiteral("page2.jpg"));
    writeJpegPage(file, Qt::blue, QSize(600, 850));
    dialogs.fileAnswers.push_back({file});
    form->ImageFileReadMenu->trigger();
    QTest::mouseClick(form->ScannerRead, Qt::LeftButton);
    ASSERT_EQ(pageFiles(*form), QStringList({"page2.jpg", "scan1.jpg"}));

    confirmPatient(*form, QStringLiteral("123"));
    ASSERT_EQ(form->FilingState, TFilingState::New);
    ASSERT_TRUE(form->SaveButton->isEnabled());
    form->ListView1Edited(0, QStringLiteral("初診"));
    form->WorkingPages[1].Note = QStringLiteral("所見\r\nなし\r\n");
    form->PatientTab->PName->setText(name);
    form->PatientTab->PKana->setText(kana);
    form->PatientTab->setSex(TPatientTab::Male);
    form->PatientTab->Padress->setText(QStringLiteral("東京都'千代田区"));

    // The progress goes page by page while the window keeps handling events with its
    // controls locked.
    QSignalSpy progress(form->SaveProgress, &QProgressBar::valueChanged);
    bool lockedWhileWriting = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (form->SaveProgress->isVisible() && !form->SaveButton->isEnabled() &&
            !form->ClearButton->isEnabled())
            lockedWhileWriting = true;
    });
    probe.start(0);
    form->SaveButton->click();
    probe.stop();

    ASSERT_EQ(dialogs.texts(), QStringList{QStringLiteral("保存しました。")});
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Information);
    EXPECT_TRUE(lockedWhileWriting);
    EXPECT_EQ(progress.last().at(0).toInt(), 2);
    EXPECT_EQ(form->SaveProgress->maximum(), 2);
    EXPECT_FALSE(form->SaveProgress->isVisible());

    const QString pdf = savedPath(123, 0);
    ASSERT_TRUE(QFile::exists(pdf)) << pdf.toStdString();
    expectQpdfClean(pdf);
    // Every page is titled with the header of this volume at the save.
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"),
                QStringLiteral("2"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput())
                    .contains(QStringLiteral("1234567 トヴァネ医院 01 2026/12/11 9:03:07 123 0")));
    const QList<ChartPdfPage> pages = readChartPdfPages(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].bookmark, QStringLiteral("初診"));
    EXPECT_TRUE(pages[1].note.startsWith(QStringLiteral("所見"))) << pages[1].note.toStdString();

    const auto rows = rawRows(123, 0);
    ASSERT_EQ(rows.size(), 1);
    const QMap<QByteArray, QByteArray> expected = {
        {"TOVANEDATE", "2026/12/11 9:03:07"},
        {"FILEPATH", toCp932(patientFolder(123))},
        {"INETPATH", toCp932(pdf)},
        {"FILENAME", toCp932(volumeFileName(123, 0))},
        {"KEY1", toCp932(name)},
        {"KEY2", toCp932(kana)},
        {"KEY3", toCp932(QStringLiteral("男性"))},
        {"KEY4", ""},
        {"KEY5", ""},
        {"KEY6", toCp932(QStringLiteral("東京都'千代田区"))},
        {"KEY7", ""},
        {"KEY8", ""}};
    EXPECT_EQ(rows[0], expected);
    EXPECT_EQ(rows[0]["KEY1"], QByteArray("\x8e\x52\x93\x63\x20\x91\xbe\x98\x59"));

    EXPECT_EQ(activityLines(*form), QStringList({"2026/12/11 9:03:07 " + pdf + " : Pdf作成(New)",
                                                 "2026/12/11 9:03:07 " + pdf + " : DBに記録"}));
    EXPECT_EQ(form->StatusText(1), QStringLiteral("保存しました。"));
    EXPECT_EQ(form->FilingState, TFilingState::Idle);
    EXPECT_TRUE(form->WorkingPages.isEmpty());
    EXPECT_TRUE(QDir(workspace.scannerDir()).isEmpty());
    EXPECT_EQ(form->PatientNo, 123);
    EXPECT_EQ(form->LastPatientNo, 0);
    EXPECT_FALSE(form->SaveButton->isEnabled());
    EXPECT_TRUE(form->PrintBtn->isEnabled());
    EXPECT_TRUE(form->EraseBtn->isEnabled());

    // Reopened: the pages come back with their bookmark and note, the fields with the facts.
    confirmPatient(*form, QStringLiteral("123"));
    selectVolume(*form, QStringLiteral("0"));
    ASSERT_EQ(form->FilingState, TFilingState::Overwrite);
    ASSERT_EQ(form->WorkingPages.count(), 2);
    EXPECT_EQ(form->WorkingPages.at(0).Bookmark, QStringLiteral("初診"));
    EXPECT_EQ(form->WorkingPages.at(1).Note, pages[1].note);
    EXPECT_EQ(form->PatientTab->PName->text(), name);
    EXPECT_EQ(form->PatientTab->sex(), TPatientTab::Male);

    // Overwritten a day later with dates in names on: same name, new TOVANEDATE.
    const QDateTime later(QDate(2026, 12, 12), QTime(14, 5, 9));
    setClock(*form, later);
    form->Reg.WriteDate = true;
    form->WorkingPages[0].Bookmark = QStringLiteral("再診");
    dialogs.boxes.clear();
    form->SaveButton->click();
    ASSERT_EQ(dialogs.texts(), QStringList{QStringLiteral("保存しました。")});
    EXPECT_EQ(QDir(QFileInfo(pdf).path()).entryList(QDir::Files),
              QStringList{volumeFileName(123, 0)});
    EXPECT_EQ(readChartPdfPages(pdf).at(0).bookmark, QStringLiteral("再診"));
    const auto updated = rawRows(123, 0);
    ASSERT_EQ(updated.size(), 1);
    EXPECT_EQ(updated[0]["TOVANEDATE"], QByteArray("2026/12/12 14:05:09"));
    EXPECT_EQ(updated[0]["FILENAME"], expected["FILENAME"]);
    EXPECT_EQ(activityLines(*form).mid(2),
              QStringList({"2026/12/12 14:05:09 " + pdf + " : Pdf作成(Update)",
                           "2026/12/12 14:05:09 " + pdf + " : DBに記録"}));

    // Erased with WriteInhibit off: into this test's trash, the row gone, both lines.
    form->Reg.WriteInhibit = false;
    dialogs.boxes.clear();
    dialogs.answers.push_back(Dialogs::Yes);
    form->EraseBtn->click();
    ASSERT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("このファイルを消去しますか?\n患者番号 123 連番 0")});
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(trashedFiles(), QStringList{volumeFileName(123, 0)});
    EXPECT_TRUE(index.volumeRows(123, 0).empty());
    EXPECT_EQ(activityLines(*form).mid(4),
              QStringList(
                  {"2026/12/12 14:05:09 " + pdf + " : Pdf消去(Erase)", pdf + "を消去しました。"}));
    EXPECT_EQ(form->StatusText(1), pdf + QStringLiteral("を消去しました。"));
    for (QPushButton* button : {form->SubNoBtn, form->SaveButton, form->PrintBtn, form->EraseBtn})
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_TRUE(errorMessages(*form).isEmpty()) << errorMessages(*form).join(" | ").toStdString();
}

} // namespace
