#include "chartfile/PdfHeader.h"

#include "chartfile/PdfDictionaryLoop.h"
#include "chartfile/PdfError.h"
#include "chartfile/PdfValues.h"

#include <algorithm>

namespace {

// "startxref" must begin within this many bytes before the end of "%%EOF".
constexpr qint64 kStartXrefWindow = 50;

bool readLinearization(PdfSource& s, PdfLinearization& lin) {
    return readDictionaryEntries(s, [&](const QByteArray& key) {
        QByteArray* digits = key == "Linearized" ? &lin.linearized
                             : key == "L"        ? &lin.l
                             : key == "O"        ? &lin.o
                             : key == "E"        ? &lin.e
                             : key == "N"        ? &lin.n
                             : key == "T"        ? &lin.t
                             : key == "P"        ? &lin.p
                                                 : nullptr;
        if (digits) {
            *digits = s.readDigits();
            return true;
        }
        if (key == "H") {
            lin.hintArray = s.skipArray();
            return true;
        }
        return false;
    });
}

// Versions 1.2 to 1.7 must have an object header right after the comment lines.
void readFirstObject(PdfSource& s, PdfHeader& header) {
    if (!parsePdfInt32(s.readDigits()))
        throw PdfError(withPosition("PDF OBJ NO ERROR Address : ", s.pos()));
    s.skipBlanks();
    if (!parsePdfInt32(s.readDigits()))
        throw PdfError(QStringLiteral("PDF GEN NO ERROR"));
    s.skipBlanks();
    if (!s.readMatches("obj"))
        throw PdfError(withPosition("PDF OBJ NOT FOUND ERROR Address : ", s.pos()));
    s.skipBlanks();
    s.skipLineBreak();
    s.skipBlanks();
    if (s.lookingAt("<<")) {
        enterDictionary(s);
        header.isLinearized = readLinearization(s, header.linearization);
    }
}

// The end of "%%EOF": the file may follow it with at most two line-break bytes.
qint64 endOfEofMarker(const PdfSource& s) {
    qint64 end = s.size();
    if (end > 0 && isPdfLineBreak(s.peekAt(end - 1))) {
        --end;
        if (end > 0 && isPdfLineBreak(s.peekAt(end - 1)))
            --end;
    }
    if (end < 5 || s.bytesAt(end - 5, 5) != QByteArrayView("%%EOF"))
        throw PdfError(QStringLiteral("PDF FILE EOF ERROR"));
    return end;
}

} // namespace

PdfHeader readPdfHeader(PdfSource& s) {
    PdfHeader header;
    s.seek(0);
    if (!s.readMatches("%PDF-"))
        throw PdfError(QStringLiteral("PDF FILE ERROR"));
    header.version = s.bytesAt(s.pos(), std::min<qint64>(3, s.size() - s.pos())).toByteArray();
    s.seek(s.pos() + header.version.size());
    static const char* const kVersions[] = {"1.0", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7"};
    if (std::find(std::begin(kVersions), std::end(kVersions), header.version) ==
        std::end(kVersions))
        throw PdfError(QStringLiteral("PDF VERSION NOT SUPPORT"));
    s.skipBlanks();
    s.skipLineBreak();

    qint64 lineStart = s.pos();
    while (!s.atEnd() && s.readLine().startsWith('%'))
        lineStart = s.pos();
    s.seek(lineStart);

    if (header.version != "1.0" && header.version != "1.1")
        readFirstObject(s, header);

    const qint64 eofEnd = endOfEofMarker(s);
    const QByteArrayView keyword("startxref");
    qint64 found = -1;
    for (qint64 at = std::max<qint64>(1, eofEnd - kStartXrefWindow); at + 9 <= s.size(); ++at) {
        if (s.bytesAt(at, 9) == keyword) {
            found = at;
            break;
        }
    }
    if (found < 0)
        throw PdfError(QStringLiteral("PDF STARTXREF ERROR"));
    s.seek(found + 9);
    s.skipLineBreak();
    const auto offset = parsePdfInt64(s.readDigits());
    if (!offset)
        throw PdfError(QStringLiteral("PDF LASTCROSSREF ERROR"));
    header.lastXrefOffset = *offset;
    return header;
}
