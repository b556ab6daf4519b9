#include "chartfile/PdfXref.h"

#include "chartfile/PdfDictionaryLoop.h"
#include "chartfile/PdfError.h"

#include <QSet>

namespace {

bool readTrailer(PdfSource& s, TrailerValues& t) {
    enterDictionary(s);
    return readDictionaryEntries(s, [&](const QByteArray& key) {
        if (key == "Size")
            t.size = s.readDigits();
        else if (key == "Root")
            t.root = s.readReference();
        else if (key == "Info")
            t.info = s.readReference();
        else if (key == "Prev")
            t.prev = s.readDigits();
        else if (key == "Encrypt")
            t.encrypt = s.readToken();
        else if (key == "ID")
            t.id = s.skipArray();
        else if (key == "DocChecksum")
            t.docChecksum = s.readName();
        else if (key == "XRefStm")
            t.xrefStm = s.readToken();
        else
            s.skipToLineEnd(); // an unknown key loses the rest of its line
        return true;
    });
}

// Columns 1 to 10, 12 to 16 and 18 of an entry line (counted from 1).
XrefEntry parseEntry(const QByteArray& line, qint64 objectNumber) {
    XrefEntry entry;
    const auto offset =
        parsePdfInt64(QByteArrayView(line).first(std::min<qsizetype>(10, line.size())));
    if (!offset)
        throw PdfError(QStringLiteral("PDF XREF ENTRY OBJ NO ERROR"));
    const auto generation = line.size() > 11 ? parsePdfInt32(QByteArrayView(line).sliced(11).first(
                                                   std::min<qsizetype>(5, line.size() - 11)))
                                             : std::nullopt;
    if (!generation)
        throw PdfError(QStringLiteral("PDF XREF ENTRY GEN NO ERROR"));
    const char type = line.size() > 17 ? line[17] : '\0';
    if (type != 'n' && type != 'f')
        throw PdfError(QStringLiteral("PDF XREF ENTRY N/F ERROR"));
    // Object numbers wrap as 32-bit integers do.
    entry.objectNumber = static_cast<qint32>(static_cast<quint32>(objectNumber));
    entry.generation = *generation;
    entry.offset = *offset;
    entry.type = type;
    return entry;
}

} // namespace

TrailerValues PdfXref::readSection(PdfSource& s, qint64 offset) {
    s.seek(offset);
    if (!s.readLine().startsWith("xref"))
        throw PdfError(QStringLiteral("PDF XREF ERROR"));
    s.skipBlanks();
    s.skipLineBreak();
    for (;;) {
        const auto first = parsePdfInt32(s.readDigits());
        if (!first)
            throw PdfError(QStringLiteral("PDF OBJ NO ERROR"));
        s.skipBlanks();
        const auto count = parsePdfInt32(s.readDigits());
        if (!count)
            throw PdfError(QStringLiteral("PDF GEN NO ERROR"));
        s.skipBlanks();
        s.skipLineBreak();
        for (qint64 i = 0; i < *count; ++i)
            entries_.push_back(parseEntry(s.readLine(), qint64(*first) + i));
        const qint64 afterEntries = s.pos();
        if (s.readMatches("trailer"))
            break;
        s.seek(afterEntries);
        if (s.atEnd())
            return {};
    }
    s.skipBlanks();
    s.skipLineBreak();
    TrailerValues trailer;
    if (s.lookingAt("<<") && !readTrailer(s, trailer))
        throw PdfError(QStringLiteral("PDF DICTIONARY ERROR"));
    return trailer;
}

void PdfXref::read(PdfSource& s, qint64 offset) {
    entries_.clear();
    firstInUse_.clear();
    // A Prev chain that comes back to a section already read would never end.
    QSet<qint64> sectionsRead;
    for (bool newest = true;; newest = false) {
        sectionsRead.insert(offset);
        const TrailerValues trailer = readSection(s, offset);
        if (newest)
            trailer_ = trailer;
        qint64 prev = 0;
        if (!trailer.prev.isEmpty()) {
            const auto value = parsePdfInt64(trailer.prev);
            if (!value)
                throw PdfError(QStringLiteral("PDF TRAILER PREV XREF ERROR"));
            prev = *value;
        }
        if (prev == 0)
            break;
        if (sectionsRead.contains(prev))
            throw PdfError(QStringLiteral("PDF TRAILER PREV XREF ERROR"));
        offset = prev;
    }
    for (const XrefEntry& e : entries_) {
        const quint64 key = objectKey({e.objectNumber, e.generation});
        if (e.type == 'n' && e.objectNumber != 0 && !firstInUse_.contains(key))
            firstInUse_.insert(key, e.offset);
    }
}

std::optional<qint64> PdfXref::findInUse(ObjectId id) const {
    if (id.number == 0)
        return std::nullopt;
    const auto it = firstInUse_.constFind(objectKey(id));
    return it == firstInUse_.constEnd() ? std::nullopt : std::optional<qint64>(*it);
}
