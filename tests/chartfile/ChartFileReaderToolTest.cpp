#include "PdfTestBuilder.h"

#include "chartfile/ChartFileReader.h"
#include "chartfile/PdfError.h"

#include "support/TempDir.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode;
    QString out, err;
};

ToolRun chartpdf(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TOVANE_CHARTPDF), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(ChartFileReaderTool, InfoPrintsEveryPage) {
    TempDir dir;
    writeFile(dir.file("chart.pdf"), threePageChart().build());
    const ToolRun run = chartpdf({QStringLiteral("info"), dir.file("chart.pdf")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("pages\t3\n"
                                      "1\tPRJpegImage11000\t300\t初診\\r所見あり\\r\t初診\n"
                                      "2\tPRJpegImage11001\t200\t\t\n"
                                      "3\tPRJpegImage11002\t150\t\t") +
                           QString(70, QChar(u'記')) + u'\n');
}

TEST(ChartFileReaderTool, ExtractWritesTheJpegBytes) {
    TempDir dir;
    ChartPdfFixture f = threePageChart();
    writeFile(dir.file("chart.pdf"), f.build());
    QDir().mkpath(dir.file("out"));
    const ToolRun run =
        chartpdf({QStringLiteral("extract"), dir.file("chart.pdf"), dir.file("out")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(readFile(dir.file(QStringLiteral("out/PRJpegImage1%1.jpg").arg(1000 + i))),
                  f.pageList[size_t(i)].jpeg);
    EXPECT_EQ(QDir(dir.file("out")).entryList(QDir::Files).size(), 3); // no temporary left
}

// A PDF made by another program is refused with the reader's own message, as raised.
TEST(ChartFileReaderTool, RefusesAPdfOfAnotherProgram) {
    const QString img2pdf = QStandardPaths::findExecutable(QStringLiteral("img2pdf"));
    if (img2pdf.isEmpty())
        GTEST_SKIP() << "img2pdf is not installed";
    TempDir dir;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(dir.file("page.jpg"), "JPEG"));
    ASSERT_EQ(QProcess::execute(
                  img2pdf, {dir.file("page.jpg"), QStringLiteral("-o"), dir.file("other.pdf")}),
              0);
    QString raised;
    try {
        readChartPdfPages(dir.file("other.pdf"));
    } catch (const PdfError& e) {
        raised = e.message();
    }
    ASSERT_FALSE(raised.isEmpty());
    const ToolRun run = chartpdf({QStringLiteral("info"), dir.file("other.pdf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, raised + u'\n');
    EXPECT_EQ(run.out, QString());

    const ToolRun usage = chartpdf({QStringLiteral("info")});
    EXPECT_EQ(usage.exitCode, 2);
}

} // namespace
