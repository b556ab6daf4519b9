// The page list on the real main window, offscreen: moving, deleting, captions, rebuilding
// at another thumbnail size, stored pages.

#include "MainFormFixture.h"
#include "PageListTestFiles.h"
#include "chartwork/MainForm.h"
#include "core/Cp932.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor pageColours[] = {QColor(200, 30, 30), QColor(30, 160, 30), QColor(30, 30, 200),
                              QColor(220, 200, 20)};

class PageListWindow : public MainFormFixture {
protected:
    // Shows the window with pages A, B, C, ... (one colour each, bookmark = letter).
    std::unique_ptr<TMainForm> formWithPages(int count) {
        auto form = startForm();
        form->resize(1100, 800);
        for (int i = 0; i < count; ++i) {
            const QString letter(QChar('A' + i));
            writeJpegPage(workspace.scannerDir() + "/" + letter + ".jpg", pageColours[i]);
            form->AddPage(letter + ".jpg", QString(), letter);
        }
        QCoreApplication::processEvents();
        return form;
    }

    static QPoint centreOf(TMainForm& form, int row) {
        return form.ListView1->visualItemRect(form.ListView1->item(row)).center();
    }

    // The bookmarks in list order, checking on the way that every item shows its own page:
    // its caption and thumbnail are those of the record at its row.
    static QString shownOrder(TMainForm& form) {
        EXPECT_EQ(form.ListView1->count(), form.WorkingPages.count());
        QString out;
        for (int row = 0; row < form.WorkingPages.count(); ++row) {
            const APageList& page = form.WorkingPages.at(row);
            EXPECT_EQ(form.ListView1->item(row)->text(), page.Bookmark) << row;
            const int index = page.Bookmark.at(0).unicode() - 'A';
            EXPECT_TRUE(near(itemColour(form.ListView1, row), pageColours[index])) << row;
            out += page.Bookmark;
        }
        return out;
    }

    static void click(TMainForm& form, int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(form.ListView1->viewport(), Qt::LeftButton, modifiers,
                          centreOf(form, row));
    }

    static void drag(TMainForm& form, int source, int target) {
        // The list view's own drag loop cannot run offscreen; the handlers get what it would
        // hand them: the drag entering over the source item, then the drop point.
        form.ListView1StartDrag();
        ASSERT_TRUE(form.ListView1DragOver(form.ListView1, centreOf(form, source)));
        const QPoint drop = target >= 0
                                ? centreOf(form, target)
                                : form.ListView1->viewport()->rect().bottomRight() - QPoint(3, 3);
        form.ListView1DragDrop(drop);
    }
};

TEST_F(PageListWindow, DraggingMovesThePageJustBeforeTheTarget) {
    const struct {
        int source, target;
        const char* after;
    } cases[] = {{0, 2, "BACD"}, {3, 1, "ADBC"}, {1, -1, "ACDB"}, {2, 2, "ABCD"}};
    for (const auto& c : cases) {
        auto form = formWithPages(4);
        click(*form, 1);
        drag(*form, c.source, c.target);
        EXPECT_EQ(shownOrder(*form), QString::fromLatin1(c.after)) << c.source << "->" << c.target;
        EXPECT_EQ(form->CurrentPage, 1) << "the current index keeps its number";
    }
}

TEST_F(PageListWindow, DragFromAnotherWidgetIsRefused) {
    auto form = formWithPages(3);
    EXPECT_TRUE(form->ListView1->dragEnabled());
    EXPECT_TRUE(form->ListView1->viewport()->acceptDrops());
    QLineEdit other;
    form->ListView1StartDrag();
    EXPECT_FALSE(form->ListView1DragOver(&other, centreOf(*form, 0)));
    form->ListView1DragDrop(centreOf(*form, 2));
    EXPECT_EQ(shownOrder(*form), QStringLiteral("ABC"));
}

TEST_F(PageListWindow, DeletingTheOnlyPageLeavesItsFile) {
    auto form = formWithPages(1);
    click(*form, 0);
    EXPECT_EQ(form->CurrentPage, 0);
    EXPECT_EQ(form->StatusText(0), QStringLiteral("0"));
    form->EditMenuClick();
    EXPECT_TRUE(form->PageDeleteMenu->isEnabled());

    form->PageDeleteMenu->trigger();
    EXPECT_EQ(form->ListView1->count(), 0);
    EXPECT_TRUE(form->WorkingPages.isEmpty());
    EXPECT_EQ(form->CurrentPage, -1);
    EXPECT_FALSE(form->PageDeleteMenu->isEnabled());
    form->EditMenuClick();
    EXPECT_FALSE(form->PageDeleteMenu->isEnabled());
    EXPECT_TRUE(QFile::exists(workspace.scannerDir() + "/A.jpg"));
}

TEST_F(PageListWindow, AltClickDeletesThePageThatWasCurrent) {
    auto form = formWithPages(4);
    click(*form, 1);
    click(*form, 3, Qt::AltModifier);
    EXPECT_EQ(shownOrder(*form), QStringLiteral("ACD"));
    EXPECT_EQ(form->CurrentPage, -1);

    // With no current page an Alt-click deletes nothing; clicking on empty space unpicks.
    click(*form, 0, Qt::AltModifier);
    EXPECT_EQ(shownOrder(*form), QStringLiteral("ACD"));
    click(*form, 2);
    QTest::mouseClick(form->ListView1->viewport(), Qt::LeftButton, {},
                      form->ListView1->viewport()->rect().bottomRight() - QPoint(3, 3));
    EXPECT_EQ(form->CurrentPage, -1);
    EXPECT_TRUE(form->StatusText(0).isEmpty());
}

TEST_F(PageListWindow, CaptionsAreCutTo18Bytes) {
    const struct {
        QString typed;
        QString kept;
    } cases[] = {
        {QStringLiteral("あいうえおかきくけこ"), QStringLiteral("あいうえおかきくけ")}, // 20 bytes
        {QStringLiteral("ABCDEFGHIJKLMNOPQRST"), QStringLiteral("ABCDEFGHIJKLMNOPQR")},
        {QStringLiteral("Aあいうえおかきくけ"), QStringLiteral("Aあいうえおかきく")}, // 19 bytes
        {QStringLiteral("経過記録"), QStringLiteral("経過記録")},
    };
    for (const auto& c : cases) {
        auto form = formWithPages(2);
        form->ListView1->editItem(form->ListView1->item(1));
        auto* editor = form->ListView1->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        // Japanese text arrives committed by the input method, not as single keys.
        editor->selectAll();
        editor->insert(c.typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits the edit from its event queue
        EXPECT_EQ(form->WorkingPages.at(1).Bookmark, c.kept) << c.typed.toStdString();
        EXPECT_EQ(form->ListView1->item(1)->text(), c.kept);
        EXPECT_EQ(form->WorkingPages.at(0).Bookmark, QStringLiteral("A"));
        EXPECT_LE(cp932Length(form->WorkingPages.at(1).Bookmark), 18);
    }
}

TEST_F(PageListWindow, LargerThumbnailsKeepEachPageItsOwn) {
    auto form = formWithPages(4);
    EXPECT_EQ(form->ListView1->iconSize(), QSize(64, 64));
    form->Reg.ImSize = 4;
    ASSERT_TRUE(form->RedisplayPageList());
    EXPECT_EQ(form->ThumbNailList.side(), 192);
    EXPECT_EQ(form->ListView1->iconSize(), QSize(192, 192));
    for (int i = 0; i < form->ThumbNailList.count(); ++i)
        EXPECT_EQ(form->ThumbNailList.at(i).size(), QSize(192, 192));
    EXPECT_EQ(shownOrder(*form), QStringLiteral("ABCD"));
    drag(*form, 0, 2);
    EXPECT_EQ(shownOrder(*form), QStringLiteral("BACD"));
    click(*form, 0);
    form->PageDeleteClick();
    EXPECT_EQ(shownOrder(*form), QStringLiteral("ACD"));
}

TEST_F(PageListWindow, RedrawMenuRebuildsOrSaysThereIsNothing) {
    auto form = formWithPages(0);
    form->displayMenuClick();
    EXPECT_TRUE(form->PageRedrawMenu->isEnabled());
    form->PageRedrawMenu->trigger();
    EXPECT_EQ(form->StatusText(1), QStringLiteral("表示エラーです。"));

    form = formWithPages(2);
    form->PageRedrawMenu->trigger();
    EXPECT_TRUE(form->StatusText(1).isEmpty());
    EXPECT_EQ(shownOrder(*form), QStringLiteral("AB"));

    // A page whose file went bad ends the rebuild there with the format error.
    writeFile(workspace.scannerDir() + "/B.jpg", "broken");
    form->PageRedrawMenu->trigger();
    EXPECT_EQ(dialogs.last().text, QStringLiteral("ファイル形式エラー"));
    EXPECT_EQ(form->ListView1->count(), 1);

    form->PageControl->setCurrentIndex(1);
    form->displayMenuClick();
    EXPECT_FALSE(form->PageRedrawMenu->isEnabled());
    form->EditMenuClick();
    EXPECT_FALSE(form->PageDeleteMenu->isEnabled()) << "deleting only on the tab 一覧";
}

TEST_F(PageListWindow, StoredPagesAreWrittenOnceAndOnlyInsideTheScannerFolder) {
    auto form = formWithPages(0);
    const QByteArray jpeg = encodeJpeg(solidPage(Qt::blue), 80);
    form->AddStoredPage(jpeg, QStringLiteral("note\r\n"), QStringLiteral("IMG1"),
                        QStringLiteral("初診"));
    ASSERT_EQ(form->WorkingPages.count(), 1);
    EXPECT_EQ(form->WorkingPages.at(0).FileName, QStringLiteral("IMG1.jpg"));
    EXPECT_EQ(form->WorkingPages.at(0).Note, QStringLiteral("note\r\n"));
    EXPECT_EQ(readFile(workspace.scannerDir() + "/IMG1.jpg"), jpeg);
    form->AddStoredPage(jpeg, QString(), QStringLiteral("IMG1"), QString());
    EXPECT_EQ(form->WorkingPages.count(), 1) << "a name already there adds nothing";

    EXPECT_THROW(form->AddStoredPage(jpeg, QString(), QStringLiteral("../outside"), QString()),
                 PageError);
    EXPECT_FALSE(QFile::exists(workspace.programDir + "/outside.jpg"));
    EXPECT_EQ(form->WorkingPages.count(), 1);

    EXPECT_THROW(form->AddStoredPage("not a jpeg", QString(), QStringLiteral("IMG2"), QString()),
                 PageError);
    EXPECT_EQ(form->WorkingPages.count(), 1);

    form->SelectPageByName(workspace.scannerDir() + "/IMG1.jpg");
    EXPECT_EQ(form->CurrentPage, 0);
    EXPECT_TRUE(form->ListView1->item(0)->isSelected());
    form->SelectPageByName(QStringLiteral("nothing.jpg"));
    EXPECT_EQ(form->CurrentPage, 0);
}

TEST_F(PageListWindow, PasteTakesTextIntoTheFocusedFieldOnly) {
    auto form = formWithPages(1);
    form->activateWindow();
    QApplication::clipboard()->setImage(solidPage(Qt::red));
    form->EditMenuClick();
    EXPECT_FALSE(form->PasteMenu->isEnabled()) << "pages are never pasted";

    QApplication::clipboard()->setText(QStringLiteral("1234"));
    form->EditMenuClick();
    EXPECT_TRUE(form->PasteMenu->isEnabled());
    form->IdEdit->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->IdEdit->hasFocus());
    form->PasteMenu->trigger();
    EXPECT_EQ(form->IdEdit->text(), QStringLiteral("1234"));

    form->ListView1->setFocus();
    QCoreApplication::processEvents();
    form->PasteMenu->trigger();
    EXPECT_EQ(form->WorkingPages.count(), 1);
    EXPECT_EQ(form->IdEdit->text(), QStringLiteral("1234"));
}

} // namespace
