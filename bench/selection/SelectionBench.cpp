// Opening an existing chart volume on the main window: "確認" and "選択" of a volume of 40
// pages (each a scanned A4 page as the chart PDF writer stores it), which writes every page's
// JPEG into the Scanner folder and makes its thumbnail. The plain extraction of the same pages
// by the chart-file reader is measured beside it, so the window's share shows as a ratio.
//
// Runs offscreen in a temporary workspace; no settings of the user are read or written.
#include "chartfile/ChartFileReader.h"
#include "chartfile/ChartPdfWriterPages.h"
#include "chartwork/MainForm.h"
#include "core/PathString.h"
#include "imaging/JpegCodec.h"
#include "index/ChartIndex.h"
#include "index/IndexFile.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kPages = 40;
constexpr int kPatient = 1234;
constexpr int kVolume = 3;

// No box may open during a run; one that would is counted and answered at once.
class SilentDialogs : public Dialogs {
public:
    int boxes = 0;
    int message(QWidget*, Kind, const QString& text, int buttons) override {
        ++boxes;
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
        return buttons & Yes ? Yes : Ok;
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

// A scanned A4 page at 150 dpi: paper, rules and strokes of ink, a little sensor noise.
QByteArray scanJpeg(quint32 seed) {
    QRandomGenerator random(seed);
    QImage image(1240, 1754, QImage::Format_RGB32);
    image.fill(QColor(244, 241, 232));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(150, 170, 200), 2));
    for (int y = 150; y < 1650; y += 45)
        painter.drawLine(75, y, 1165, y);
    painter.setPen(QPen(QColor(25, 30, 70), 3));
    for (int y = 140; y < 1600; y += 45) {
        int x = 90;
        const int end = 300 + random.bounded(800);
        while (x < end) {
            const int step = 8 + random.bounded(20);
            painter.drawLine(x, y - random.bounded(20), x + step, y - random.bounded(20));
            x += step;
        }
    }
    painter.end();
    for (int i = 0; i < 40000; ++i) {
        const int x = random.bounded(image.width()), y = random.bounded(image.height());
        image.setPixelColor(x, y, QColor(220, 215, 205));
    }
    return encodeJpeg(image, 90);
}

struct Workbench {
    QTemporaryDir temp;
    Workspace workspace{temp.filePath(QStringLiteral("program"))};
    QString target = temp.filePath(QStringLiteral("charts")) + QLatin1Char('/');
    QString pdf;
    SilentDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    Workbench() {
        qputenv("XDG_CONFIG_HOME", temp.filePath(QStringLiteral("config")).toLocal8Bit());
        QDir().mkpath(workspace.scannerDir());
        QDir().mkpath(workspace.databaseDir());
        createIndexFile(workspace.indexFile());

        TPathString folder;
        folder.SetNumber(kPatient);
        const QString fileName = QStringLiteral("HP1_1234_3_01.pdf");
        QDir().mkpath(toNativePath(target + folder.RelativeFolder()));
        pdf = toNativePath(target + folder.RelativeFolder() + QStringLiteral("\\") + fileName);

        QList<ChartPageInput> pages;
        for (int i = 0; i < kPages; ++i) {
            const QString scan = temp.filePath(QStringLiteral("scan%1.jpg").arg(i));
            QFile file(scan);
            file.open(QIODevice::WriteOnly);
            file.write(scanJpeg(quint32(i + 1)));
            file.close();
            pages.append({scan, i % 3 == 0 ? QStringLiteral("所見") : QString(),
                          i % 5 == 0 ? QStringLiteral("栞%1").arg(i) : QString()});
        }
        TPdfWriteForm writer;
        writeChartPdf(writer, pdf, ChartPdfSettings(), pages, QStringLiteral("bench"));

        IndexRow row;
        row.patientNo = kPatient;
        row.volumeNo = kVolume;
        row.filePath = folder.RelativeFolder();
        row.fileName = fileName;
        ChartIndex index;
        index.open(workspace.indexFile());
        index.insertVolume(row);
        index.close();

        Dialogs::install(&dialogs);
        form = std::make_unique<TMainForm>(workspace);
        form->FormCreate();
        form->show();
        form->Reg.Target = target;
    }
    ~Workbench() {
        form.reset();
        Dialogs::install(nullptr);
    }
};

// Made in main(), after the application object and destroyed before it.
Workbench* gBench = nullptr;

Workbench& bench() {
    return *gBench;
}

void BM_ReadChartPdfPages(benchmark::State& state) {
    Workbench& b = bench();
    for (auto _ : state)
        benchmark::DoNotOptimize(readChartPdfPages(b.pdf));
    state.counters["pages"] = kPages;
    state.counters["MB"] = double(QFileInfo(b.pdf).size()) / 1e6;
}
BENCHMARK(BM_ReadChartPdfPages)->Unit(benchmark::kMillisecond);

void BM_SelectExistingVolume(benchmark::State& state) {
    Workbench& b = bench();
    TMainForm& form = *b.form;
    for (auto _ : state) {
        state.PauseTiming();
        form.ClearButton->click(); // empties the Scanner folder and the working pages
        state.ResumeTiming();
        form.IdEdit->setText(QString::number(kPatient));
        form.PidBtn->click();
        form.VolNoEdit->setEditText(QString::number(kVolume));
        form.SubNoBtn->click();
        if (form.WorkingPages.count() != kPages || b.dialogs.boxes != 0)
            state.SkipWithError("the volume was not loaded");
    }
    state.counters["pages"] = kPages;
}
BENCHMARK(BM_SelectExistingVolume)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto workbench = std::make_unique<Workbench>();
    gBench = workbench.get();
    benchmark::RunSpecifiedBenchmarks();
    gBench = nullptr;
    workbench.reset();
    benchmark::Shutdown();
    return 0;
}
