#include "chartfile/PdfDocument.h"

#include "chartfile/PdfDictionaryLoop.h"
#include "chartfile/PdfError.h"

PdfDocument::PdfDocument(PdfSource source) : source_(std::move(source)) {
    header_ = readPdfHeader(source_);
    xref_.read(source_, header_.lastXrefOffset);
    readCatalog();
    readInformation();
}

qint64 PdfDocument::locateObject(QByteArrayView reference, ObjectId* id) {
    const auto wanted = parseReference(reference);
    if (!wanted)
        throw PdfError(QStringLiteral("PDF OBJ FORMAT ERROR"));
    const auto offset = xref_.findInUse(*wanted);
    if (!offset)
        throw PdfError(QStringLiteral("PDF OBJ INDEX ERROR"));
    PdfSource& s = source_;
    s.seek(*offset);
    const auto number = parsePdfInt32(s.readDigits());
    if (!number)
        throw PdfError(withPosition("PDF OBJ NO ERROR Address : ", s.pos()));
    s.skipBlanks();
    const auto generation = parsePdfInt32(s.readDigits());
    if (!generation)
        throw PdfError(QStringLiteral("PDF GEN NO ERROR"));
    s.skipBlanks();
    if (!s.readMatches("obj"))
        throw PdfError(withPosition("PDF OBJ NOT FOUND ERROR Address : ", s.pos()));
    if (*number != wanted->number)
        throw PdfError(QStringLiteral("SYSTEM OBJ UNMATCH ERROR"));
    if (*generation != wanted->generation)
        throw PdfError(QStringLiteral("SYSTEM GEN UNMATCH ERROR"));
    s.skipBlanks();
    s.skipLineBreak();
    if (id)
        *id = *wanted;
    return s.pos();
}

void PdfDocument::readCatalog() {
    PdfSource& s = source_;
    DocumentCatalog& c = catalog_;
    locateObject(xref_.trailer().root, &c.id);
    if (!s.lookingAt("<<"))
        throw PdfError(QStringLiteral("PDF CATALOG DICTIONARY ERROR"));
    enterDictionary(s);
    // Keys of the catalog table of the PDF 1.7 standard, OCProperties excepted. A value of
    // another form than its reader expects derails the loop; the "endobj" check below then
    // refuses the catalog.
    readDictionaryEntries(s, [&](const QByteArray& key) {
        if (key == "Type")
            c.type = s.readName();
        else if (key == "Version")
            c.version = s.readName();
        else if (key == "Pages")
            c.pages = s.readReference();
        else if (key == "PageLabels")
            c.pageLabels = s.readReference();
        else if (key == "Names")
            c.names = s.readReference();
        else if (key == "Dests")
            c.dests = s.skipDictionary();
        else if (key == "ViewerPreferences")
            c.viewerPreferences = s.skipDictionary();
        else if (key == "PageLayout")
            c.pageLayout = s.readName();
        else if (key == "PageMode")
            c.pageMode = s.readName();
        else if (key == "Outlines")
            c.outlines = s.readReference();
        else if (key == "Threads")
            c.threads = s.skipArray();
        else if (key == "OpenAction")
            c.openAction = s.skipDictionaryOrArray();
        else if (key == "Metadata")
            c.metadata = s.readReference();
        else if (key == "StructTreeRoot")
            c.structTreeRoot = s.readReference();
        else if (key == "MarkInfo")
            c.markInfo = s.skipDictionary();
        else if (key == "Lang")
            readPdfString(s);
        else if (key == "Collection")
            c.collection = s.readReference();
        else if (key == "AA" || key == "URI" || key == "AcroForm" || key == "SpiderInfo" ||
                 key == "OutputIntents" || key == "PieceInfo" || key == "Perms" || key == "Legal" ||
                 key == "Requirements" || key == "NeedsRendering")
            s.readName();
        else
            throw PdfError(QStringLiteral("PDF CATALOG KEY NOT SUPPORT"));
        return true;
    });
    s.skipBlanks();
    if (!s.readMatches("endobj"))
        throw PdfError(QStringLiteral("PDF CATALOG PAGE ERROR"));
}

void PdfDocument::readInformation() {
    PdfSource& s = source_;
    DocumentInformation& d = info_;
    locateObject(xref_.trailer().info, &d.id);
    if (!s.lookingAt("<<"))
        throw PdfError(QStringLiteral("PDF INFO DICTIONARY ERROR"));
    enterDictionary(s);
    readDictionaryEntries(s, [&](const QByteArray& key) {
        QString* text = key == "Title"          ? &d.title
                        : key == "Author"       ? &d.author
                        : key == "Subject"      ? &d.subject
                        : key == "Keywords"     ? &d.keywords
                        : key == "Creator"      ? &d.creator
                        : key == "Producer"     ? &d.producer
                        : key == "CreationDate" ? &d.creationDate
                        : key == "ModDate"      ? &d.modDate
                                                : nullptr;
        if (text)
            *text = readPdfString(s);
        else if (key == "Trapped")
            d.trapped = s.readName();
        else
            throw PdfError(QStringLiteral("PDF INFO KEY NOT SUPPORT"));
        return true;
    });
    s.skipBlanks();
    if (!s.readMatches("endobj"))
        throw PdfError(QStringLiteral("PDF INFO OBJ ERROR"));
}
