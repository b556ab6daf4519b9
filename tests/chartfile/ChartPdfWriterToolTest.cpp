// chartpdf write: a chart PDF from image files, read back with chartpdf info.
#include "ChartPdfWriterTestSupport.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#ifdef TOVANE_CHARTPDF

namespace {

ToolRun chartpdf(const QStringList& args) {
    return runTool(QStringLiteral(TOVANE_CHARTPDF), args);
}

} // namespace

TEST(ChartPdfWriteCommand, WritesPagesNotesAndBookmarks) {
    TempDir dir;
    writeScan(dir.file("a.jpg"), QSize(2480, 3508));
    writeScan(dir.file("b.jpg"), QSize(400, 300));
    const ToolRun write = chartpdf(
        {"write", dir.file("c.pdf"), "--width", "595", "--height", "842", "--quality", "120",
         "--no-stretch", dir.file("a.jpg") + "::所見::初診", dir.file("gone.jpg") + "::x::y",
         dir.file("b.jpg"), dir.file("b.jpg") + "::::only a bookmark"});
    ASSERT_EQ(write.exitCode, 0) << write.out.toStdString();
    EXPECT_EQ(write.out, QStringLiteral("pages\t3\n"));
    const WrittenPdf pdf(dir.file("c.pdf"));
    EXPECT_TRUE(pdf.bytes().contains("/MediaBox [0 0 595 842 ]"));
    EXPECT_TRUE(pdf.bytes().contains("/Width 529\r\n/Height 776\r\n")); // cut out, not stretched

    const ToolRun info = chartpdf({"info", dir.file("c.pdf")});
    ASSERT_EQ(info.exitCode, 0) << info.out.toStdString();
    const QStringList lines = info.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("pages\t3"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\t所見\\r\t初診"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("\t\t"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("\t\tonly a bookmark")));
}

TEST(ChartPdfWriteCommand, RefusesWhatItCannotWrite) {
    TempDir dir;
    writeScan(dir.file("a.jpg"), QSize(100, 100));
    struct Case {
        QStringList args;
        int exitCode;
    };
    const Case cases[] = {
        {{"write"}, 2},
        {{"write", dir.file("c.pdf")}, 2},
        {{"write", dir.file("c.pdf"), "--width", "66", dir.file("a.jpg")}, 2},
        {{"write", dir.file("c.pdf"), "--height", "tall", dir.file("a.jpg")}, 2},
        {{"write", dir.file("c.pdf"), "--quality"}, 2},
        {{"write", dir.file("c.pdf"), "--stretch", dir.file("a.jpg")}, 2},
        {{"write", dir.file("c.pdf"), dir.file("a.jpg") + "::n::b::extra"}, 2},
        {{"write", dir.file("c.pdf"), dir.file("gone.jpg")}, 1}, // no page: nothing written
    };
    for (const Case& c : cases) {
        const ToolRun run = chartpdf(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_FALSE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir.file("c.pdf")));
}

#endif
