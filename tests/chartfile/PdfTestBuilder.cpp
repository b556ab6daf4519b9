#include "PdfTestBuilder.h"

#include "core/Cp932.h"

#include <stdexcept>

int PdfTestBuilder::add(const QByteArray& value) {
    objects.push_back(value);
    return int(objects.size());
}

void PdfTestBuilder::edit(int number, const QByteArray& from, const QByteArray& to) {
    QByteArray& value = object(number);
    const qsizetype at = value.indexOf(from);
    if (at < 0)
        throw std::logic_error("object " + std::to_string(number) + " lacks " + from.toStdString());
    value.replace(at, from.size(), to);
}

QByteArray PdfTestBuilder::build() const {
    QByteArray out = header;
    offsets.clear();
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += QByteArray::number(qulonglong(i + 1)) + " 0 obj\r\n" + objects[i] + "\r\nendobj\r\n";
    }
    xrefOffset = out.size();
    out += "xref\r\n0 " + QByteArray::number(qulonglong(objects.size() + 1)) + "\r\n";
    out += "0000000000 65535 f" + entryEnd;
    for (qint64 offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n" + entryEnd;
    out += afterXref;
    out += "trailer\r\n";
    out += trailer.isEmpty() ? "<<\r\n/Size " + QByteArray::number(qulonglong(objects.size() + 1)) +
                                   "\r\n/Root " + QByteArray::number(root) + " 0 R\r\n/Info " +
                                   QByteArray::number(info) + " 0 R\r\n>>"
                             : trailer;
    out += "\r\n";
    out += startxrefLine.isEmpty() ? "startxref\r\n" + QByteArray::number(xrefOffset) + "\r\n"
                                   : startxrefLine;
    out += tail;
    return out;
}

QByteArray pdfTestUnicode(const QString& text) {
    QByteArray hex = "<FEFF001B656E001B";
    for (QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return hex + ">";
}

QByteArray pdfTestText(const QString& text) {
    const QByteArray cp932 = toCp932(text);
    for (char c : cp932) {
        if (isCp932LeadByte(uchar(c)))
            return pdfTestUnicode(text);
    }
    QByteArray literal = "(";
    for (char c : cp932) {
        switch (c) {
        case '(':
        case ')':
        case '\\':
            literal += '\\';
            literal += c;
            break;
        case '\r':
            literal += "\\r";
            break;
        case '\n':
            literal += "\\n";
            break;
        case '\t':
            literal += "\\t";
            break;
        case '\b':
            literal += "\\b";
            break;
        case '\f':
            literal += "\\f";
            break;
        default:
            literal += c;
        }
    }
    return literal + ")";
}

QByteArray fakeJpeg(int length, char fill) {
    QByteArray bytes(length, fill);
    const char soi[] = {char(0xFF), char(0xD8), char(0xFF), char(0xE0)};
    for (int i = 0; i < length && i < 4; ++i)
        bytes[i] = soi[i];
    return bytes;
}

PdfTestBuilder ChartPdfFixture::make() {
    PdfTestBuilder b;
    b.add(""); // catalog, filled below once the pages are numbered
    b.add("<<\r\n/Producer (PowerPdf version 0.9)\r\n/Author " + pdfTestText(author) +
          "\r\n/Subject " + pdfTestText(subject) + "\r\n/Title " +
          pdfTestText(QStringLiteral("トヴァネファイル")) + "\r\n/Keywords (Wemba)\r\n/Creator " +
          pdfTestText(QStringLiteral("２０２６／１２／１１")) +
          "\r\n/CreationDate (D:20261211123456)\r\n/ModDate (D:20261211123456)\r\n>>");
    b.add(""); // pages
    b.add(""); // outlines
    b.add("<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/BaseFont /Helvetica\r\n/Name /F0\r\n>>");
    numbers.assign(pageList.size(), {});
    QByteArray kids;
    for (size_t i = 0; i < pageList.size(); ++i) {
        const TestPage& p = pageList[i];
        Numbers& n = numbers[i];
        n.page = b.add("");
        n.contents = b.add("<<\r\n/Length 4\r\n>>\r\nstream\r\nq Q\n\nendstream");
        const QByteArray name = p.imageName.isEmpty()
                                    ? "PRJpegImage1" + QByteArray::number(qulonglong(1000 + i))
                                    : p.imageName;
        n.image = b.add("<<\r\n/Length " + QByteArray::number(p.jpeg.size()) +
                        "\r\n/Filter [/DCTDecode ]\r\n/Type /XObject\r\n/Subtype /Image\r\n"
                        "/ColorSpace /DeviceRGB\r\n/Width 10\r\n/Height 10\r\n"
                        "/BitsPerComponent 8\r\n/Name /" +
                        name + "\r\n>>\r\nstream\r\n" + p.jpeg + "\nendstream");
        if (!p.note.isEmpty())
            n.annot = b.add("<<\r\n/Type /Annot\r\n/Subtype /Text\r\n/Rect [673 903 773 873 ]\r\n"
                            "/Contents " +
                            pdfTestText(p.note) + "\r\n/S (PRAnnotation1)\r\n>>");
        b.object(n.page) =
            "<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 700 1000 ]\r\n/Resources <<\r\n"
            "/Font <<\r\n/F0 5 0 R\r\n>>\r\n/XObject <<\r\n/" +
            name + " " + QByteArray::number(n.image) +
            " 0 R\r\n>>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n"
            "/Contents " +
            QByteArray::number(n.contents) + " 0 R\r\n" +
            (n.annot ? "/Annots [" + QByteArray::number(n.annot) + " 0 R ]\r\n" : QByteArray()) +
            ">>";
        kids += QByteArray::number(n.page) + " 0 R ";
    }
    std::vector<size_t> marked;
    for (size_t i = 0; i < pageList.size(); ++i) {
        if (!pageList[i].bookmark.isEmpty()) {
            numbers[i].item = b.add("");
            marked.push_back(i);
        }
    }
    for (size_t k = 0; k < marked.size(); ++k) {
        const Numbers& n = numbers[marked[k]];
        QByteArray item = "<<\r\n/Count 0\r\n/Title " + pdfTestText(pageList[marked[k]].bookmark) +
                          "\r\n/Dest [" + QByteArray::number(n.page) +
                          " 0 R /XYZ 0 1000 1 ]\r\n/Parent 4 0 R\r\n";
        if (k > 0)
            item += "/Prev " + QByteArray::number(numbers[marked[k - 1]].item) + " 0 R\r\n";
        if (k + 1 < marked.size())
            item += "/Next " + QByteArray::number(numbers[marked[k + 1]].item) + " 0 R\r\n";
        b.object(n.item) = item + ">>";
    }
    QByteArray outline =
        "<<\r\n/Type /Outlines\r\n/Count " + QByteArray::number(qulonglong(marked.size())) + "\r\n";
    if (!marked.empty())
        outline += "/First " + QByteArray::number(numbers[marked.front()].item) + " 0 R\r\n/Last " +
                   QByteArray::number(numbers[marked.back()].item) + " 0 R\r\n";
    b.object(outlines) = outline + ">>";
    b.object(pages) = "<<\r\n/Type /Pages\r\n/Kids [" + kids + "]\r\n/Count " +
                      QByteArray::number(qulonglong(pageList.size())) + "\r\n>>";
    const QByteArray last = numbers.empty() ? "3" : QByteArray::number(numbers.back().page);
    b.object(catalog) = "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/Outlines 4 0 R\r\n"
                        "/PageMode /UseOutlines\r\n/PageLayout /SinglePage\r\n/OpenAction [" +
                        last + " 0 R /XYZ 0 1000 1 ]\r\n>>";
    return b;
}

QByteArray
ChartPdfFixture::build(const std::function<void(PdfTestBuilder&, ChartPdfFixture&)>& change) {
    PdfTestBuilder b = make();
    if (change)
        change(b, *this);
    return b.build();
}

ChartPdfFixture threePageChart() {
    ChartPdfFixture f;
    f.pageList = {
        {fakeJpeg(300, 'a'), QStringLiteral("初診\r所見あり\r"), QStringLiteral("初診"), {}},
        {fakeJpeg(200, 'b'), {}, {}, {}},
        {fakeJpeg(150, 'c'), {}, QString(70, QChar(u'記')), {}},
    };
    return f;
}
