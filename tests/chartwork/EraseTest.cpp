// "消去" of the current volume: the question, the refusals before anything is touched, and the
// outcomes after which the chart buttons are locked, whether the erase went through or not.

#include "SaveFixture.h"
#include "index/ChartIndex.h"

#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

class EraseCase;

struct EraseRow {
    const char* name;
    // Runs with patient 42 volume 1 stored and current; `path` is its native path.
    std::function<void(EraseCase&, TMainForm&, const QString& path)> arrange;
    int answer;
    QStringList boxes; // after the question
    QString log;       // "%1" stands for the native path; empty: no line
    bool fileStays;
    bool rowStays;
    bool buttonsLocked;
    QStringList activity; // "%1" stands for the native path
};

class EraseCase : public SaveFixture, public ::testing::WithParamInterface<EraseRow> {
public:
    using SaveFixture::execIndex;
    void trashElsewhere() {
        // A regular file where the trash folder's parent should be: no trash can be made.
        writeFile(temp.file(QStringLiteral("notrash")), "x");
        qputenv("XDG_DATA_HOME", temp.file(QStringLiteral("notrash")).toLocal8Bit());
    }
};

TEST_P(EraseCase, EndsAsExpected) {
    const EraseRow& row = GetParam();
    const QString path = cleanPath(storeVolume(42, 1, {{Qt::green, QString(), QString()}}));
    auto form = startSaveForm();
    // The state a save leaves behind: the volume current, "印刷" and "消去" enabled.
    form->PatientNo = 42;
    form->VolumeNo = 1;
    form->PrintBtn->setEnabled(true);
    form->EraseBtn->setEnabled(true);
    form->SubNoBtn->setEnabled(true);
    row.arrange(*this, *form, path);

    dialogs.answers.push_back(row.answer);
    form->EraseBtn->click();

    QStringList boxes = dialogs.texts();
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_EQ(boxes.takeFirst(), QStringLiteral("このファイルを消去しますか?\n患者番号 42 連番 ") +
                                     QString::number(form->VolumeNo));
    EXPECT_EQ(boxes, row.boxes);
    if (!row.boxes.isEmpty()) {
        EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
        EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Abort));
    }
    EXPECT_EQ(errorMessages(*form),
              row.log.isEmpty()
                  ? QStringList()
                  : QStringList{QString(row.log).replace(QStringLiteral("%1"), path)});
    EXPECT_EQ(QFile::exists(path), row.fileStays);
    ChartIndex index;
    index.open(workspace.indexFile());
    EXPECT_EQ(!index.volumeRows(42, 1).empty(), row.rowStays);
    for (QPushButton* button : {form->SubNoBtn, form->PrintBtn, form->EraseBtn})
        EXPECT_EQ(button->isEnabled(), !row.buttonsLocked) << button->text().toStdString();
    EXPECT_FALSE(form->SaveButton->isEnabled());
    QStringList activity;
    for (const QString& line : row.activity)
        activity << QString(line).replace(QStringLiteral("%1"), path);
    EXPECT_EQ(activityLines(*form), activity);
}

const EraseRow rows[] = {
    {"AnsweredNo",
     [](EraseCase&, TMainForm&, const QString&) {},
     Dialogs::No,
     {},
     {},
     true,
     true,
     false,
     {}},
    {"WriteInhibitOn",
     [](EraseCase&, TMainForm& form, const QString&) { form.Reg.WriteInhibit = true; },
     Dialogs::Yes,
     {"書込禁止設定です。\nFileの削除に失敗しました。"},
     "*** File Erase Error : 消去",
     true,
     true,
     true,
     {}},
    {"IndexUnreachable",
     [](EraseCase&, TMainForm& form, const QString&) { form.Index.close(); },
     Dialogs::Yes,
     {"DB System エラー"},
     "*** Database Error : 消去",
     true,
     true,
     false,
     {}},
    {"NoRow",
     [](EraseCase&, TMainForm& form, const QString&) { form.VolumeNo = 5; },
     Dialogs::Yes,
     {"DB System (2) エラー"},
     "*** File Path Error : 消去",
     true,
     true,
     false,
     {}},
    {"FileMovedAway",
     [](EraseCase&, TMainForm&, const QString& path) {
         QFile::rename(path, path + QStringLiteral(".moved"));
     },
     Dialogs::Yes,
     {"File unmatched エラー"},
     "*** File is not Exist Error : 消去%1",
     false,
     true,
     false,
     {}},
    {"TrashUnusable",
     [](EraseCase& f, TMainForm&, const QString&) { f.trashElsewhere(); },
     Dialogs::Yes,
     {"Fileの削除に失敗しました。"},
     "*** File Delete Error : 消去",
     true,
     true,
     true,
     {}},
    {"RowDeleteFails",
     [](EraseCase& f, TMainForm&, const QString&) {
         f.execIndex("create trigger refuse before delete on PDF_PATH begin "
                     "select raise(abort, 'x'); end");
     },
     Dialogs::Yes,
     {"DataBaseの削除に失敗しました。"},
     "*** DB Delete Error : 消去%1",
     false,
     true,
     true,
     {"2026/12/11 9:03:07 %1 : Pdf消去(Erase)"}},
    {"Complete",
     [](EraseCase&, TMainForm&, const QString&) {},
     Dialogs::Yes,
     {},
     {},
     false,
     false,
     true,
     {"2026/12/11 9:03:07 %1 : Pdf消去(Erase)", "%1を消去しました。"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, EraseCase, ::testing::ValuesIn(rows),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
