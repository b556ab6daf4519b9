#include "chartfile/ChartPdfWriterDocument.h"

#include "chartfile/PageTitleFont.h"
#include "chartfile/PdfSink.h"
#include "chartfile/PdfText.h"

namespace {

// Where the page template puts its parts, from the page's top-left corner.
constexpr int kLeft = 33;
constexpr int kTitleTop = 39;
constexpr int kImageTop = 57;
constexpr int kNoteLeft = 673, kNoteTop = 97, kNoteWidth = 100, kNoteHeight = 30;

// The fixed objects; each page's objects and then the outline items follow them.
enum FixedObject { kCatalog = 1, kInfo, kPages, kOutlines, kFont, kCidFont, kFontDescriptor };
constexpr int kFirstPageObject = kFontDescriptor + 1;

// "0000001234 00000 n" CR LF: exactly 20 bytes.
QByteArray xrefEntry(qint64 offset) {
    QByteArray entry = "0000000000 00000 n\r\n";
    for (int i = 9; i >= 0 && offset > 0; --i, offset /= 10)
        entry[i] = static_cast<char>('0' + offset % 10);
    return entry;
}

struct PageObjects {
    int page = 0;
    int image = 0;
    int contents = 0;
    int note = 0; // 0: the page has no note
};

// Emits numbered objects and remembers where each begins, as the sink counts it.
class ObjectWriter {
public:
    explicit ObjectWriter(PdfSink& sink) : sink_(sink) {}

    void begin(int number) {
        offsets_.push_back(sink_.offset());
        Q_ASSERT(number == static_cast<int>(offsets_.size()));
        sink_ << number << " 0 obj\r\n";
    }
    void end() { sink_ << "\r\nendobj\r\n"; }

    void object(int number, const QByteArray& value) {
        begin(number);
        sink_ << value;
        end();
    }

    // A stream object: its dictionary (Length direct, never a reference), CR LF, "stream",
    // CR LF, the data, LF, "endstream".
    void stream(int number, const PdfDictionary& dictionary, const QByteArray& data) {
        begin(number);
        sink_ << dictionary.bytes() << "\r\nstream\r\n" << data << "\nendstream";
        end();
    }

    // The cross-reference table of 20-byte entries and the trailer.
    void finish() {
        const qint64 xref = sink_.offset();
        const int size = static_cast<int>(offsets_.size()) + 1;
        sink_ << "xref\r\n0 " << size << "\r\n";
        sink_ << "0000000000 00000 f\r\n";
        for (qint64 offset : offsets_)
            sink_ << xrefEntry(offset);
        sink_ << "trailer\r\n"
              << PdfDictionary()
                     .add("Size", pdfNumber(size))
                     .add("Root", pdfReference(kCatalog))
                     .add("Info", pdfReference(kInfo))
                     .bytes()
              << "\r\nstartxref\r\n"
              << xref << "\r\n%%EOF\r\n";
    }

private:
    PdfSink& sink_;
    std::vector<qint64> offsets_;
};

QByteArray destination(int page, int pageHeight) {
    return pdfArray({pdfReference(page), "/XYZ", "0", pdfNumber(pageHeight), "1"});
}

std::vector<PageObjects> numberPages(const ChartDocument& document, int& next) {
    std::vector<PageObjects> objects;
    next = kFirstPageObject;
    for (const ChartDocumentPage& page : document.pages) {
        PageObjects o;
        o.page = next++;
        o.image = next++;
        o.contents = next++;
        if (!page.note.isEmpty())
            o.note = next++;
        objects.push_back(o);
    }
    return objects;
}

QByteArray info(const ChartDocument& document) {
    const QByteArray date = pdfLiteralString(pdfDate(document.created));
    return PdfDictionary()
        .add("Producer", pdfTextString(QStringLiteral("PowerPdf version 0.9")))
        .add("Author", pdfTextString(QStringLiteral("Ｒ２．０")))
        .add("Subject", pdfTextString(QStringLiteral("ＬＩＴＥ")))
        .add("Title", pdfTextString(QStringLiteral("トヴァネファイル")))
        .add("Keywords", pdfTextString(QStringLiteral("Wemba")))
        .add("Creator", pdfTextString(document.creator))
        .add("CreationDate", date)
        .add("ModDate", date)
        .bytes();
}

void writePage(ObjectWriter& out, const ChartDocument& document, const ChartDocumentPage& page,
               const PageObjects& o) {
    const int height = document.pageHeight;
    const QByteArray imageName = '/' + page.imageName;
    PdfDictionary resources;
    resources.add("Font", PdfDictionary().add(kTitleFontResource, pdfReference(kFont)).bytes())
        .add("XObject", PdfDictionary().add(page.imageName, pdfReference(o.image)).bytes())
        .add("ProcSet", pdfArray({"/PDF", "/Text", "/ImageC"}));
    PdfDictionary dictionary;
    dictionary.add("Type", "/Page")
        .add("Parent", pdfReference(kPages))
        .add("MediaBox", pdfArray({"0", "0", pdfNumber(document.pageWidth), pdfNumber(height)}))
        .add("Resources", resources.bytes())
        .add("Contents", pdfReference(o.contents));
    if (o.note)
        dictionary.add("Annots", pdfArray({pdfReference(o.note)}));
    out.object(o.page, dictionary.bytes());

    out.stream(o.image,
               PdfDictionary()
                   .add("Length", pdfNumber(page.jpeg.size()))
                   .add("Filter", pdfArray({"/DCTDecode"}))
                   .add("Type", "/XObject")
                   .add("Subtype", "/Image")
                   .add("ColorSpace", "/DeviceRGB")
                   .add("Width", pdfNumber(page.size.width()))
                   .add("Height", pdfNumber(page.size.height()))
                   .add("BitsPerComponent", "8")
                   .add("Name", imageName),
               page.jpeg);

    const QByteArray contents = titleTextOperators(page.title, kLeft, kTitleTop, height) + "q\n" +
                                pdfNumber(page.size.width()) + " 0 0 " +
                                pdfNumber(page.size.height()) + ' ' + pdfNumber(kLeft) + ' ' +
                                pdfNumber(height - kImageTop - page.size.height()) + " cm\n" +
                                imageName + " Do\nQ\n";
    out.stream(o.contents, PdfDictionary().add("Length", pdfNumber(contents.size())), contents);

    if (o.note) {
        const QByteArray rect =
            pdfArray({pdfNumber(kNoteLeft), pdfNumber(height - kNoteTop - kNoteHeight),
                      pdfNumber(kNoteLeft + kNoteWidth), pdfNumber(height - kNoteTop)});
        out.object(o.note, PdfDictionary()
                               .add("Type", "/Annot")
                               .add("Subtype", "/Text")
                               .add("Rect", rect)
                               .add("Contents", pdfTextString(page.note))
                               .add("S", pdfTextString(QStringLiteral("PRAnnotation1")))
                               .bytes());
    }
}

} // namespace

void writeChartDocument(PdfSink& sink, const ChartDocument& document) {
    Q_ASSERT(!document.pages.empty());
    int next = 0;
    const std::vector<PageObjects> pages = numberPages(document, next);
    const int firstItem = next;
    const int items = static_cast<int>(document.bookmarks.size());

    sink << "%PDF-1.2 \r\n";
    ObjectWriter out(sink);
    out.object(kCatalog, PdfDictionary()
                             .add("Type", "/Catalog")
                             .add("Pages", pdfReference(kPages))
                             .add("Outlines", pdfReference(kOutlines))
                             .add("PageMode", "/UseOutlines")
                             .add("PageLayout", "/SinglePage")
                             .add("OpenAction", destination(pages.back().page, document.pageHeight))
                             .bytes());
    out.object(kInfo, info(document));
    QByteArrayList kids;
    for (const PageObjects& o : pages)
        kids << pdfReference(o.page);
    out.object(kPages, PdfDictionary()
                           .add("Type", "/Pages")
                           .add("Kids", pdfArray(kids))
                           .add("Count", pdfNumber(static_cast<qint64>(pages.size())))
                           .bytes());
    PdfDictionary outlines;
    outlines.add("Type", "/Outlines").add("Count", pdfNumber(items));
    if (items > 0)
        outlines.add("First", pdfReference(firstItem))
            .add("Last", pdfReference(firstItem + items - 1));
    out.object(kOutlines, outlines.bytes());
    out.object(kFont, titleFontDictionary(kCidFont));
    out.object(kCidFont, titleCidFontDictionary(kFontDescriptor));
    out.object(kFontDescriptor, titleFontDescriptor());

    for (size_t i = 0; i < pages.size(); ++i)
        writePage(out, document, document.pages[i], pages[i]);

    for (int i = 0; i < items; ++i) {
        const ChartDocumentBookmark& bookmark = document.bookmarks[size_t(i)];
        PdfDictionary item;
        item.add("Count", "0")
            .add("Title", pdfTextString(bookmark.title))
            .add("Parent", pdfReference(kOutlines))
            .add("Dest", destination(pages[size_t(bookmark.page)].page, document.pageHeight));
        if (i > 0)
            item.add("Prev", pdfReference(firstItem + i - 1));
        if (i + 1 < items)
            item.add("Next", pdfReference(firstItem + i + 1));
        out.object(firstItem + i, item.bytes());
    }
    out.finish();
    sink.flush();
}
