#pragma once
// Classic cross-reference tables: the section that the tail points to, the older sections
// chained by the trailers' Prev offsets, and the newest trailer's values.

#include "chartfile/PdfSource.h"
#include "chartfile/PdfValues.h"

#include <QHash>

#include <optional>
#include <vector>

struct XrefEntry {
    qint32 objectNumber = 0;
    qint32 generation = 0;
    qint64 offset = 0;
    char type = 'f'; // 'n' in use, 'f' free
};

struct TrailerValues {
    QByteArray size, root, info, prev, encrypt, docChecksum, xrefStm;
    qint64 id = 0; // position just after the "[" of ID
};

class PdfXref {
public:
    // Reads the section at `offset` and every older one; entries of newer sections come
    // first, and the trailer values are those of the newest trailer.
    void read(PdfSource& source, qint64 offset);

    // The offset of the first in-use entry, in list order, with this number and generation:
    // the newest section wins. Object 0 is never found.
    std::optional<qint64> findInUse(ObjectId id) const;

    const std::vector<XrefEntry>& entries() const { return entries_; }
    const TrailerValues& trailer() const { return trailer_; }

private:
    // Reads one section; returns its trailer's values (empty when it has no trailer).
    TrailerValues readSection(PdfSource& source, qint64 offset);

    std::vector<XrefEntry> entries_;
    QHash<quint64, qint64> firstInUse_;
    TrailerValues trailer_;
};
