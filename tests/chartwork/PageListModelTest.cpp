// The working pages without a window: drag moves, names, thumbnails, the Scanner folder's
// files and the names of stored pages.

#include "PageListTestFiles.h"
#include "chartwork/Thumbnail.h"
#include "chartwork/WorkingPages.h"
#include "chartwork/WorkingPagesFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TWorkingPages pagesOf(const QString& names) {
    TWorkingPages pages;
    for (const QChar c : names)
        pages.append({QString(c) + QStringLiteral(".jpg"), 0, {}, QString(c)});
    return pages;
}

QString order(const TWorkingPages& pages) {
    QString out;
    for (const APageList& page : pages)
        out += page.Bookmark;
    return out;
}

TEST(WorkingPages, DragMovesEndJustBeforeTheTarget) {
    const struct {
        int source, target;
        const char* after;
        int first, last; // list items to refresh
    } cases[] = {
        {0, 2, "BACD", 0, 1},  // page 0 onto C
        {3, 1, "ADBC", 1, 3},  // D onto B
        {1, -1, "ACDB", 1, 3}, // B onto empty space
        {2, 2, "ABCD", 0, -1}, // onto itself: nothing
        {3, -1, "ABCD", 3, 3}, // the last page onto empty space stays last
        {4, 0, "ABCD", 0, -1}, // no such page
        {0, 4, "ABCD", 0, -1},
    };
    for (const auto& c : cases) {
        TWorkingPages pages = pagesOf(QStringLiteral("ABCD"));
        const auto span = pages.dragMove(c.source, c.target);
        EXPECT_EQ(order(pages), QString::fromLatin1(c.after)) << c.source << "->" << c.target;
        EXPECT_EQ(span.first, span.isEmpty() ? span.first : c.first);
        EXPECT_EQ(span.last, span.isEmpty() && c.last < 0 ? span.last : c.last);
        EXPECT_EQ(span.isEmpty(), c.last < c.first);
    }
}

TEST(WorkingPages, NamesCompareByteForByteOnTheNamePart) {
    TWorkingPages pages;
    pages.append({QStringLiteral("a.jpg"), 0, {}, {}});
    pages.append({QStringLiteral("b.jpg"), 1, {}, {}});
    pages.append({QStringLiteral("a.jpg"), 2, {}, {}});
    EXPECT_TRUE(pages.hasPageFile(QStringLiteral("/some/folder/b.jpg")));
    EXPECT_FALSE(pages.hasPageFile(QStringLiteral("B.jpg")));
    EXPECT_FALSE(pages.hasPageFile(QStringLiteral("b.jpg/")));
    EXPECT_EQ(pages.lastIndexOfName(QStringLiteral("x/a.jpg")), 2);
    EXPECT_EQ(pages.lastIndexOfName(QStringLiteral("c.jpg")), -1);
}

// The page's larger side fits the square exactly, the scaled size drops fractions, and the
// page sits centred on white.
TEST(Thumbnail, FitsTheLargerSideAndCentresOnWhite) {
    const struct {
        QSize page;
        int side;
        QRect placed;
    } cases[] = {
        {{300, 100}, 64, {0, 21, 64, 21}},   // 100 * 64 / 300 = 21.3
        {{100, 300}, 96, {32, 0, 32, 96}},   // 100 * 96 / 300 = 32
        {{250, 250}, 192, {0, 0, 192, 192}}, // square: no margin
        {{40, 30}, 128, {0, 16, 128, 96}},   // small pages are enlarged
    };
    for (const auto& c : cases) {
        const QImage thumb = makeThumbnailImage(solidPage(Qt::red, c.page), c.side);
        ASSERT_EQ(thumb.size(), QSize(c.side, c.side));
        QRect red;
        for (int y = 0; y < c.side; ++y)
            for (int x = 0; x < c.side; ++x)
                if (qRed(thumb.pixel(x, y)) > 200 && qGreen(thumb.pixel(x, y)) < 60)
                    red |= QRect(x, y, 1, 1);
        EXPECT_EQ(red, c.placed) << c.page.width() << "x" << c.page.height();
        EXPECT_EQ(thumb.pixel(0, 0) == qRgb(255, 255, 255), c.placed.topLeft() != QPoint(0, 0));
    }
}

TEST(Thumbnail, LargeJpegThroughDctScalingMatchesTheFullDecode) {
    TempDir dir;
    // A page with a dark band in its top half, so that scaling errors show.
    QImage page = solidPage(Qt::white, QSize(2480, 3508));
    for (int y = 400; y < 1200; ++y)
        for (int x = 0; x < page.width(); ++x)
            page.setPixel(x, y, qRgb(20, 40, 160));
    writeFile(dir.file(QStringLiteral("scan.jpg")), encodeJpeg(page, 85));
    const QImage viaFile = loadThumbnail(dir.file(QStringLiteral("scan.jpg")), 192);
    const QImage reference = makeThumbnailImage(page, 192);
    ASSERT_EQ(viaFile.size(), QSize(192, 192));
    for (int y = 0; y < 192; y += 4)
        for (int x = 0; x < 192; x += 4)
            ASSERT_TRUE(near(viaFile.pixelColor(x, y), reference.pixelColor(x, y), 24))
                << x << "," << y;
}

TEST(Thumbnail, UnreadableFilesGiveNoThumbnailAndBatchesKeepTheirOrder) {
    TempDir dir;
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan};
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
        paths << dir.file(QStringLiteral("p%1.jpg").arg(i));
        writeJpegPage(paths.last(), colours[i]);
    }
    writeFile(paths[2], "not an image");
    paths << dir.file(QStringLiteral("missing.jpg"));
    EXPECT_TRUE(loadThumbnail(paths[2], 64).isNull());
    EXPECT_TRUE(loadThumbnail(paths[5], 64).isNull());

    ThumbnailBatch batch(paths, 96);
    for (int i = 0; i < 6; ++i) {
        const QImage thumb = batch.take(i);
        EXPECT_EQ(thumb.isNull(), i == 2 || i == 5) << i;
        if (!thumb.isNull()) {
            EXPECT_TRUE(near(thumb.pixelColor(48, 48), colours[i])) << i;
        }
    }
}

TEST(ScannerFolder, FilterFollowsTheEnabledTypes) {
    const struct {
        bool jpeg, tiff, bmp, png;
        const char* filter;
    } cases[] = {
        {true, true, true, true, "ファイル形式|*.jpg;*.Jpeg;*.tif;*.tiff;*.bmp;*.png;"},
        {true, false, false, false, "ファイル形式|*.jpg;*.Jpeg;"},
        {false, true, true, false, "ファイル形式|*.tif;*.tiff;*.bmp;"},
        {false, false, false, true, "ファイル形式|*.png;"},
        {false, false, false, false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(imageFileFilter(c.jpeg, c.tiff, c.bmp, c.png), QString::fromUtf8(c.filter));
    EXPECT_EQ(filterPatterns(QStringLiteral("ファイル形式|*.tif;*.tiff;")),
              QStringList({QStringLiteral("*.tif"), QStringLiteral("*.tiff")}));
}

TEST(ScannerFolder, ListsMatchingPlainFilesInCaseBlindNameOrder) {
    TempDir dir;
    for (const char* name : {"b.jpg", "a.JPG", "C.jpeg", "d.png", "e.tiff", "f.txt", "g.jpg.bak",
                             ".hidden.jpg", "A.jpg"})
        writeFile(dir.file(QString::fromLatin1(name)), "x");
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
    EXPECT_EQ(matchingFiles(dir.path(), {QStringLiteral("*.jpg"), QStringLiteral("*.Jpeg"),
                                         QStringLiteral("*.png")}),
              QStringList({"A.jpg", "a.JPG", "b.jpg", "C.jpeg", "d.png"}));
    EXPECT_TRUE(matchingFiles(dir.path(), {QStringLiteral("*.bmp")}).isEmpty());
}

TEST(ScannerFolder, EmptyingDeletesPlainFilesOnly) {
    TempDir dir;
    writeFile(dir.file(QStringLiteral("a.jpg")), "x");
    writeFile(dir.file(QStringLiteral("locked.jpg")), "x");
    QFile::setPermissions(dir.file(QStringLiteral("locked.jpg")), QFileDevice::ReadOwner);
    writeFile(dir.file(QStringLiteral(".hidden")), "x");
    writeFile(dir.file(QStringLiteral("sub/inner.jpg")), "x");
    emptyFolder(dir.path());
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("a.jpg"))));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("locked.jpg"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral(".hidden"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("sub/inner.jpg"))));
}

TEST(ScannerFolder, StoredPageNamesMustBeOnePlainFileName) {
    for (const QString& bad :
         {QString(), QStringLiteral("../evil"), QStringLiteral(".."), QStringLiteral("a/b"),
          QStringLiteral("a\\b"), QStringLiteral("x..y"), QStringLiteral("c:name"),
          QStringLiteral("a*b"), QStringLiteral("a\tb"), QStringLiteral("a|b"),
          QString(300, QLatin1Char('n'))}) {
        try {
            checkStoredImageName(bad);
            ADD_FAILURE() << "accepted " << bad.toStdString();
        } catch (const PageError& e) {
            EXPECT_TRUE(
                e.message().startsWith(QStringLiteral("ページの画像名が正しくありません。")));
        }
    }
    for (const QString& good :
         {QStringLiteral("IMG0001"), QStringLiteral("頁 1.2"), QStringLiteral("a.b-c_d")})
        EXPECT_NO_THROW(checkStoredImageName(good)) << good.toStdString();
}

TEST(ScannerFolder, CopyingInReplacesWholeAndClearsReadOnly) {
    TempDir dir;
    const QString source = dir.file(QStringLiteral("in/page.jpg"));
    const QString folder = dir.file(QStringLiteral("Scanner"));
    writeFile(source, "new content");
    QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    writeFile(folder + QStringLiteral("/page.jpg"), "old");

    ASSERT_TRUE(copyIntoFolder(source, folder));
    EXPECT_EQ(readFile(folder + QStringLiteral("/page.jpg")), "new content");
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/page.jpg")).isWritable());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no leftovers";

    // A file copied onto itself stays whole.
    ASSERT_TRUE(copyIntoFolder(folder + QStringLiteral("/page.jpg"), folder));
    EXPECT_EQ(readFile(folder + QStringLiteral("/page.jpg")), "new content");

    EXPECT_FALSE(copyIntoFolder(dir.file(QStringLiteral("in/missing.jpg")), folder));
    EXPECT_FALSE(copyIntoFolder(source, dir.file(QStringLiteral("no such folder"))));
}

} // namespace
