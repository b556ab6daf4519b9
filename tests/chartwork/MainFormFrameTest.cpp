// The main window's frame driven for real, offscreen: start-up stops, first showing, close
// request, closing, keys, help and the error log.

#include "MainFormFixture.h"
#include "chartwork/ErrorLogForm.h"
#include "chartwork/MainForm.h"
#include "chartwork/ToolCursors.h"
#include "core/Cp932.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using FrameTest = MainFormFixture;

TEST_F(FrameTest, MissingIndexFileStopsStartUpAndWritesNothing) {
    QFile::remove(workspace.indexFile());
    TMainForm form(workspace);
    EXPECT_FALSE(form.FormCreate());
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("Database を準備できませんでした。\nシステムを終了します。"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Yes));
    EXPECT_FALSE(QFile::exists(settingsFile()));
    EXPECT_FALSE(QDir(workspace.importDir()).exists());
}

TEST_F(FrameTest, AFolderThatCannotBeMadeStopsStartUpWithItsName) {
    writeFile(workspace.exportDir(), "a file where the folder should be");
    TMainForm form(workspace);
    EXPECT_FALSE(form.FormCreate());
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("Export フォルダーを準備できませんでした。\nシステムを終了します。"));
    EXPECT_TRUE(QDir(workspace.importDir()).exists());
    EXPECT_FALSE(QFile::exists(settingsFile()));
}

TEST_F(FrameTest, StartUpCreatesMissingFoldersAndShowsTheFirstStatus) {
    auto form = startForm();
    for (const QString& dir :
         {workspace.importDir(), workspace.logDir(), workspace.exportDir(), workspace.paperDir()})
        EXPECT_TRUE(QDir(dir).exists()) << dir.toStdString();
    EXPECT_EQ(form->StatusText(1), QStringLiteral("スキャナーから読み込みしてください。"));
    EXPECT_TRUE(form->IdEdit->text().isEmpty());
    EXPECT_EQ(form->IdEdit->height(), 25);
    EXPECT_FALSE(form->SaveButton->isEnabled());
    EXPECT_FALSE(form->TwainReadMenu->isEnabled());
    EXPECT_EQ(form->DotSizeBox->currentText(), QStringLiteral("標準"));
    EXPECT_EQ(QDir(workspace.logDir()).entryList({"Log*.txt"}, QDir::Files).size(), 1);
    EXPECT_TRUE(dialogs.boxes.isEmpty());
}

TEST_F(FrameTest, CloseWithAnUnsavedChartAsksAndNoKeepsTheWindow) {
    auto form = startForm();
    form->SaveButton->setEnabled(true);
    dialogs.answers.push_back(Dialogs::No);
    form->CloseButton->click();
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Confirmation);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("カルテが保存されていません。\n終了しますか？"));
    EXPECT_EQ(dialogs.last().buttons, Dialogs::Yes | Dialogs::No);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(QFile::exists(settingsFile()));

    dialogs.answers.push_back(Dialogs::Yes);
    form->CloseButton->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(QFile::exists(settingsFile()));
}

TEST_F(FrameTest, NormalCloseWritesEverySettingInOrderAndBothLists) {
    writeFile(workspace.shioriFile(), toCp932(QStringLiteral("初診\r\n再診\r\n")));
    auto form = startForm();
    form->close();

    const QString settings = fromCp932(readFile(settingsFile()));
    const QStringList order = {
        "FileOpenDir",  "JpegType",      "TiffType",     "BitmapType", "PngType",   "Sequence",
        "ImSize",       "OrcaOnline",    "Target",       "L1Front",    "L4Back",    "HPCode",
        "HPName",       "KaCode",        "WriteInhibit", "WriteDate",  "Stretch",   "Quality",
        "PdfPageWidth", "PdfPageHeight", "ImportFilter", "KeyWordUse", "ShowImage", "DBRegist",
        "SendName1",    "SendName8",     "PrnUse1",      "Printer1",   "DirUse1",   "Folder1",
        "Folder8"};
    qsizetype last = -1;
    for (const QString& name : order) {
        const qsizetype at = settings.indexOf(QLatin1Char('"') + name + QStringLiteral("\"="));
        EXPECT_GT(at, last) << name.toStdString();
        last = at;
    }
    EXPECT_TRUE(settings.contains(QStringLiteral("\"Quality\"=dword:00000050")));
    EXPECT_EQ(readFile(workspace.commentFile()), QByteArray());
    EXPECT_EQ(fromCp932(readFile(workspace.shioriFile())), QStringLiteral("初診\r\n再診\r\n"));
}

TEST_F(FrameTest, SettingsWithoutDBRegistLoadAllDefaults) {
    writeSettings("\"Target\"=\"/charts/\"\r\n\"Quality\"=dword:0000005a\r\n");
    auto form = startForm();
    EXPECT_EQ(form->Reg.Quality, 80);
    EXPECT_NE(form->Reg.Target, QStringLiteral("/charts/"));
}

TEST_F(FrameTest, F2OpensTheMainMenuAtTheWindowCornerWhateverHasTheFocus) {
    auto form = startForm();
    form->IdEdit->setFocus();
    QTest::keyRelease(form->IdEdit, Qt::Key_F2);
    ASSERT_TRUE(form->PopMainMenu->isVisible());
    EXPECT_EQ(form->PopMainMenu->pos(), form->frameGeometry().topLeft() + QPoint(8, 31));
    form->PopMainMenu->hide();

    QTest::mouseRelease(form->MenuPanel, Qt::LeftButton, {}, QPoint(20, 2));
    ASSERT_TRUE(form->PopMainMenu->isVisible());
    EXPECT_EQ(form->PopMainMenu->pos(), form->frameGeometry().topLeft() + QPoint(20 + 9, 32));
    form->PopMainMenu->hide();
}

TEST_F(FrameTest, HelpOpensTheHelpFileOrTheSupportPage) {
    auto form = startForm();
    QTest::keyRelease(form->IdEdit, Qt::Key_F1);
    EXPECT_EQ(dialogs.urlsOpened, QStringList{QString::fromLatin1(TMainForm::SupportUrl)});
    EXPECT_TRUE(dialogs.shellOpened.isEmpty());

    writeFile(workspace.helpFile(), "help");
    dialogs.shellResult = 2;
    form->TopicsMenu->trigger();
    EXPECT_EQ(dialogs.shellOpened, QStringList{workspace.helpFile()});
    EXPECT_EQ(form->StatusText(1), QStringLiteral("The specified file was not found."));

    dialogs.shellResult = 42;
    form->TopicsMenu->trigger();
    EXPECT_TRUE(form->StatusText(1).isEmpty());

    form->LatestMenu->trigger();
    EXPECT_EQ(dialogs.urlsOpened.last(), QString::fromLatin1(TMainForm::LatestUrl));
}

TEST_F(FrameTest, ErrorLogLinesClearAndSave) {
    auto form = startForm();
    form->AddError(QStringLiteral("** Scanner Read Error"));
    const QStringList lines = form->errorLog()->Lines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral(R"(^\d{4}/\d{2}/\d{2} \d{1,2}:\d{2}:\d{2}: \*\* Scanner Read Error$)"))
            .match(lines[0])
            .hasMatch())
        << lines[0].toStdString();

    const QString saved = temp.file(QStringLiteral("saved.txt"));
    dialogs.fileAnswers.push_back({saved});
    form->errorLog()->SaveMenu->trigger();
    EXPECT_EQ(readFile(saved), toCp932(lines[0] + QStringLiteral("\r\n")));

    form->ErrorClearMenu->trigger();
    form->ErrorShowMenu->trigger();
    EXPECT_EQ(dialogs.dialogsRun.last(), form->errorLog());
    EXPECT_TRUE(form->errorLog()->ErrorLogMemo->toPlainText().isEmpty());
    dialogs.fileAnswers.push_back({saved});
    form->errorLog()->SaveMenu->trigger();
    EXPECT_EQ(readFile(saved), QByteArray());
}

TEST_F(FrameTest, ToolCursorsAreRegisteredUnderTheirNumbers) {
    auto form = startForm();
    const QStringList names = {"PENCS",  "ERASECS", "LINECS", "CIRCLECS",
                               "RECTCS", "SPOITCS", "TITLECS"};
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(toolCursorName(100 + i), names[i]);
        EXPECT_FALSE(toolCursor(100 + i).pixmap().isNull()) << names[i].toStdString();
    }
}

TEST_F(FrameTest, AnIndexThatCannotBeConnectedClosesTheWindowByTheNormalPath) {
    writeFile(workspace.indexFile(), "this is not an SQLite database, it only has the name");
    TMainForm form(workspace);
    ASSERT_TRUE(form.FormCreate());
    form.show();
    QTest::qWait(10); // the close is queued behind the first showing
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("データベースへの接続をキャンセルします。\nシステムを終了します。"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Yes));
    ASSERT_EQ(form.errorLog()->Lines().size(), 1);
    EXPECT_TRUE(
        form.errorLog()->Lines()[0].endsWith(QStringLiteral(": *** DataBase Connect Error")));
    // The normal close wrote the settings and the lists back.
    EXPECT_TRUE(QFile::exists(settingsFile()));
    EXPECT_TRUE(QFile::exists(workspace.commentFile()));
    EXPECT_FALSE(form.Index.isOpen());
}

TEST_F(FrameTest, UtilityItemsFollowTheIndexConnection) {
    auto form = startForm();
    emit form->UtilMenu->aboutToShow();
    EXPECT_TRUE(form->VacuumMenu->isEnabled());
    EXPECT_TRUE(form->ExistMenu->isEnabled());
    form->Index.close();
    emit form->UtilMenu->aboutToShow();
    for (QAction* item : {form->VacuumMenu, form->MenteMenu, form->DBRegChkMenu, form->ExistMenu})
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
}
