// Saves that fail: each shows its one box, error log line and status text, keeps the working
// pages, and never loses or half-writes a chart file; the folder failure shows only its own
// warning dialog.

#include "PageListTestFiles.h"
#include "SaveFixture.h"
#include "chartwork/NotMakeFolderDialog.h"
#include "chartwork/PatientTab.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

class SaveFailure;

struct SaveFailureCase {
    const char* name;
    // Runs after the volume is ready to be saved; `path` is its native path.
    std::function<void(SaveFailure&, TMainForm&, const QString& path)> arrange;
    QString box;
    QString log; // "%1" stands for the native path
    QString status;
    bool done; // "印刷" and "消去" enabled, "保存" disabled afterwards
};

class SaveFailure : public SaveFixture, public ::testing::WithParamInterface<SaveFailureCase> {
public:
    using SaveFixture::execIndex;
    QString scannerFile(const QString& name) const {
        return workspace.scannerDir() + QLatin1Char('/') + name;
    }
};

class SaveFlow : public SaveFixture {};

// Clicks "保存" under a file-size limit, so that writing a file beyond `bytes` fails as on a
// full disk.
void clickWithFileSizeLimit(QPushButton* button, rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    button->click();
    setrlimit(RLIMIT_FSIZE, &old);
}

void expectFailure(const ScriptedDialogs& dialogs, TMainForm& form, const SaveFailureCase& c,
                   const QString& path) {
    ASSERT_EQ(dialogs.texts(), QStringList{c.box});
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Ok));
    EXPECT_EQ(errorMessages(form), QStringList{QString(c.log).replace(QStringLiteral("%1"), path)});
    EXPECT_EQ(form.StatusText(1), c.status);
    EXPECT_EQ(form.SaveButton->isEnabled(), !c.done);
    EXPECT_EQ(form.PrintBtn->isEnabled(), c.done);
    EXPECT_EQ(form.EraseBtn->isEnabled(), c.done);
    EXPECT_EQ(form.LastPatientNo, 0);
    EXPECT_FALSE(form.WorkingPages.isEmpty()) << "the pages are kept";
}

class NewSaveFailure : public SaveFailure {};

TEST_P(NewSaveFailure, ShowsItsMessageAndKeepsThePages) {
    const SaveFailureCase& c = GetParam();
    auto form = startSaveForm();
    holdPage(*form, QStringLiteral("p1.jpg"), Qt::red);
    confirmPatient(*form, QStringLiteral("7"));
    ASSERT_EQ(form->FilingState, TFilingState::New);
    const QString path = savedPath(7, 0);
    c.arrange(*this, *form, path);
    const QByteArray before = QFile::exists(path) ? readFile(path) : QByteArray();

    form->SaveButton->click();
    expectFailure(dialogs, *form, c, path);
    EXPECT_TRUE(rawRows(7, 0).isEmpty());
    if (!before.isEmpty()) {
        EXPECT_EQ(readFile(path), before) << "the file that was there is untouched";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewSaveFailure,
    ::testing::Values(
        SaveFailureCase{"FileWithoutRow",
                        [](SaveFailure&, TMainForm&, const QString& path) {
                            QDir().mkpath(QFileInfo(path).path());
                            writeFile(path, "an earlier file without its row");
                        },
                        "システムエラーです。\n管理者へ連絡して下さい。",
                        "*** %1 System:File is not registed in Database but Existed ,so "
                        "OverWrite raising)",
                        "書き込みに失敗しました。", true},
        SaveFailureCase{"NoPageImageLeft",
                        [](SaveFailure& f, TMainForm&, const QString&) {
                            QFile::remove(f.scannerFile(QStringLiteral("p1.jpg")));
                        },
                        "PDFを作成できませんでした。", "*** %1 Create Error",
                        "作成に失敗しました。", true},
        SaveFailureCase{"IndexInsertFails",
                        [](SaveFailure& f, TMainForm&, const QString&) {
                            f.execIndex("create trigger refuse before insert on PDF_PATH begin "
                                        "select raise(abort, 'refused'); end");
                        },
                        "データベースエラー\n書き込みに失敗しました。",
                        "*** DataBase Write Error : New",
                        "データベースへの書き込みに失敗しました。", true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SaveFlow, AnIndexFailureAfterTheWriteLeavesTheFileAndTheStateIdle) {
    auto form = startSaveForm();
    holdPage(*form, QStringLiteral("p1.jpg"), Qt::red);
    confirmPatient(*form, QStringLiteral("8"));
    execIndex("create trigger refuse before insert on PDF_PATH begin select raise(abort, 'x'); "
              "end");
    form->SaveButton->click();
    const QString path = savedPath(8, 0);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(form->FilingState, TFilingState::Idle);
    EXPECT_EQ(activityLines(*form), QStringList{"2026/12/11 9:03:07 " + path + " : Pdf作成(New)"});

    // Saving it again as new meets that file and stops with the system error.
    execIndex("drop trigger refuse");
    confirmPatient(*form, QStringLiteral("8"));
    dialogs.boxes.clear();
    form->SaveButton->click();
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("システムエラーです。\n管理者へ連絡して下さい。")});
    EXPECT_TRUE(rawRows(8, 0).isEmpty());
}

TEST_F(SaveFlow, AChartFolderThatCannotBeMadeShowsOnlyTheFolderWarning) {
    auto form = startSaveForm();
    // A regular file where the chart base folder should be: no folder can be made below it.
    writeFile(temp.file(QStringLiteral("blocked")), "not a folder");
    form->Reg.Target = temp.file(QStringLiteral("blocked")) + QLatin1Char('/');
    holdPage(*form, QStringLiteral("p1.jpg"), Qt::red);
    confirmPatient(*form, QStringLiteral("9"));

    QString caption, folder, lines, button;
    dialogs.dialogHandlers.push_back([&](QDialog* dialog) {
        auto* box = qobject_cast<TNotMakeFolder*>(dialog);
        if (!box)
            return int(QDialog::Rejected);
        caption = box->windowTitle();
        EXPECT_FALSE(box->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                                           Qt::WindowSystemMenuHint));
        folder = box->FolderLabel->text();
        lines = box->MessageLabel->text();
        button = box->OkButton->text();
        box->OkButton->click();
        return box->result();
    });
    form->SaveButton->click();

    EXPECT_TRUE(dialogs.boxes.isEmpty()) << dialogs.texts().join(" | ").toStdString();
    EXPECT_EQ(caption, QStringLiteral("警告"));
    EXPECT_EQ(folder, toNativePath(form->Reg.Target + patientFolder(9)).replace("//", "/"));
    EXPECT_EQ(lines,
              QStringLiteral("ファイルまたはフォルダーを作成できません。　\n"
                             "Diskの容量不足または書き込み不可のデバイスの可能性があります。\n"
                             "又は、使用中の可能性があります。"));
    EXPECT_EQ(button, QStringLiteral("了解"));
    EXPECT_TRUE(errorMessages(*form).isEmpty());
    EXPECT_EQ(form->FilingState, TFilingState::New);
    EXPECT_EQ(form->WorkingPages.count(), 1);
}

TEST_F(SaveFlow, KeyWordUseWithAnEmptyNameRefusesTheSave) {
    auto form = startSaveForm();
    form->Reg.KeyWordUse = true;
    holdPage(*form, QStringLiteral("p1.jpg"), Qt::red);
    confirmPatient(*form, QStringLiteral("10"));
    form->PatientTab->PKana->setText(QStringLiteral("カナ"));
    form->SaveButton->click();

    ASSERT_EQ(dialogs.texts(),
              QStringList{QStringLiteral(
                  "データエラー\n修正してください。\n修正項目は、画面の下に表示しています。")});
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Warning);
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Ok));
    EXPECT_EQ(form->StatusText(0), QStringLiteral("患者基本情報"));
    EXPECT_EQ(form->StatusText(1), QStringLiteral("患者氏名エラー"));
    EXPECT_EQ(errorMessages(*form), QStringList{QStringLiteral("* Input Data Error")});
    EXPECT_FALSE(QFile::exists(savedPath(10, 0)));
    EXPECT_TRUE(rawRows(10, 0).isEmpty());
    EXPECT_EQ(form->FilingState, TFilingState::New);
    EXPECT_TRUE(form->SaveButton->isEnabled());
    EXPECT_EQ(form->LastPatientNo, 10);
}

class OverwriteFailure : public SaveFailure {};

TEST_P(OverwriteFailure, KeepsThePreviousFileByteForByte) {
    const SaveFailureCase& c = GetParam();
    const QString path =
        cleanPath(storeVolume(42, 1, {{Qt::green, QString(), QStringLiteral("初診")}}));
    const QByteArray before = readFile(path);
    auto form = startSaveForm();
    confirmPatient(*form, QStringLiteral("42"));
    selectVolume(*form, QStringLiteral("1"));
    ASSERT_EQ(form->FilingState, TFilingState::Overwrite);
    ASSERT_TRUE(dialogs.boxes.isEmpty()) << dialogs.texts().join(" | ").toStdString();
    holdPage(*form, QStringLiteral("extra.jpg"), Qt::red);
    c.arrange(*this, *form, path);

    if (QString(c.name) == QLatin1String("WriteFails"))
        clickWithFileSizeLimit(form->SaveButton, 2048);
    else
        form->SaveButton->click();
    expectFailure(dialogs, *form, c, path);
    if (QFile::exists(path)) {
        EXPECT_EQ(readFile(path), before);
    }
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size(),
              QFile::exists(path) ? 1 : 0);
    EXPECT_EQ(rawRows(42, 1).value(0).value("TOVANEDATE"), QByteArray("2011/05/06 9:03:07"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OverwriteFailure,
    ::testing::Values(
        SaveFailureCase{"FileMissing",
                        [](SaveFailure&, TMainForm&, const QString& path) { QFile::remove(path); },
                        "元のPDF Fileが見つかりません。", "*** %1 System:File is not existing",
                        "探索に失敗しました。", true},
        SaveFailureCase{"FileReadOnly",
                        [](SaveFailure&, TMainForm&, const QString& path) {
                            QFile::setPermissions(path,
                                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup);
                        },
                        "書き込みエラーです。\n媒体を確認してください。",
                        "*** %1 System:File is not inhibit", "更新に失敗しました。", true},
        SaveFailureCase{"WriteFails", [](SaveFailure&, TMainForm&, const QString&) {},
                        "PDFを作成できませんでした。", "*** %1 Create Error",
                        "作成に失敗しました。", true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SaveFlow, AnIndexFailureOfAnOverwriteIsNotDone) {
    const struct {
        const char* name;
        const char* sql;
    } cases[] = {
        {"update refused",
         "create trigger refuse before update on PDF_PATH begin select raise(abort, 'x'); end"},
        {"row deleted since the selection", "delete from PDF_PATH"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeVolume(42, 1, {{Qt::green, QString(), QString()}});
        auto form = startSaveForm();
        confirmPatient(*form, QStringLiteral("42"));
        selectVolume(*form, QStringLiteral("1"));
        ASSERT_EQ(form->FilingState, TFilingState::Overwrite);
        dialogs.boxes.clear();
        execIndex(c.sql);
        form->SaveButton->click();
        EXPECT_EQ(dialogs.texts(),
                  QStringList{QStringLiteral("データベースエラー\n書き込みに失敗しました。")});
        EXPECT_EQ(errorMessages(*form),
                  QStringList{QStringLiteral("*** DataBase Write Error : Add")});
        EXPECT_EQ(form->FilingState, TFilingState::Idle);
        EXPECT_TRUE(form->SaveButton->isEnabled());
        EXPECT_FALSE(form->PrintBtn->isEnabled());
        EXPECT_FALSE(form->EraseBtn->isEnabled());
        EXPECT_NE(rawRows(42, 1).value(0).value("TOVANEDATE"), QByteArray("2026/12/11 9:03:07"));
        form.reset();
        execIndex("drop trigger if exists refuse; delete from PDF_PATH");
    }
}

} // namespace
