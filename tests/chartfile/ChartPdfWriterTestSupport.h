#pragma once
// Helpers shared by the chart PDF writer's tests: page images to write, a writer whose
// output is repeatable, a look into the written file, and the PDF tools nobody here wrote.

#include "chartfile/ChartPdfWriter.h"

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

// A scanned-looking page: paper, lines of "handwriting", a black marker square in the
// top-left corner and a red one in the bottom-right.
QImage scanImage(QSize size);

// Writes scanImage(size) as a JPEG file.
void writeScan(const QString& path, QSize size, int quality = 85);

// A writer with a fixed clock (2011-05-06 09:03:07) and random numbers counting up from 100,
// so that two writes of the same pages give the same bytes.
void makeRepeatable(TPdfWriteForm& writer);

// A written chart PDF, indexed by its own cross-reference table.
class WrittenPdf {
public:
    explicit WrittenPdf(const QString& path);
    const QByteArray& bytes() const { return bytes_; }
    int objectCount() const { return int(offsets_.size()); }
    qint64 offset(int object) const { return offsets_.at(object - 1); }
    // The object's value: the bytes between "n 0 obj" CR LF and CR LF "endobj".
    QByteArray object(int number) const;
    // A stream object's data.
    QByteArray streamData(int number) const;
    // The object numbers of the pages, in Kids order.
    QList<int> pages() const;
    // A dictionary value by key, as written ("/Key value" on its own line).
    static QByteArray value(const QByteArray& dictionary, const QByteArray& key);
    static int reference(const QByteArray& value); // "12 0 R" -> 12

private:
    QByteArray bytes_;
    QList<qint64> offsets_;
};

struct ToolRun {
    int exitCode = -1;
    QString out; // standard output and error together
};
ToolRun runTool(const QString& program, const QStringList& arguments);
