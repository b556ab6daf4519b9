// Reading a chart volume back: a 500-page chart PDF (pages of 634 x 845 JPEGs at quality 80,
// as a save on the default page writes them) is opened and every page's image copied out to
// a file, beside the same job done on the same file by mutool extract and pdfimages -j.
// The peers run as processes, so chartpdf extract is also measured as a process.
//
//   chartfile_ReadBench --make-pdf=FILE    writes the benchmark's chart PDF and ends
//                                          (bench/chartfile/compare.sh runs hyperfine on it)
#include "../../tests/chartfile/PdfTestBuilder.h"

#include "chartfile/ChartFileReaderExtract.h"
#include "chartfile/PdfStream.h"
#include "imaging/JpegCodec.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int kPages = 500;

QByteArray pageJpeg(int page) {
    QImage image(634, 845, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2));
    for (int y = 60; y < 800; y += 24) // ruled lines of a paper chart with some writing
        painter.drawLine(20, y, 614, y);
    for (int i = 0; i < 40; ++i)
        painter.drawEllipse(30 + (i * 37 + page * 11) % 560, 70 + (i * 53 + page * 7) % 700, 18,
                            12);
    painter.drawText(30, 40, QStringLiteral("page %1").arg(page));
    painter.end();
    return encodeJpeg(image, 80);
}

QByteArray makeChartPdf() {
    ChartPdfFixture chart;
    for (int i = 0; i < kPages; ++i) {
        chart.pageList.push_back(
            {pageJpeg(i), i % 5 == 0 ? QStringLiteral("所見 %1").arg(i) : QString(),
             i % 10 == 0 ? QStringLiteral("第%1回").arg(i / 10 + 1) : QString(),
             "PRJpegImage1" + QByteArray::number(10000 + i)});
    }
    return chart.build();
}

struct Fixture {
    QTemporaryDir dir;
    QString pdf;
    QString out;
    Fixture() {
        pdf = dir.filePath(QStringLiteral("HP00000001_0000.pdf"));
        out = dir.filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        QFile file(pdf);
        if (!file.open(QIODevice::WriteOnly) || file.write(makeChartPdf()) < 0)
            qFatal("cannot write the benchmark PDF");
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Seconds per page, shown beside the time of the whole file.
void pagesPerIteration(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kPages);
    state.counters["per_page"] = benchmark::Counter(
        kPages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_OpenChartPdf(benchmark::State& state) {
    for (auto _ : state) {
        TPdfStream pdf;
        pdf.Open(fixture().pdf);
        benchmark::DoNotOptimize(pdf.PageCount());
    }
    pagesPerIteration(state);
}

void BM_ExtractInProcess(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(extractChartPdfImages(fixture().pdf, fixture().out));
    pagesPerIteration(state);
}

void runTool(benchmark::State& state, const QString& program, const QStringList& args) {
    if (program.isEmpty()) {
        state.SkipWithError("program not found");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        p.setWorkingDirectory(fixture().out);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program, args);
        if (!p.waitForFinished(-1) || p.exitCode() != 0) {
            state.SkipWithError("the program failed");
            return;
        }
        p.readAllStandardOutput();
    }
    pagesPerIteration(state);
}

void BM_ChartpdfExtract(benchmark::State& state) {
    runTool(state, QStringLiteral(TOVANE_CHARTPDF),
            {QStringLiteral("extract"), fixture().pdf, fixture().out});
}

void BM_MutoolExtract(benchmark::State& state) {
    runTool(state, QStandardPaths::findExecutable(QStringLiteral("mutool")),
            {QStringLiteral("extract"), fixture().pdf});
}

void BM_PdfimagesJ(benchmark::State& state) {
    runTool(state, QStandardPaths::findExecutable(QStringLiteral("pdfimages")),
            {QStringLiteral("-j"), fixture().pdf, fixture().out + QStringLiteral("/img")});
}

BENCHMARK(BM_OpenChartPdf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtractInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChartpdfExtract)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MutoolExtract)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PdfimagesJ)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--make-pdf=", 11) == 0) {
            QFile file(QString::fromLocal8Bit(argv[i] + 11));
            return file.open(QIODevice::WriteOnly) && file.write(makeChartPdf()) > 0 ? 0 : 1;
        }
    }
    fixture(); // the chart PDF is made before any timing starts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
