// Thumbnails (side 192) of 50 A4 scans at 300 dpi (2480 x 3508, about 1.2 MB of JPEG each),
// made as "取込" makes them: on worker threads, taken in list order. Beside them, on the same
// files in the same run: `vipsthumbnail -s 192`, and the floor `djpeg -scale 1/8` (decoding
// alone, one page after another on one core). Each reports seconds a page ("s_per_page").
//
// The scans are generated once into a temporary folder: paper-grey with sensor noise, lines
// of dark handwriting-like strokes and a coloured stamp, so that the JPEG carries as much
// detail as a real scan.

#include "chartwork/Thumbnail.h"
#include "imaging/JpegCodec.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int pageCount = 50;
constexpr int side = 192;

QImage makeScan(uint32_t seed) {
    QImage page(2480, 3508, QImage::Format_RGB32);
    uint32_t state = seed * 2654435761u + 1;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (int y = 0; y < page.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(page.scanLine(y));
        // Lines of writing every 90 pixels, 40 high, broken into words.
        const bool writingRow = (y % 90) > 25 && (y % 90) < 65 && y > 300 && y < 3300;
        for (int x = 0; x < page.width(); ++x) {
            const uint32_t r = next();
            int v = 242 + int(r & 3); // paper and sensor noise
            if (writingRow && x > 200 && x < 2300 && ((x / 37 + y / 90 + seed) % 5) < 3) {
                // Stroke-like texture: dark where a pseudo-random pattern says so.
                if (((x * 7 + y * 3 + (r >> 8 & 7)) % 23) < 6)
                    v = 40 + int(r >> 16 & 15);
            }
            int red = v, green = v, blue = v;
            if (x > 1900 && x < 2250 && y > 150 && y < 500 && ((r >> 20) & 3) != 0) {
                red = 200 + int(r >> 24 & 31); // a red stamp
                green = blue = 60 + int(r >> 12 & 31);
            }
            line[x] = qRgb(red, green, blue);
        }
    }
    return page;
}

class Scans {
public:
    static Scans& get() {
        static Scans scans;
        return scans;
    }
    QStringList paths;
    qint64 totalBytes = 0;
    QString outDir() const { return out_.path(); }

private:
    Scans() {
        for (int i = 0; i < pageCount; ++i) {
            const QString path =
                dir_.filePath(QStringLiteral("scan%1.jpg").arg(i, 2, 10, QChar('0')));
            const QByteArray jpeg = encodeJpeg(makeScan(uint32_t(i + 1)), 75);
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
                qFatal("cannot write the scans");
            totalBytes += jpeg.size();
            paths << path;
        }
    }
    QTemporaryDir dir_;
    QTemporaryDir out_;
};

void reportPerPage(benchmark::State& state) {
    state.counters["s_per_page"] =
        benchmark::Counter(double(state.iterations()) * pageCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["MB_per_scan"] = double(Scans::get().totalBytes) / pageCount / (1024.0 * 1024.0);
}

// Ours, as the window makes them: worker threads, results taken in order.
void BM_Thumbnails_Workers(benchmark::State& state) {
    const QStringList& paths = Scans::get().paths;
    for (auto _ : state) {
        ThumbnailBatch batch(paths, side);
        for (int i = 0; i < batch.count(); ++i) {
            QImage thumb = batch.take(i);
            if (thumb.isNull())
                state.SkipWithError("a scan could not be read");
            benchmark::DoNotOptimize(thumb);
        }
    }
    reportPerPage(state);
}

// Ours on one core, page after page: the cost of one thumbnail.
void BM_Thumbnails_OneCore(benchmark::State& state) {
    const QStringList& paths = Scans::get().paths;
    for (auto _ : state)
        for (const QString& path : paths) {
            QImage thumb = loadThumbnail(path, side);
            benchmark::DoNotOptimize(thumb);
        }
    reportPerPage(state);
}

bool runTool(benchmark::State& state, const QString& program, const QStringList& args) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        state.SkipWithError(("failed: " + program).toStdString().c_str());
        return false;
    }
    return true;
}

// vipsthumbnail over the same files, one invocation for all (it threads internally).
void BM_Vipsthumbnail(benchmark::State& state) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (tool.isEmpty()) {
        state.SkipWithError("vipsthumbnail is not installed (apt-get install libvips-tools)");
        return;
    }
    QStringList args{QStringLiteral("-s"), QString::number(side), QStringLiteral("-o"),
                     Scans::get().outDir() + QStringLiteral("/%s.jpg")};
    args += Scans::get().paths;
    for (auto _ : state)
        if (!runTool(state, tool, args))
            break;
    reportPerPage(state);
}

// The floor: libjpeg-turbo decoding at 1/8 scale, one page after another.
void BM_DjpegScale8(benchmark::State& state) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (tool.isEmpty()) {
        state.SkipWithError("djpeg is not installed (apt-get install libjpeg-turbo-progs)");
        return;
    }
    for (auto _ : state)
        for (const QString& path : Scans::get().paths)
            if (!runTool(state, tool, {QStringLiteral("-scale"), QStringLiteral("1/8"), path}))
                return;
    reportPerPage(state);
}

BENCHMARK(BM_Thumbnails_Workers)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_Thumbnails_OneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_Vipsthumbnail)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_DjpegScale8)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Scans::get(); // generated before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
