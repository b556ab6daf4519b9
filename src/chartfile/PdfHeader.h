#pragma once
// The opening checks of a chart PDF: the header line, the first object, the "%%EOF" tail
// and the offset of the last cross-reference section.

#include "chartfile/PdfSource.h"

struct PdfLinearization {
    QByteArray linearized, l, o, e, n, t, p;
    qint64 hintArray = 0; // position just after the "[" of H
};

struct PdfHeader {
    QByteArray version; // the three bytes after "%PDF-"
    bool isLinearized = false;
    PdfLinearization linearization; // stored, not used: the tail always leads to the xref
    qint64 lastXrefOffset = 0;
};

PdfHeader readPdfHeader(PdfSource& source);
