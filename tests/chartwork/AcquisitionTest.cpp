// "取込", "画像ファイル読込み" and the busy state on the real main window, offscreen.

#include "MainFormFixture.h"
#include "PageListTestFiles.h"
#include "chartwork/ErrorLogForm.h"
#include "chartwork/MainForm.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Acquisition : public MainFormFixture {
protected:
    QString scanner(const QString& name) const { return workspace.scannerDir() + "/" + name; }

    static QStringList fileNames(const TMainForm& form) {
        QStringList names;
        for (const APageList& page : form.WorkingPages)
            names << page.FileName;
        return names;
    }

    static void read(TMainForm& form) { QTest::mouseClick(form.ScannerRead, Qt::LeftButton); }

    void writeThreeFiles() {
        writeJpegPage(scanner("b.jpg"), Qt::green);
        writeJpegPage(scanner("a.JPG"), Qt::red);
        writePngPage(scanner("c.png"), Qt::blue);
    }
};

TEST_F(Acquisition, ReadTakesTheEnabledTypesInNameOrderOrReversed) {
    const struct {
        int sequence;
        bool png;
        QStringList order;
    } cases[] = {
        {0, true, {"a.JPG", "b.jpg", "c.png"}},
        {1, true, {"c.png", "b.jpg", "a.JPG"}},
        {0, false, {"a.JPG", "b.jpg"}},
    };
    for (const auto& c : cases) {
        auto form = startForm();
        writeThreeFiles();
        form->Reg.Sequence = c.sequence;
        form->Reg.PngType = c.png;
        form->PageControl->setCurrentIndex(1);
        read(*form);
        EXPECT_EQ(fileNames(*form), c.order);
        EXPECT_EQ(form->ListView1->count(), c.order.size());
        EXPECT_EQ(form->PageControl->currentWidget(), form->Pagekakunin);
        EXPECT_EQ(form->CurrentPage, 0);
        EXPECT_TRUE(form->ListView1->item(0)->isSelected());
        EXPECT_EQ(form->StatusText(0), QString::number(c.order.size()));
        EXPECT_EQ(form->StatusText(1), QStringLiteral("患者番号を入力してください。"));
        EXPECT_TRUE(form->PageDeleteMenu->isEnabled());
        EXPECT_FALSE(form->SaveButton->isEnabled());
        EXPECT_FALSE(form->NumberConfirmed);
        EXPECT_TRUE(dialogs.boxes.isEmpty());
        const QColor first = c.order.first().startsWith('a') ? QColor(Qt::red) : QColor(Qt::blue);
        EXPECT_TRUE(near(itemColour(form->ListView1, 0), first));
        form.reset();
        for (const QString& name : QDir(workspace.scannerDir()).entryList(QDir::Files))
            QFile::remove(scanner(name));
    }
}

TEST_F(Acquisition, ReadingAgainAppendsOnlyNewFiles) {
    auto form = startForm();
    writeThreeFiles();
    read(*form);
    const QStringList first = fileNames(*form);
    read(*form);
    EXPECT_EQ(fileNames(*form), first);
    EXPECT_EQ(form->ListView1->count(), 3);
    EXPECT_EQ(form->StatusText(1), QStringLiteral("患者番号を入力してください。"));

    // A new file lands at the end whatever its name; a deleted page comes back at the end.
    writeJpegPage(scanner("0.jpg"), Qt::yellow);
    form->CurrentPage = 0;
    form->PageDeleteClick();
    read(*form);
    EXPECT_EQ(fileNames(*form), QStringList({"b.jpg", "c.png", "0.jpg", "a.JPG"}));
}

TEST_F(Acquisition, AnUnreadableFileStopsTheReadAndKeepsThePagesBefore) {
    auto form = startForm();
    writeJpegPage(scanner("a.jpg"), Qt::red);
    writeFile(scanner("b.jpg"), "this is no image");
    writeJpegPage(scanner("c.jpg"), Qt::blue);
    read(*form);
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("ファイル形式エラー"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Abort));
    EXPECT_TRUE(form->errorLog()->Lines().last().endsWith(QStringLiteral("** Scanner Read Error")));
    EXPECT_EQ(fileNames(*form), QStringList({"a.jpg"}));
    EXPECT_EQ(form->ListView1->count(), 1);
    EXPECT_EQ(form->StatusText(1), QStringLiteral("患者番号を入力してください。"));
    EXPECT_TRUE(form->ScannerRead->isEnabled()) << "the busy state is over";
}

TEST_F(Acquisition, AReadThatCannotStartSaysWhy) {
    const struct {
        const char* what;
        std::function<void(TMainForm&, const Workspace&)> arrange;
        QString status;
    } cases[] = {
        {"no Scanner folder",
         [](TMainForm&, const Workspace& ws) { QDir(ws.scannerDir()).removeRecursively(); },
         QStringLiteral("指定のフォルダーがありません。")},
        {"every type off",
         [](TMainForm& f, const Workspace&) {
             f.Reg.JpegType = f.Reg.TiffType = f.Reg.BitmapType = f.Reg.PngType = false;
         },
         QStringLiteral("ファイル形式が指定されていません。")},
        {"no matching file",
         [](TMainForm&, const Workspace& ws) { writeFile(ws.scannerDir() + "/x.txt", "x"); },
         QStringLiteral("読込みファイルが指定されていません。")},
    };
    for (const auto& c : cases) {
        auto form = startForm();
        c.arrange(*form, workspace);
        read(*form);
        EXPECT_EQ(form->StatusText(1), c.status) << c.what;
        EXPECT_EQ(form->ListView1->count(), 0);
        EXPECT_EQ(form->CurrentPage, -1);
        form.reset();
        QDir().mkpath(workspace.scannerDir());
    }
}

TEST_F(Acquisition, BusyStateDisablesTheControlsAndGivesTheirStatesBack) {
    auto form = startForm();
    form->SearchBtn->setEnabled(true);
    form->SaveButton->setEnabled(false);
    form->VacuumMenu->setEnabled(true);
    form->MenteMenu->setEnabled(false);
    const QList<QWidget*> widgets = {
        form->PageControl, form->SaveButton, form->ScannerRead, form->PidBtn, form->SubNoBtn,
        form->SearchBtn,   form->PrintBtn,   form->EraseBtn,    form->IdEdit, form->VolNoEdit};
    QList<bool> before;
    for (QWidget* w : widgets)
        before << w->isEnabled();

    form->SetBusy(true);
    form->SetBusy(true); // a long operation inside another
    for (QWidget* w : widgets)
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QAction* a : {form->VacuumMenu, form->MenteMenu, form->UtilMenu->menuAction(),
                       qobject_cast<QMenu*>(form->ImageFileReadMenu->parent())->menuAction(),
                       qobject_cast<QMenu*>(form->PageDeleteMenu->parent())->menuAction(),
                       qobject_cast<QMenu*>(form->PageRedrawMenu->parent())->menuAction(),
                       qobject_cast<QMenu*>(form->ReadSetMenu->parent())->menuAction()})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    form->SetBusy(false);
    EXPECT_FALSE(form->ScannerRead->isEnabled()) << "the outer operation still runs";
    form->SetBusy(false);
    for (int i = 0; i < widgets.size(); ++i)
        EXPECT_EQ(widgets[i]->isEnabled(), before[i]) << widgets[i]->objectName().toStdString();
    EXPECT_TRUE(form->VacuumMenu->isEnabled());
    EXPECT_TRUE(form->MenteMenu->isEnabled()) << "メンテナンス follows Vacuum";
}

TEST_F(Acquisition, ImageFilesAreCopiedInReplacingAndThenRead) {
    auto form = startForm();
    const QString in = temp.file("incoming");
    writeJpegPage(in + "/page1.jpg", Qt::red);
    writeJpegPage(in + "/page2.tif.jpg", Qt::green);
    writePngPage(in + "/page3.png", Qt::blue);
    QFile::setPermissions(in + "/page1.jpg", QFileDevice::ReadOwner);
    writeFile(scanner("page1.jpg"), "an older page1");
    form->Reg.PngType = false;

    dialogs.fileAnswers.push_back({in + "/page1.jpg", in + "/page2.tif.jpg", in + "/page3.png"});
    form->ImageFileReadMenu->trigger();
    EXPECT_EQ(form->Reg.FileOpenDir, in);
    EXPECT_EQ(readFile(scanner("page1.jpg")), readFile(in + "/page1.jpg"));
    EXPECT_TRUE(QFileInfo(scanner("page1.jpg")).isWritable());
    EXPECT_TRUE(QFile::exists(scanner("page3.png"))) << "copied, though PNG is off";
    EXPECT_EQ(fileNames(*form), QStringList({"page1.jpg", "page2.tif.jpg"}));
    EXPECT_EQ(form->StatusText(1), QStringLiteral("患者番号を入力してください。"));

    dialogs.fileAnswers.push_back({});
    form->ImageFileReadMenu->trigger();
    EXPECT_EQ(form->StatusText(1),
              QStringLiteral("読み込みファイルの指定はキャンセルされました。"));
}

TEST_F(Acquisition, AFailedCopyStopsCopyingAndIsStillShownAfterTheRead) {
    auto form = startForm();
    const QString in = temp.file("incoming");
    writeJpegPage(in + "/a.jpg", Qt::red);
    writeJpegPage(in + "/c.jpg", Qt::blue);
    dialogs.fileAnswers.push_back({in + "/a.jpg", in + "/gone.jpg", in + "/c.jpg"});
    form->ImageFileReadMenu->trigger();
    EXPECT_TRUE(QFile::exists(scanner("a.jpg")));
    EXPECT_FALSE(QFile::exists(scanner("c.jpg"))) << "the files after the failure are not copied";
    EXPECT_EQ(fileNames(*form), QStringList({"a.jpg"})) << "the folder is read anyway";
    EXPECT_EQ(form->StatusText(1), QStringLiteral("画像ファイルの読込みに失敗しました。"));
}

} // namespace
