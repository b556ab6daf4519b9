// chartpdf: reads chart PDFs exactly as the workstation does, for administrators and tests.

#include "Commands.h"

#include <QCoreApplication>

#include <iostream>

namespace {

struct Subcommand {
    const char* name;
    const char* arguments;
    const char* summary;
    int (*run)(const QStringList& args);
};

const Subcommand kSubcommands[] = {
    {"info", "FILE", "page count, then per page: number, image name, image length, note, bookmark",
     infoCommand},
    {"extract", "FILE DIR", "writes every page's JPEG as DIR/<image name>.jpg", extractCommand},
    {"write",
     "OUT.pdf [--width W] [--height H] [--quality Q] [--no-stretch] IMAGE[::NOTE[::BOOKMARK]]...",
     "writes a chart PDF from image files with the workstation's writer", writeCommand},
};

int usage() {
    std::cerr << "usage:\n";
    for (const Subcommand& c : kSubcommands)
        std::cerr << "  chartpdf " << c.name << ' ' << c.arguments << "\n      " << c.summary
                  << '\n';
    return 2;
}

} // namespace

void printOut(const QString& line) {
    std::cout << line.toStdString() << '\n';
}
void printError(const QString& line) {
    std::cerr << line.toStdString() << '\n';
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    for (const Subcommand& c : kSubcommands) {
        if (args.first() == QLatin1String(c.name))
            return c.run(args.mid(1));
    }
    return usage();
}
