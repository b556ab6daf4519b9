#include "chartfile/PdfDictionaryLoop.h"
#include "chartfile/PdfError.h"
#include "chartfile/PdfPages.h"

namespace pdfpage {

namespace {

// The XObject dictionary has 20 slots; filling the last one refuses the table.
constexpr int kXObjectSlots = 20;

PdfError resourceError() {
    return PdfError(QStringLiteral("PDF PAGE RESOURCE ERROR"));
}
PdfError xobjectError() {
    return PdfError(QStringLiteral("PDF PAGE XOBJECT ERROR"));
}

// What the image dictionary keeps of its values.
struct ImageDictionary {
    QByteArray length, subtype;
};

bool readImageDictionary(PdfSource& s, ImageDictionary& image) {
    s.skipBlanks();
    s.skipLineBreak();
    return readDictionaryEntries(s, [&](const QByteArray& key) {
        if (key == "Length")
            image.length = s.readDigits();
        else if (key == "Filter" || key == "FFilter")
            s.readNameOrArray();
        else if (key == "DecodeParms" || key == "FDecodeParms" || key == "Mask")
            s.passDictionaryOrArray();
        else if (key == "F")
            throw PdfError(QStringLiteral("F KEYIS NO SURPORTED "));
        else if (key == "DL" || key == "Width" || key == "Height" || key == "BitsPerComponent" ||
                 key == "SMaskInData" || key == "StructParent")
            s.readDigits();
        else if (key == "Subtype")
            image.subtype = s.readName();
        else if (key == "Type" || key == "ColorSpace" || key == "Intent" || key == "Name")
            s.readName();
        else if (key == "ImageMask" || key == "Interpolate")
            s.readToken();
        else if (key == "Decode" || key == "Alternates")
            s.skipArray();
        else if (key == "SMask")
            throw PdfError(QStringLiteral("SMasklnData KEYIS NO SURPORTED"));
        else if (key == "ID")
            readPdfString(s);
        else if (key == "OPI" || key == "OC")
            s.skipDictionary();
        else if (key == "Metadata")
            throw PdfError(QStringLiteral("Metadata KEYIS NO SURPORTED"));
        else
            return false;
        return true;
    });
}

} // namespace

qint64 readResources(PdfDocument& document, qint64 resources) {
    PdfSource& s = document.source();
    const bool version14 = document.header().version == "1.4";
    qint64 xobjects = 0;
    s.seek(resources);
    if (!s.readMatches("<<"))
        throw resourceError();
    s.skipBlanks();
    s.skipLineBreak();
    const bool ok = readDictionaryEntries(s, [&](const QByteArray& key) {
        // A 1.4 file carries ExtGState and Font as references, older ones inline.
        if (key == "ExtGState" || key == "Font") {
            if (version14)
                s.readReference();
            else
                s.passDictionary();
        } else if (key == "ColorSpace" || key == "Pattern" || key == "Shading" ||
                   key == "Properties") {
            s.passDictionary();
        } else if (key == "XObject") {
            xobjects = s.skipDictionary();
        } else if (key == "ProcSet") {
            s.passArray();
        } else {
            return false;
        }
        return true;
    });
    if (!ok)
        throw resourceError();
    return xobjects;
}

std::vector<XObjectEntry> readXObjectTable(PdfDocument& document, qint64 position) {
    PdfSource& s = document.source();
    std::vector<XObjectEntry> table;
    s.seek(position);
    if (!s.readMatches("<<"))
        throw xobjectError();
    s.skipBlanks();
    s.skipLineBreak();
    for (;;) {
        s.skipBlanks();
        const uchar c = s.readByte();
        if (c == '/') {
            XObjectEntry entry;
            entry.name = s.readKey();
            s.skipBlanks();
            entry.reference = s.readReference();
            s.skipLineBreak();
            table.push_back(std::move(entry));
            if (int(table.size()) >= kXObjectSlots)
                throw xobjectError();
        } else if (c == '>' && s.readByte() == '>') {
            s.skipBlanks();
            s.skipLineBreak();
            return table;
        } else {
            throw xobjectError();
        }
    }
}

void readImageXObject(PdfDocument& document, const XObjectEntry& entry, PdfPageRecord& page) {
    if (entry.reference.size() <= 4)
        return;
    PdfSource& s = document.source();
    document.locateObject(entry.reference);
    if (!s.readMatches("<<"))
        return;
    ImageDictionary image;
    if (!readImageDictionary(s, image))
        throw PdfError(withPosition("PDF EXTERNAL OBJECT ERROR ", s.pos()));
    if (image.subtype != "Image")
        return;
    if (!s.readMatches("stream"))
        throw PdfError(withPosition("PDF EXTERNAL OBJECT ERROR ", s.pos()));
    s.skipLineBreak();
    const auto length = parsePdfInt32(image.length);
    if (!length)
        throw PdfError(QStringLiteral("'%1' is not a valid integer value")
                           .arg(QString::fromLatin1(image.length)));
    page.imagePosition = s.pos();
    page.imageLength = *length;
}

QString readPageNote(PdfDocument& document, const QByteArray& reference) {
    if (reference.size() <= 4)
        return {};
    PdfSource& s = document.source();
    document.locateObject(reference);
    s.skipBlanks();
    if (!s.readMatches("<<"))
        throw PdfError(QStringLiteral("PDF ANNOTATION DICTIONARY << ERROR"));
    s.skipBlanks();
    s.skipLineBreak();
    QByteArray subtype;
    QString contents;
    const bool ok = readDictionaryEntries(s, [&](const QByteArray& key) {
        if (key == "Subtype")
            subtype = s.readName();
        else if (key == "Type" || key == "AS")
            s.readName();
        else if (key == "Rect" || key == "Border" || key == "C")
            s.passArray();
        else if (key == "Contents")
            contents = readPdfString(s);
        else if (key == "NM" || key == "S")
            readPdfString(s);
        else if (key == "P" || key == "AP" || key == "OC")
            s.passDictionary();
        else if (key == "M")
            readPdfStringOrPassArray(s);
        else if (key == "F" || key == "StructParent")
            s.readDigits();
        else
            return false;
        return true;
    });
    if (!ok)
        throw PdfError(QStringLiteral("PDF ANNOTATION DICTIONARY ERROR"));
    return subtype == "Text" ? contents : QString();
}

} // namespace pdfpage
