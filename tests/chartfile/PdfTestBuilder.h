#pragma once
// Builds small PDFs for the reader's tests: objects as text, with the cross-reference
// offsets computed, and the chart PDF layout on top (catalog, information, one Pages node,
// outline, and per page a page, its content stream, its JPEG image and its note).

#include <QByteArray>
#include <QString>

#include <functional>
#include <ostream>
#include <vector>

// A PDF assembled from object values: "%PDF-..." header, objects 1..n in order, one xref
// section, the trailer and the tail. Every part can be changed before build().
struct PdfTestBuilder {
    QByteArray header = "%PDF-1.2 \r\n";
    std::vector<QByteArray> objects; // objects[i] is the value of object i + 1
    QByteArray trailer;              // empty: /Size, /Root and /Info from the fields below
    int root = 1;
    int info = 2;
    QByteArray entryEnd = "\r\n"; // of every xref entry line
    QByteArray afterXref;         // bytes between the xref entries and "trailer"
    QByteArray tail = "%%EOF\r\n";
    QByteArray startxrefLine; // empty: "startxref\r\n<offset>\r\n"

    int add(const QByteArray& value);
    QByteArray& object(int number) { return objects.at(size_t(number - 1)); }
    // Replaces the first `from` in an object's value; throws (failing the test) when it is missing.
    void edit(int number, const QByteArray& from, const QByteArray& to);

    QByteArray build() const;
    // Offsets of the objects in the last build.
    mutable std::vector<qint64> offsets;
    mutable qint64 xrefOffset = 0;
};

// A string of a chart PDF: Unicode hex with the language-escape prefix when the text holds
// a double-byte character, else a literal string with escapes.
QByteArray pdfTestText(const QString& text);
// The Unicode form whatever the text.
QByteArray pdfTestUnicode(const QString& text);

struct TestPage {
    QByteArray jpeg;
    QString note;
    QString bookmark;
    QByteArray imageName;
};

// A chart PDF as the writer lays it out. Object numbers of its parts are kept so that tests
// can change them.
struct ChartPdfFixture {
    static constexpr int catalog = 1, info = 2, pages = 3, outlines = 4, font = 5;
    QString author = QStringLiteral("Ｒ２．０");
    QString subject = QStringLiteral("ＬＩＴＥ");
    std::vector<TestPage> pageList;

    struct Numbers {
        int page = 0, contents = 0, image = 0, annot = 0, item = 0;
    };
    std::vector<Numbers> numbers; // per page, filled by make()

    PdfTestBuilder make();
    // make(), the change, build().
    QByteArray build(const std::function<void(PdfTestBuilder&, ChartPdfFixture&)>& change = {});
};

// Bytes that start like a JPEG file; the reader never decodes them.
QByteArray fakeJpeg(int length, char fill = 'x');

// Three pages: a note and a bookmark; nothing; a bookmark of 70 characters.
ChartPdfFixture threePageChart();

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
