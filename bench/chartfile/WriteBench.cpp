// Writing a chart volume: 50 scanned pages of 2480 x 3508 (A4 at 300 dpi, about 1.2 MB each as
// a scanner's JPEG at quality 90) into a chart PDF, Stretch on, quality 80, on the default
// page. The scans are made once into a folder and reused, so that compare_write.sh can run the
// peer tools on the very same files:
//
//   chartfile_WriteBench --make-scans=DIR     makes the scans and ends
//   TOVANE_WRITE_BENCH_SCANS=DIR chartfile_WriteBench
#include "chartfile/ChartPdfWriterPages.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegScale.h"
#include "imaging/PageImage.h"
#include "imaging/Resample.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThreadPool>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kPages = 50;
const QSize kScanSize(2480, 3508);

// A scanned page: off-white paper with grain, printed rules, handwriting strokes in blue-black
// ink and a red stamp, and the sensor noise of a flatbed scanner.
QImage makeScan(quint32 seed) {
    QRandomGenerator random(seed);
    QImage image(kScanSize, QImage::Format_RGB32);
    image.fill(QColor(244, 241, 232));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(150, 170, 200), 3));
    for (int y = 300; y < kScanSize.height() - 200; y += 90)
        painter.drawLine(150, y, kScanSize.width() - 150, y);
    painter.setPen(QPen(QColor(25, 30, 70), 5, Qt::SolidLine, Qt::RoundCap));
    for (int y = 280; y < kScanSize.height() - 300; y += 90) {
        if (random.bounded(5) == 0)
            continue;
        QPainterPath stroke;
        double x = 180 + random.bounded(100);
        const double end = 700 + random.bounded(kScanSize.width() - 900);
        stroke.moveTo(x, y);
        while (x < end) {
            const double step = 12 + random.bounded(30);
            stroke.cubicTo(x + step / 3, y - 30 + random.bounded(60), x + step * 2 / 3,
                           y - 30 + random.bounded(60), x + step, y - 10 + random.bounded(20));
            x += step;
        }
        painter.drawPath(stroke);
    }
    painter.setPen(QPen(QColor(200, 40, 40), 8));
    painter.drawEllipse(QPoint(2000, 500), 120, 120);
    painter.end();
    // Grain and sensor noise, a few levels on every channel.
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            const quint32 r = random.generate();
            for (int k = 0; k < 2 && x + k < image.width(); ++k) {
                const quint32 bits = r >> (k * 16);
                const int grain = int((bits & 3) + ((bits >> 2) & 3)) - 3;
                const QRgb p = line[x + k];
                line[x + k] =
                    qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                         qBound(0, qBlue(p) + grain, 255));
            }
        }
    }
    return image;
}

QString scanPath(const QString& dir, int i) {
    return QDir(dir).filePath(QStringLiteral("scan%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
}

void makeScans(const QString& dir) {
    QDir().mkpath(dir);
    for (int i = 0; i < kPages; ++i) {
        if (QFile::exists(scanPath(dir, i)))
            continue;
        QFile file(scanPath(dir, i));
        if (file.open(QIODevice::WriteOnly))
            file.write(encodeJpeg(makeScan(quint32(1000 + i)), 90));
    }
}

QString scansDir() {
    static const QString dir = [] {
        const QString given = qEnvironmentVariable("TOVANE_WRITE_BENCH_SCANS");
        const QString d =
            given.isEmpty() ? QDir::temp().filePath("tovane-write-bench-scans") : given;
        makeScans(d);
        return d;
    }();
    return dir;
}

QList<ChartPageInput> volume() {
    QList<ChartPageInput> pages;
    for (int i = 0; i < kPages; ++i)
        pages.append({scanPath(scansDir(), i), QString(), QString()});
    return pages;
}

void writeVolume(benchmark::State& state, int threads) {
    const QList<ChartPageInput> pages = volume();
    QTemporaryDir out;
    QThreadPool* pool = QThreadPool::globalInstance();
    const int saved = pool->maxThreadCount();
    pool->setMaxThreadCount(threads);
    double perPage = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        TPdfWriteForm writer;
        writeChartPdf(writer, out.filePath("chart.pdf"), ChartPdfSettings{700, 1000, true, 80},
                      pages, QStringLiteral("1234567 テスト医院 01 2011/05/06 9:03:07"));
        perPage +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count() /
            kPages;
    }
    pool->setMaxThreadCount(saved);
    state.counters["ms_per_page"] = benchmark::Counter(perPage, benchmark::Counter::kAvgIterations);
}

void BM_WriteVolume_TwoCores(benchmark::State& state) {
    writeVolume(state, 2);
}
void BM_WriteVolume_OneCore(benchmark::State& state) {
    writeVolume(state, 1);
}
BENCHMARK(BM_WriteVolume_TwoCores)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_WriteVolume_OneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The steps of one page on one core, to see where the time goes.
void BM_PreparePage(benchmark::State& state) {
    const QString path = scanPath(scansDir(), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(preparePageImage(path, QSize(634, 934), true, 80));
}
BENCHMARK(BM_PreparePage)->Unit(benchmark::kMillisecond);

void BM_DecodeThreeEighths(benchmark::State& state) {
    QFile file(scanPath(scansDir(), 0));
    file.open(QIODevice::ReadOnly);
    const QByteArray jpeg = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeJpeg(jpeg, QSize(633, 896)));
}
BENCHMARK(BM_DecodeThreeEighths)->Unit(benchmark::kMillisecond);

void BM_DecodePlanesThreeEighths(benchmark::State& state) {
    QFile file(scanPath(scansDir(), 0));
    file.open(QIODevice::ReadOnly);
    const QByteArray jpeg = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeJpegPlanes(jpeg, QSize(633, 896)));
}
BENCHMARK(BM_DecodePlanesThreeEighths)->Unit(benchmark::kMillisecond);

void BM_ScaleJpeg(benchmark::State& state) {
    QFile file(scanPath(scansDir(), 0));
    file.open(QIODevice::ReadOnly);
    const QByteArray jpeg = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(scaleJpeg(jpeg, QSize(633, 896), 80));
}
BENCHMARK(BM_ScaleJpeg)->Unit(benchmark::kMillisecond);

void BM_SmoothScale(benchmark::State& state) {
    const QImage source = loadPageImage(scanPath(scansDir(), 0), QSize(633, 896));
    for (auto _ : state)
        benchmark::DoNotOptimize(smoothScale(source, QSize(633, 896)));
}
BENCHMARK(BM_SmoothScale)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
    const QImage page =
        smoothScale(loadPageImage(scanPath(scansDir(), 0), QSize(633, 896)), QSize(633, 896));
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeJpeg(page, 80));
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--make-scans=", 13) == 0) {
            makeScans(QString::fromLocal8Bit(argv[i] + 13));
            return 0;
        }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
