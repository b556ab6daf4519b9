#include "ChartPdfWriterTestSupport.h"

#include "imaging/JpegCodec.h"
#include "support/TempDir.h"

#include <QPainter>
#include <gtest/gtest.h>

QImage scanImage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(247, 245, 238));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(20, 20, 60), std::max(1, size.width() / 300)));
    for (int y = size.height() / 8; y < size.height(); y += std::max(4, size.height() / 30))
        for (int x = size.width() / 10; x < size.width() * 9 / 10; x += size.width() / 20)
            painter.drawLine(x, y, x + size.width() / 30, y + size.height() / 80);
    const int marker = std::max(2, size.width() / 12);
    painter.fillRect(0, 0, marker, marker, Qt::black);
    painter.fillRect(size.width() - marker, size.height() - marker, marker, marker, Qt::red);
    return image;
}

void writeScan(const QString& path, QSize size, int quality) {
    writeFile(path, encodeJpeg(scanImage(size), quality));
}

void makeRepeatable(TPdfWriteForm& writer) {
    auto counter = std::make_shared<quint32>(100);
    writer.setRandomSource([counter] { return (*counter)++; });
    writer.setClock([] { return QDateTime(QDate(2011, 5, 6), QTime(9, 3, 7)); });
}

WrittenPdf::WrittenPdf(const QString& path) : bytes_(readFile(path)) {
    const qsizetype start = bytes_.lastIndexOf("startxref\r\n");
    if (start < 0)
        return;
    const qint64 xref = bytes_.mid(start + 11).split('\r').first().toLongLong();
    const qsizetype countAt = xref + 6; // after "xref" CR LF and "0 "
    const int size = bytes_.mid(countAt + 2).split('\r').first().toInt();
    const qsizetype entries = bytes_.indexOf("\r\n", countAt) + 2;
    for (int i = 1; i < size; ++i)
        offsets_ << bytes_.mid(entries + i * 20, 10).toLongLong();
}

QByteArray WrittenPdf::object(int number) const {
    const QByteArray head = QByteArray::number(number) + " 0 obj\r\n";
    const qint64 at = offset(number);
    if (bytes_.mid(at, head.size()) != head)
        return QByteArray();
    const qsizetype begin = at + head.size();
    const qsizetype end = bytes_.indexOf("\r\nendobj\r\n", begin);
    return bytes_.mid(begin, end - begin);
}

QByteArray WrittenPdf::streamData(int number) const {
    const QByteArray value = object(number);
    const qsizetype begin = value.indexOf(">>\r\nstream\r\n") + 12;
    const qsizetype length = WrittenPdf::value(value, "Length").toLongLong();
    return value.mid(begin, length);
}

QList<int> WrittenPdf::pages() const {
    const QByteArray trailer = bytes_.mid(bytes_.lastIndexOf("trailer\r\n"));
    const QByteArray catalog = object(reference(value(trailer, "Root")));
    QByteArray kids = value(object(reference(value(catalog, "Pages"))), "Kids");
    QList<int> result;
    for (const QByteArray& part : kids.mid(1, kids.size() - 2).split('R'))
        if (!part.trimmed().isEmpty())
            result << reference(part.trimmed() + " R");
    return result;
}

QByteArray WrittenPdf::value(const QByteArray& dictionary, const QByteArray& key) {
    const QByteArray needle = "\r\n/" + key + ' ';
    const qsizetype at = dictionary.indexOf(needle);
    if (at < 0)
        return QByteArray();
    const qsizetype begin = at + needle.size();
    return dictionary.mid(begin, dictionary.indexOf("\r\n", begin) - begin);
}

int WrittenPdf::reference(const QByteArray& value) {
    return value.endsWith(" 0 R") ? value.split(' ').first().toInt() : 0;
}

ToolRun runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForFinished(60000)) {
        run.out = program + QStringLiteral(" did not run");
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAll());
    return run;
}
