// The page steps over real image files, checked with PDF tools nobody here wrote, and the
// failures that must leave an earlier chart PDF as it was.
#include "ChartPdfWriterTestSupport.h"

#include "chartfile/ChartPdfWriterError.h"
#include "chartfile/ChartPdfWriterPages.h"
#include "imaging/JpegCodec.h"
#include "support/TempDir.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// Width and height of every image that `pdfimages -list` reports, in page order; each row
// must be a JPEG, one image per page.
QList<QSize> listedImages(const QString& pdf) {
    const ToolRun run = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    QList<QSize> sizes;
    int page = 0;
    for (const QString& line : run.out.split(u'\n').mid(2)) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() < 9)
            continue;
        EXPECT_EQ(f[0].toInt(), ++page) << line.toStdString();
        EXPECT_EQ(f[8], QStringLiteral("jpeg")) << line.toStdString();
        sizes << QSize(f[3].toInt(), f[4].toInt());
    }
    return sizes;
}

QStringList folder(const TempDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(ChartPdfPages, MissingAndUnreadablePagesArePassedOverInPageOrder) {
    TempDir dir;
    writeScan(dir.file("a.jpg"), QSize(3000, 4000));
    writeFile(dir.file("broken.jpg"), "not an image at all");
    scanImage(QSize(2000, 3000)).save(dir.file("b.png"));
    writeScan(dir.file("c.jpg"), QSize(300, 400));
    const QList<ChartPageInput> pages = {
        {dir.file("a.jpg"), QString(), QString()},
        {dir.file("gone.jpg"), QStringLiteral("lost note"), QStringLiteral("lost")},
        {dir.file("broken.jpg"), QStringLiteral("lost note"), QStringLiteral("lost too")},
        {dir.file("b.png"), QString(), QStringLiteral("B")},
        {dir.file("c.jpg"), QStringLiteral("note"), QString()},
    };
    QStringList statuses;
    QList<std::pair<int, int>> progress;
    int idles = 0;
    const ChartWriteHooks hooks{[&](const QString& text) { statuses << text; },
                                [&](int done, int total) {
                                    progress.append({done, total});
                                },
                                [&] {
                                    ++idles;
                                }};
    TPdfWriteForm writer;
    writeChartPdf(writer, dir.file("chart.pdf"), ChartPdfSettings(), pages, QStringLiteral("t"),
                  hooks);

    EXPECT_EQ(listedImages(dir.file("chart.pdf")),
              (QList<QSize>{{634, 845}, {622, 933}, {633, 845}}));
    EXPECT_EQ(statuses,
              (QStringList{QStringLiteral("少々お待ちください。"), dir.file("a.jpg"),
                           dir.file("broken.jpg"), dir.file("b.png"), dir.file("c.jpg")}));
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_GE(idles, 6);
    // The one bookmark left points at the page it belongs to, not at the page before the
    // unreadable one.
    const WrittenPdf pdf(dir.file("chart.pdf"));
    const QByteArray outline = pdf.object(4);
    EXPECT_TRUE(outline.contains("/Count 1\r\n"));
    const QByteArray item = pdf.object(WrittenPdf::reference(WrittenPdf::value(outline, "First")));
    EXPECT_TRUE(item.contains("/Title (B)\r\n/Parent 4 0 R\r\n/Dest [" +
                              QByteArray::number(pdf.pages()[1]) + " 0 R "));
    EXPECT_FALSE(pdf.bytes().contains("lost"));
}

TEST(ChartPdfPages, ManyPagesKeepTheirOrderAcrossWorkers) {
    TempDir dir;
    QList<ChartPageInput> pages;
    QList<QSize> expected;
    for (int i = 0; i < 9; ++i) {
        // Large and small pages mixed, so that workers finish out of order.
        const QSize size = i % 3 == 0 ? QSize(1200 + i, 1500) : QSize(100 + i, 140);
        writeScan(dir.file(QStringLiteral("%1.jpg").arg(i)), size);
        pages.append({dir.file(QStringLiteral("%1.jpg").arg(i)), {}, {}});
        expected << QSize(std::min(size.width(), 634), std::min(size.height(), 934));
    }
    TPdfWriteForm writer;
    writeChartPdf(writer, dir.file("chart.pdf"), ChartPdfSettings{700, 1000, false, 80}, pages,
                  QString());
    EXPECT_EQ(listedImages(dir.file("chart.pdf")), expected);
}

TEST(ChartPdfPages, WithoutStretchALargeImageIsCutToItsTopLeft) {
    TempDir dir;
    writeScan(dir.file("big.jpg"), QSize(1000, 1200), 95);
    const PreparedPageImage page =
        preparePageImage(dir.file("big.jpg"), QSize(634, 934), false, 95);
    ASSERT_EQ(page.size, QSize(634, 934));
    const QImage image = decodeJpeg(page.jpeg);
    ASSERT_EQ(image.size(), QSize(634, 934));
    EXPECT_LT(qGray(image.pixel(5, 5)), 40); // the top-left marker is kept
    // Where the red marker of the bottom-right corner would be lies plain paper.
    const QRgb corner = image.pixel(630, 930);
    EXPECT_GT(qGray(corner), 150);
    EXPECT_LT(qRed(corner) - qGreen(corner), 40);
}

TEST(ChartPdfPages, PassesTheToolsAndShowsTheTitle) {
    TempDir dir;
    writeScan(dir.file("scan.jpg"), QSize(2480, 3508));
    TPdfWriteForm writer;
    writeChartPdf(
        writer, dir.file("chart.pdf"), ChartPdfSettings(),
        {{dir.file("scan.jpg"), QStringLiteral("所見\r\n経過良好"), QStringLiteral("初診")}},
        QStringLiteral("1234567 テスト医院 01 2011/05/06 9:03:07 00001234-0"));
    const ToolRun check = runTool(QStringLiteral("qpdf"), {"--check", dir.file("chart.pdf")});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    EXPECT_FALSE(check.out.contains(QStringLiteral("WARNING"), Qt::CaseInsensitive));

    const ToolRun info = runTool(QStringLiteral("pdfinfo"), {dir.file("chart.pdf")});
    for (const QString& value :
         {QStringLiteral("Ｒ２．０"), QStringLiteral("ＬＩＴＥ"),
          QStringLiteral("トヴァネファイル"), QStringLiteral("Wemba"),
          QStringLiteral("Pages:           1"), QStringLiteral("700 x 1000 pts")})
        EXPECT_TRUE(info.out.contains(value)) << value.toStdString();
    EXPECT_EQ(listedImages(dir.file("chart.pdf")), QList<QSize>{QSize(633, 896)});

    // Rendered at 72 dpi one page unit is one pixel: the title line is drawn in its label
    // band above the image, and the image's black marker sits at (33, 57).
    const ToolRun render =
        runTool(QStringLiteral("pdftoppm"),
                {"-r", "72", "-png", "-singlefile", dir.file("chart.pdf"), dir.file("page")});
    ASSERT_EQ(render.exitCode, 0) << render.out.toStdString();
    const QImage page(dir.file("page.png"));
    ASSERT_EQ(page.size(), QSize(700, 1000));
    int ink = 0;
    for (int y = 39; y < 55; ++y)
        for (int x = 33; x < 400; ++x)
            ink += qGray(page.pixel(x, y)) < 128;
    EXPECT_GT(ink, 200);
    EXPECT_LT(qGray(page.pixel(40, 64)), 40);
    EXPECT_GT(qGray(page.pixel(20, 64)), 240); // left margin stays white
}

TEST(ChartPdfPages, AFailedWriteLeavesTheEarlierFileAsItWas) {
    TempDir dir;
    writeScan(dir.file("scan.jpg"), QSize(1240, 1754), 95);
    writeFile(dir.file("chart.pdf"), "earlier chart");
    TPdfWriteForm writer;

    // No page at all: EndChart fails.
    EXPECT_THROW(writeChartPdf(writer, dir.file("chart.pdf"), ChartPdfSettings(),
                               {{dir.file("gone.jpg"), {}, {}}}, QString()),
                 ChartPdfWriterError);
    EXPECT_THROW(writer.EndChart(), ChartPdfWriterError); // no document open any more

    // A folder that does not exist.
    EXPECT_THROW(writeChartPdf(writer, dir.file("no/such/chart.pdf"), ChartPdfSettings(),
                               {{dir.file("scan.jpg"), {}, {}}}, QString()),
                 ChartPdfWriterError);

    // The disk fills up in the middle of the file: a file size limit makes the write fail as
    // a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 30000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
        writeChartPdf(writer, dir.file("chart.pdf"), ChartPdfSettings{700, 1000, true, 100},
                      {{dir.file("scan.jpg"), {}, {}}}, QString());
    } catch (const ChartPdfWriterError& e) {
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(message.isEmpty());

    EXPECT_EQ(readFile(dir.file("chart.pdf")), QByteArray("earlier chart"));
    EXPECT_EQ(folder(dir), (QStringList{"chart.pdf", "scan.jpg"})); // no temporary file left

    writeChartPdf(writer, dir.file("chart.pdf"), ChartPdfSettings(),
                  {{dir.file("scan.jpg"), {}, {}}}, QString());
    EXPECT_TRUE(readFile(dir.file("chart.pdf")).startsWith("%PDF-1.2 \r\n"));
    EXPECT_EQ(folder(dir), (QStringList{"chart.pdf", "scan.jpg"}));
}
