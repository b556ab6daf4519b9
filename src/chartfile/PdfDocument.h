#pragma once
// A chart PDF opened for reading: its bytes, header, cross-reference table, catalog and
// document information, and the lookup of objects by reference.

#include "chartfile/PdfHeader.h"
#include "chartfile/PdfSource.h"
#include "chartfile/PdfValues.h"
#include "chartfile/PdfXref.h"

struct DocumentCatalog {
    ObjectId id;
    QByteArray type, version, pages, pageLabels, names, pageLayout, pageMode, outlines, metadata,
        structTreeRoot, collection;
    qint64 dests = 0, viewerPreferences = 0, threads = 0, openAction = 0, markInfo = 0;
};

struct DocumentInformation {
    ObjectId id;
    QString title, author, subject, keywords, creator, producer, creationDate, modDate;
    QByteArray trapped;
};

class PdfDocument {
public:
    // Runs every opening check and reads the cross-reference table, the catalog and the
    // document information; raises PdfError with the first fault met.
    explicit PdfDocument(PdfSource source);

    PdfSource& source() { return source_; }
    const PdfSource& source() const { return source_; }
    const PdfHeader& header() const { return header_; }
    const PdfXref& xref() const { return xref_; }
    const DocumentCatalog& catalog() const { return catalog_; }
    const DocumentInformation& information() const { return info_; }

    // Finds the object a reference text names, checks its header, and leaves the position
    // at the start of its value (which is also returned). `id` receives its number and
    // generation.
    qint64 locateObject(QByteArrayView reference, ObjectId* id = nullptr);

private:
    void readCatalog();
    void readInformation();

    PdfSource source_;
    PdfHeader header_;
    PdfXref xref_;
    DocumentCatalog catalog_;
    DocumentInformation info_;
};
