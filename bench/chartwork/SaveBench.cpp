// Saving a 100-page volume of 2480 x 3508 scans (A4 at 300 dpi, scanner JPEGs at quality 90):
// through the main window's "保存" (chart state, page list, progress, busy state, index row,
// activity log, reset of the Scanner folder) beside the chart PDF writer alone on the same
// files. The window's path is meant to add at most a tenth to the writer's time.
#include "chartfile/ChartPdfWriterPages.h"
#include "chartwork/MainForm.h"
#include "imaging/JpegCodec.h"
#include "index/IndexFile.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

constexpr int kPages = 100;
constexpr int kDistinctScans = 4;
const QSize kScanSize(2480, 3508);

// Stands in for the person at the screen: every box is answered with its first button, so
// that "保存しました。" does not wait for a click.
class AnsweringDialogs : public Dialogs {
public:
    int message(QWidget*, Kind, const QString&, int buttons) override {
        for (int b : {Yes, Ok, No, Cancel, Abort})
            if (buttons & b)
                return b;
        return Ok;
    }
    QStringList openFiles(QWidget*, const QString&, const QString&, const QStringList&) override {
        return {};
    }
    QString openFile(QWidget*, const QString&, const QString&, const QStringList&) override {
        return {};
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QStringList&, const QString&,
                     int*) override {
        return {};
    }
    QString chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    bool chooseColor(QWidget*, QColor&) override { return false; }
    bool chooseFont(QWidget*, QFont&) override { return false; }
    int exec(QDialog*) override { return 0; }
    int shellOpen(const QString&) override { return 42; }
    void openUrl(const QString&) override {}
};

// A scanned page: paper with ruled lines, handwriting-like strokes and sensor noise, so that
// the JPEG has the size and decoding cost of a real scan.
QByteArray makeScan(quint32 seed) {
    QRandomGenerator random(seed);
    QImage image(kScanSize, QImage::Format_RGB32);
    image.fill(QColor(244, 241, 232));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(150, 170, 200), 3));
    for (int y = 300; y < kScanSize.height() - 200; y += 90)
        painter.drawLine(150, y, kScanSize.width() - 150, y);
    painter.setPen(QPen(QColor(25, 30, 70), 5));
    for (int y = 280; y < kScanSize.height() - 300; y += 90) {
        int x = 180;
        while (x < 2200) {
            const int step = 12 + int(random.bounded(30));
            painter.drawLine(x, y + int(random.bounded(40)) - 20, x + step,
                             y + int(random.bounded(40)) - 20);
            x += step;
        }
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(7)) - 3;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return encodeJpeg(image, 90);
}

// The scans, made once: scan000.jpg to scan099.jpg in one folder.
struct Scans {
    QTemporaryDir dir;
    QStringList names;
    Scans() {
        QByteArray scans[kDistinctScans];
        for (int i = 0; i < kDistinctScans; ++i)
            scans[i] = makeScan(quint32(i + 1));
        for (int i = 0; i < kPages; ++i) {
            const QString name = QStringLiteral("scan%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
            QFile file(dir.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(scans[i % kDistinctScans]);
            names << name;
        }
    }
    QString path(const QString& name) const { return dir.filePath(name); }
};

const Scans& scans() {
    static const Scans instance;
    return instance;
}

void BM_WriterAlone(benchmark::State& state) {
    QTemporaryDir out;
    QList<ChartPageInput> pages;
    for (const QString& name : scans().names)
        pages.append({scans().path(name), QString(), QString()});
    for (auto _ : state) {
        TPdfWriteForm writer;
        writeChartPdf(writer, out.filePath(QStringLiteral("volume.pdf")), ChartPdfSettings(), pages,
                      QStringLiteral("1234567 医院 01 2026/12/11 9:03:07 1 0"));
    }
}
BENCHMARK(BM_WriterAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_WindowSave(benchmark::State& state) {
    QTemporaryDir temp;
    qputenv("XDG_CONFIG_HOME", temp.filePath(QStringLiteral("config")).toLocal8Bit());
    const Workspace workspace{temp.filePath(QStringLiteral("program"))};
    QDir().mkpath(workspace.scannerDir());
    QDir().mkpath(workspace.databaseDir());
    createIndexFile(workspace.indexFile());
    AnsweringDialogs dialogs;
    Dialogs::install(&dialogs);
    {
        TMainForm form(workspace);
        if (!form.FormCreate()) {
            state.SkipWithError("the main window could not be created");
            Dialogs::install(nullptr);
            return;
        }
        form.show();
        form.Reg.Target = temp.filePath(QStringLiteral("charts")) + QLatin1Char('/');
        form.Reg.WriteDate = false;
        int volume = 0;
        for (auto _ : state) {
            state.PauseTiming();
            // The pages as "取込" leaves them: files in the Scanner folder, one record each.
            // Hard links keep the setup cheap; "保存" removes them with the reset.
            for (const QString& name : scans().names) {
                const QString target = workspace.scannerDir() + QLatin1Char('/') + name;
                if (::link(QFile::encodeName(scans().path(name)).constData(),
                           QFile::encodeName(target).constData()) != 0)
                    QFile::copy(scans().path(name), target);
                form.WorkingPages.append({name, -1, QString(), QString()});
            }
            form.PatientNo = 1;
            form.VolumeNo = volume++;
            form.FilingState = TFilingState::New;
            form.SaveButton->setEnabled(true);
            state.ResumeTiming();

            form.SaveButton->click();

            state.PauseTiming();
            if (form.FilingState != TFilingState::Idle || !form.WorkingPages.isEmpty())
                state.SkipWithError("the save did not go through");
            QFile::remove(QDir(form.Reg.Target)
                              .filePath(toNativePath(form.VolumeFolder).mid(1) + QLatin1Char('/') +
                                        form.VolumeFileName));
            state.ResumeTiming();
        }
    }
    Dialogs::install(nullptr);
}
BENCHMARK(BM_WindowSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    scans(); // made before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
