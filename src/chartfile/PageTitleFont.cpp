#include "chartfile/PageTitleFont.h"

#include "chartfile/PdfText.h"
#include "core/Cp932.h"

namespace {

constexpr int kTitlePoints = 12;
// Distance from the top of the label to the baseline of a 12-point Gothic line.
constexpr int kBaselineDrop = 11;

} // namespace

QByteArray titleFontDictionary(int cidFont) {
    return PdfDictionary()
        .add("Type", "/Font")
        .add("Subtype", "/Type0")
        .add("BaseFont", "/GothicBBB-Medium-90ms-RKSJ-H")
        .add("Encoding", "/90ms-RKSJ-H")
        .add("DescendantFonts", pdfArray({pdfReference(cidFont)}))
        .bytes();
}

QByteArray titleCidFontDictionary(int descriptor) {
    // CIDs 231 to 389 are the half-width Roman letters and katakana that the single bytes of
    // 90ms-RKSJ-H select; every other glyph is full width.
    return PdfDictionary()
        .add("Type", "/Font")
        .add("Subtype", "/CIDFontType0")
        .add("BaseFont", "/GothicBBB-Medium")
        .add("CIDSystemInfo", "<< /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >>")
        .add("FontDescriptor", pdfReference(descriptor))
        .add("DW", "1000")
        .add("W", "[231 389 500 ]")
        .bytes();
}

QByteArray titleFontDescriptor() {
    return PdfDictionary()
        .add("Type", "/FontDescriptor")
        .add("FontName", "/GothicBBB-Medium")
        .add("Flags", "4")
        .add("FontBBox", "[-174 -268 1001 944 ]")
        .add("ItalicAngle", "0")
        .add("Ascent", "752")
        .add("Descent", "-271")
        .add("CapHeight", "737")
        .add("StemV", "69")
        .bytes();
}

QByteArray titleTextOperators(const QString& title, int left, int top, int pageHeight) {
    if (title.isEmpty())
        return QByteArray();
    // Hex strings: the second byte of a double-byte character may be a backslash or a
    // parenthesis, which a literal string would have to escape. A half-width space is drawn as
    // a shift of half an em rather than as a glyph: poppler maps its CID to U+00A0, which the
    // common Japanese fonts lack, and would draw a box in its place.
    const QByteArray bytes = toCp932(title);
    QByteArray shown = "[";
    qsizetype i = 0;
    while (i < bytes.size()) {
        qsizetype end = i;
        if (bytes[i] == ' ') {
            while (end < bytes.size() && bytes[end] == ' ')
                ++end;
            shown += pdfNumber(-500 * qint64(end - i)) + ' ';
        } else {
            while (end < bytes.size() && bytes[end] != ' ')
                ++end;
            shown += pdfHexString(bytes.mid(i, end - i)) + ' ';
        }
        i = end;
    }
    shown += "] TJ\n";
    return "BT\n/" + QByteArray(kTitleFontResource) + ' ' + pdfNumber(kTitlePoints) + " Tf\n" +
           pdfNumber(left) + ' ' + pdfNumber(pageHeight - top - kBaselineDrop) + " Td\n" + shown +
           "ET\n";
}
