#pragma once
// The page records of a chart PDF: for every leaf page, in page order, where its image data
// lies and how long it is, the resource name of that image, its note (the Contents of its
// first annotation when that is a Text annotation) and its bookmark title. Only the first
// XObject and the first annotation of a page are looked at; no stream is decoded.

#include "chartfile/PdfDocument.h"

#include <vector>

struct PdfPageRecord {
    ObjectId id;
    qint64 imagePosition = 0; // first byte of the image's stream data; 0 without an image
    qint32 imageLength = 0;   // the image's Length; 0 without an image
    QString note;
    QString bookmark;
    QString imageName; // resource name of the first XObject; empty when there is none
};

// Reads every page; any fault refuses the whole file with its PdfError.
std::vector<PdfPageRecord> readPdfPages(PdfDocument& document);

// The steps of one page, on the page's resource dictionary and first annotation.
namespace pdfpage {

struct XObjectEntry {
    QByteArray name, reference;
};

// The resource dictionary at `resources`; returns the position of its XObject dictionary
// (0 when it has none).
qint64 readResources(PdfDocument& document, qint64 resources);
// The XObject dictionary at `position`: at most 19 entries.
std::vector<XObjectEntry> readXObjectTable(PdfDocument& document, qint64 position);
// The first XObject: fills the image position and length when it is an image.
void readImageXObject(PdfDocument& document, const XObjectEntry& entry, PdfPageRecord& page);
// The note of the annotation a reference names.
QString readPageNote(PdfDocument& document, const QByteArray& reference);

} // namespace pdfpage
