// "選択" of an existing volume: its pages, notes, bookmarks and patient facts loaded from a
// real chart PDF, the write-inhibited, read-only and missing-file cases, and PDFs that are
// not chart PDFs of this program.

#include "PageListTestFiles.h"
#include "SelectionFixture.h"
#include "chartfile/ChartFileReader.h"
#include "chartwork/MainForm.h"
#include "chartwork/PatientTab.h"
#include "core/PathString.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

class SelectionVolumes : public SelectionFixture {
protected:
    // Patient 42: volume 1 with one page, volume 2 with three pages and the patient's facts.
    void SetUp() override {
        storeVolume(42, 1, {{Qt::white, QString(), QString()}});
        volume2 =
            storeVolume(42, 2,
                        {{Qt::red, QStringLiteral("所見あり"), QStringLiteral("初診")},
                         {Qt::green, QString(), QString()},
                         {Qt::blue, QStringLiteral("second\r\nline"), QStringLiteral("検査")}},
                        keys);
    }

    // Starts the window holding one scanned page and with patient 42 accepted.
    std::unique_ptr<TMainForm> startWithPatient42() {
        auto form = startSelectionForm();
        holdPage(*form, QStringLiteral("held.jpg"), Qt::yellow);
        confirmPatient(*form, QStringLiteral("42"));
        return form;
    }

    QStringList scannerFiles() const {
        return QDir(workspace.scannerDir()).entryList(QDir::Files, QDir::Name);
    }

    const IndexKeys keys = {"山田 花子", "ヤマダ ハナコ",  " 女性 ",       "1970/01/02",
                            "123-4567",  "東京都千代田区", "03-1234-5678", "090-1111-2222"};
    QString volume2;
};

// The colour a person sees at the line's edge, where no text is drawn.
QColor background(QLineEdit* line) {
    return line->grab().toImage().pixelColor(1, 1);
}

// Overwrites bytes of a file in place, keeping its length and so every offset in it.
void patchFile(const QString& path, const QByteArray& from, const QByteArray& to) {
    ASSERT_EQ(from.size(), to.size());
    QByteArray bytes = readFile(path);
    const qsizetype at = bytes.indexOf(from);
    ASSERT_GE(at, 0) << from.toStdString();
    bytes.replace(at, from.size(), to);
    writeFile(path, bytes);
}

} // namespace

TEST_F(SelectionVolumes, AnExistingVolumeIsOpenedForOverwritingWithItsPagesAppended) {
    auto form = startWithPatient42();
    selectVolume(*form, QStringLiteral("2"));
    EXPECT_TRUE(dialogs.boxes.isEmpty()) << dialogs.texts().join(" | ").toStdString();

    EXPECT_EQ(form->FilingState, TFilingState::Overwrite);
    EXPECT_TRUE(form->NumberConfirmed);
    EXPECT_EQ(form->VolumeNo, 2);
    EXPECT_EQ(form->StatusMess1->text(), QStringLiteral("カルテに上書きします。"));
    EXPECT_TRUE(form->StatusMess2->text().isEmpty());
    EXPECT_EQ(form->StatusMess3->text(), QStringLiteral("端末番号 01"));
    for (QLineEdit* line : {form->StatusMess1, form->StatusMess2, form->StatusMess3})
        EXPECT_EQ(background(line), QColor(0, 255, 0));
    EXPECT_EQ(form->SaveButton->text(), QStringLiteral("上書"));
    EXPECT_TRUE(form->SaveButton->isEnabled());
    EXPECT_FALSE(form->PrintBtn->isEnabled());
    EXPECT_FALSE(form->EraseBtn->isEnabled());

    EXPECT_EQ(form->VolumeFolder, SelectionFixture::patientFolder(42));
    EXPECT_EQ(form->VolumeFileName, SelectionFixture::volumeFileName(42, 2));
    EXPECT_EQ(toNativePath(form->VolumePath), toNativePath(volume2));

    // The held page stays first; the stored pages follow in order, each written into the
    // Scanner folder as its image name + ".jpg" with the PDF's JPEG bytes unchanged.
    const QList<ChartPdfPage> stored = readChartPdfPages(volume2);
    ASSERT_EQ(stored.size(), 3);
    ASSERT_EQ(form->WorkingPages.count(), 4);
    EXPECT_EQ(form->WorkingPages.at(0).FileName, QStringLiteral("held.jpg"));
    const QColor colours[] = {Qt::yellow, Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(near(itemColour(form->ListView1, i), colours[i]));
        EXPECT_EQ(form->ListView1->item(i)->text(), form->WorkingPages.at(i).Bookmark);
    }
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const APageList& page = form->WorkingPages.at(i + 1);
        EXPECT_EQ(page.FileName, stored[i].imageName + QStringLiteral(".jpg"));
        EXPECT_EQ(readFile(workspace.scannerDir() + QLatin1Char('/') + page.FileName),
                  stored[i].jpeg);
        EXPECT_EQ(page.Note, stored[i].note);
        EXPECT_EQ(page.Bookmark, stored[i].bookmark);
    }
    EXPECT_EQ(form->WorkingPages.at(1).Bookmark, QStringLiteral("初診"));
    EXPECT_TRUE(form->WorkingPages.at(1).Note.startsWith(QStringLiteral("所見あり")));
    EXPECT_TRUE(form->WorkingPages.at(2).Note.isEmpty());
    EXPECT_TRUE(form->WorkingPages.at(2).Bookmark.isEmpty());
    EXPECT_TRUE(form->WorkingPages.at(3).Note.startsWith(QStringLiteral("second")));
    EXPECT_EQ(form->WorkingPages.at(3).Bookmark, QStringLiteral("検査"));

    // The first page is current and picked, on the tab "一覧".
    EXPECT_EQ(form->PageControl->currentWidget(), form->Pagekakunin);
    EXPECT_EQ(form->CurrentPage, 0);
    EXPECT_TRUE(form->PagePicked);
    EXPECT_EQ(form->ListView1->currentRow(), 0);
    EXPECT_TRUE(form->PageDeleteMenu->isEnabled());

    // The patient facts come from the row; " 女性 " chooses 女.
    const TPatientTab& tab = *form->PatientTab;
    EXPECT_EQ(tab.PName->text(), QStringLiteral("山田 花子"));
    EXPECT_EQ(tab.PKana->text(), QStringLiteral("ヤマダ ハナコ"));
    EXPECT_EQ(tab.sex(), TPatientTab::Female);
    EXPECT_EQ(tab.Pkeitai->text(), QStringLiteral("090-1111-2222"));

    // The controls that the load disabled have their states back.
    EXPECT_TRUE(form->PidBtn->isEnabled());
    EXPECT_TRUE(form->SubNoBtn->isEnabled());
    EXPECT_TRUE(form->PageControl->isEnabled());
}

TEST_F(SelectionVolumes, SelectingAVolumeTwiceAddsItsPagesOnce) {
    auto form = startWithPatient42();
    selectVolume(*form, QStringLiteral("2"));
    const QStringList once = pageFiles(*form);
    selectVolume(*form, QStringLiteral("2"));
    EXPECT_EQ(pageFiles(*form), once);
    EXPECT_EQ(form->ListView1->count(), once.size());

    // A second existing volume adds its pages after them.
    selectVolume(*form, QStringLiteral("1"));
    EXPECT_EQ(form->WorkingPages.count(), once.size() + 1);
    EXPECT_EQ(pageFiles(*form).mid(0, once.size()), once);
    EXPECT_EQ(scannerFiles().size(), once.size() + 1);
}

TEST_F(SelectionVolumes, WriteInhibitLoadsThePagesButRefusesTheSave) {
    auto form = startWithPatient42();
    form->Reg.WriteInhibit = true;
    selectVolume(*form, QStringLiteral("2"));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(form->StatusMess1->text(), QStringLiteral("カルテに上書きします。"));
    EXPECT_EQ(form->StatusMess2->text(), QStringLiteral("上書き禁止です。"));
    EXPECT_EQ(form->SaveButton->text(), QStringLiteral("不可"));
    EXPECT_FALSE(form->SaveButton->isEnabled());
    EXPECT_EQ(form->WorkingPages.count(), 4);
}

TEST_F(SelectionVolumes, AReadOnlyFileLoadsNothing) {
    ASSERT_TRUE(QFile::setPermissions(volume2, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                   QFileDevice::ReadOther));
    auto form = startWithPatient42();
    selectVolume(*form, QStringLiteral("2"));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(form->StatusMess2->text(), QStringLiteral("書き込み禁止です。"));
    EXPECT_EQ(background(form->StatusMess2), QColor(255, 0, 0));
    EXPECT_EQ(background(form->StatusMess1), QColor(0, 255, 0));
    EXPECT_EQ(form->SaveButton->text(), QStringLiteral("不可"));
    EXPECT_FALSE(form->SaveButton->isEnabled());
    EXPECT_EQ(pageFiles(*form), QStringList{"held.jpg"});
    EXPECT_EQ(scannerFiles(), QStringList{"held.jpg"});
    // The patient facts are shown all the same.
    EXPECT_EQ(form->PatientTab->PName->text(), QStringLiteral("山田 花子"));
}

TEST_F(SelectionVolumes, AMissingFileIsReportedAndLoadsNothing) {
    QFile::remove(volume2);
    auto form = startWithPatient42();
    selectVolume(*form, QStringLiteral("2"));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("DB System エラー"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Abort));
    EXPECT_EQ(errorMessages(*form), QStringList{"*** Database Entry : PDFFile Not Exist Error"});
    EXPECT_EQ(pageFiles(*form), QStringList{"held.jpg"});
    // The volume stays selected; saving reports the missing file.
    EXPECT_EQ(form->FilingState, TFilingState::Overwrite);
}

TEST_F(SelectionVolumes, APdfThatIsNotAChartPdfEndsTheSelectionWithItsMessage) {
    const QString img2pdf = QStandardPaths::findExecutable(QStringLiteral("img2pdf"));
    const struct {
        const char* name;
        std::function<void(const QString& pdf)> make;
        const char* message; // empty: the reader's own message
    } cases[] = {
        {"Author of another program",
         [](const QString& pdf) {
             patchFile(pdf, "/Author <FEFF001B656E001BFF32FF12FF0EFF10>",
                       "/Author (Microsoft Word - chart_00042.doc)");
         },
         "Pdf is Not TovaneFile"},
        {"Subject of another edition",
         [](const QString& pdf) {
             patchFile(pdf, "/Subject <FEFF001B656E001BFF2CFF29FF34FF25>",
                       "/Subject <FEFF001B656E001BFF2CFF29FF34FF26>");
         },
         "Pdf is Not TovaneFile Lite"},
        {"cut short",
         [](const QString& pdf) {
             const QByteArray bytes = readFile(pdf);
             writeFile(pdf, bytes.left(bytes.size() / 2));
         },
         ""},
        {"written by img2pdf",
         [&](const QString& pdf) {
             const QString jpeg = temp.file(QStringLiteral("other.jpg"));
             writeJpegPage(jpeg, Qt::cyan);
             QFile::remove(pdf);
             QProcess::execute(img2pdf, {jpeg, QStringLiteral("-o"), pdf});
             ASSERT_TRUE(QFile::exists(pdf));
         },
         ""},
    };
    auto form = startWithPatient42();
    int volume = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (QString::fromUtf8(c.name).contains(QStringLiteral("img2pdf")) && img2pdf.isEmpty())
            continue; // the tool is listed in tools/install-deps.sh
        const QString pdf = storeVolume(42, ++volume, {{Qt::red, QString(), QString()}});
        c.make(pdf);
        QString expected = QString::fromUtf8(c.message);
        if (expected.isEmpty()) {
            try {
                readChartPdfPages(pdf);
                FAIL() << "the reader took the file";
            } catch (const std::exception& e) {
                expected = QString::fromUtf8(e.what());
            }
        }
        dialogs.boxes.clear();
        selectVolume(*form, QString::number(volume));
        ASSERT_EQ(dialogs.boxes.size(), 1);
        EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
        EXPECT_EQ(dialogs.last().text, expected);
        EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Ok));
        EXPECT_EQ(errorMessages(*form).constLast(), QStringLiteral("*** ") + expected);
        EXPECT_EQ(form->FilingState, TFilingState::Idle);
        EXPECT_FALSE(form->SaveButton->isEnabled());
        EXPECT_TRUE(form->StatusMess1->text().isEmpty());
        EXPECT_EQ(pageFiles(*form), QStringList{"held.jpg"});
        EXPECT_EQ(scannerFiles(), QStringList{"held.jpg"});
        EXPECT_TRUE(form->PidBtn->isEnabled());
    }
}

TEST_F(SelectionVolumes, AnotherPatientKeepsThePagesButEmptiesTheFields) {
    auto form = startWithPatient42();
    selectVolume(*form, QStringLiteral("2"));
    confirmPatient(*form, QStringLiteral("77"));
    EXPECT_EQ(form->WorkingPages.count(), 4);
    EXPECT_TRUE(form->PatientTab->PName->text().isEmpty());
    EXPECT_EQ(form->PatientTab->sex(), TPatientTab::None);
    EXPECT_EQ(form->FilingState, TFilingState::New);
    EXPECT_EQ(form->StatusMess1->text(), QStringLiteral("患者番号の新規登録"));
    EXPECT_EQ(background(form->StatusMess1), QColor(255, 255, 255)); // lime before
    EXPECT_EQ(form->SaveButton->text(), QStringLiteral("保存"));
    EXPECT_TRUE(form->SaveButton->isEnabled());
}

TEST_F(SelectionVolumes, AVolumeThatFailsHalfwayIsNotOpenForOverwriting) {
    // The third page's image is damaged: the reader hands it over, but it cannot be shown.
    const QByteArray third = readChartPdfPages(volume2).at(2).jpeg;
    patchFile(volume2, third, QByteArray(third.size(), 'x'));
    auto form = startWithPatient42();
    selectVolume(*form, QStringLiteral("2"));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("ファイル形式エラー"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Ok));
    // Saving now would replace the stored volume by a part of it.
    EXPECT_EQ(form->FilingState, TFilingState::Idle);
    EXPECT_FALSE(form->SaveButton->isEnabled());
    // The pages read before the damaged one stay.
    EXPECT_EQ(form->WorkingPages.count(), 3);
    EXPECT_EQ(form->ListView1->count(), 3);
    EXPECT_TRUE(form->PidBtn->isEnabled());
}

TEST_F(SelectionVolumes, ClearPressedWhileAVolumeLoadsIsIgnored) {
    auto form = startWithPatient42();
    // Runs inside the load, when it lets window events run.
    QMetaObject::invokeMethod(form->ClearButton, "click", Qt::QueuedConnection);
    selectVolume(*form, QStringLiteral("2"));
    EXPECT_EQ(form->WorkingPages.count(), 4);
    EXPECT_EQ(form->ListView1->count(), 4);
    EXPECT_EQ(scannerFiles().size(), 4);
    EXPECT_EQ(form->FilingState, TFilingState::Overwrite);

    form->ClearButton->click();
    EXPECT_TRUE(form->WorkingPages.isEmpty());
    EXPECT_TRUE(scannerFiles().isEmpty());
}
