// Makes a ready demo workspace: tovane-make-demo <folder>
//
//   <folder>/program/   the program folder: Scanner (a few sample pages), Database (an empty
//                       chart index), Import, Log, Export, Paper, Comment.txt, Shiori.txt
//   <folder>/samples/   the same sample pages again: the workstation empties its Scanner folder
//                       at every start, so ファイル → 画像ファイル読込み opens here
//   <folder>/charts/    the base folder of the chart PDFs
//   <folder>/config/    XDG_CONFIG_HOME of the demo, holding its own settings file
//
// Nothing outside <folder> is touched. An existing workspace is left as it is.

#include "core/Registory.h"
#include "core/TextLines.h"
#include "index/ChartIndex.h"
#include "index/IndexFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cstdio>

namespace {

// A page of a paper chart at 150 dpi: a ruled form with a heading and a few handwritten-looking
// strokes, so that thumbnails and pages look like what a clinic scans.
QImage samplePage(int number) {
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.fill(QColor(250, 249, 244));
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    QFont heading(QStringLiteral("IPAGothic"));
    heading.setPixelSize(56);
    p.setFont(heading);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 80, 1240, 90), Qt::AlignCenter, QStringLiteral("診 療 録"));
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.drawRect(90, 200, 1060, 1460);
    p.setPen(QPen(QColor(150, 150, 170), 1));
    for (int y = 280; y < 1660; y += 60)
        p.drawLine(90, y, 1150, y);
    p.drawLine(400, 200, 400, 1660);
    QFont body(QStringLiteral("IPAMincho"));
    body.setPixelSize(34);
    p.setFont(body);
    p.setPen(QColor(20, 30, 110));
    p.drawText(110, 250, QStringLiteral("サンプル %1 ページ").arg(number));
    QRandomGenerator rng(number);
    for (int line = 0; line < 12; ++line) {
        QPainterPath stroke;
        const int y = 330 + line * 60;
        stroke.moveTo(430, y);
        for (int x = 430; x < 1100; x += 18)
            stroke.lineTo(x, y + rng.bounded(-14, 14));
        p.drawPath(stroke);
    }
    return page;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen").toLocal8Bit());
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tovane-make-demo <folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString program = root.filePath(QStringLiteral("program"));
    const QString charts = root.filePath(QStringLiteral("charts"));
    const QString config = root.filePath(QStringLiteral("config"));
    const QString samples = root.filePath(QStringLiteral("samples"));
    const QString indexFile = program + QStringLiteral("/Database/WembaTovaneDb.sqb");
    if (QFile::exists(indexFile)) {
        std::printf("demo workspace ready: %s\n", qPrintable(root.absolutePath()));
        return 0;
    }

    for (const QString& dir :
         {program + "/Scanner", program + "/Database", program + "/Import", program + "/Log",
          program + "/Export", program + "/Paper", charts, config, samples})
        QDir().mkpath(dir);

    for (int i = 1; i <= 4; ++i) {
        const QImage page = samplePage(i);
        const QString name = QStringLiteral("page%1.jpg").arg(i, 2, 10, QChar('0'));
        page.save(program + QStringLiteral("/Scanner/") + name, "JPEG", 85);
        page.save(samples + QLatin1Char('/') + name, "JPEG", 85);
    }
    writeCp932Lines(program + "/Comment.txt",
                    {QStringLiteral("異常なし"), QStringLiteral("要再検査"), QStringLiteral("済")});
    writeCp932Lines(program + "/Shiori.txt",
                    {QStringLiteral("初診"), QStringLiteral("検査結果"), QStringLiteral("紹介状")});

    // The demo's own settings: charts go into the demo folder, and volumes may be overwritten.
    TRegistory reg;
    reg.setStorePath(config + QStringLiteral("/Nadrel/TovaneFileLite20.reg"));
    reg.Target = QDir(charts).absolutePath() + QLatin1Char('/');
    reg.HPCode = QStringLiteral("1312345678");
    reg.HPName = QStringLiteral("デモ診療所");
    reg.KaCode = QStringLiteral("01");
    reg.WriteInhibit = false;
    reg.FileOpenDir = QDir(samples).absolutePath() + QLatin1Char('/');
    reg.Save();

    // The index file last: its presence marks a complete workspace.
    createIndexFile(indexFile);
    std::printf("demo workspace made: %s\n", qPrintable(root.absolutePath()));
    return 0;
}
