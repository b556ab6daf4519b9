#pragma once
// TPdfStream: the one interface through which the program reads a chart PDF. Open parses
// the whole file; the pages are then selected one by one and their JPEG bytes handed out
// exactly as they stand in the file.

#include "chartfile/PdfPages.h"

#include <memory>

class PdfDocument;

class TPdfStream {
public:
    TPdfStream();
    ~TPdfStream();
    TPdfStream(const TPdfStream&) = delete;
    TPdfStream& operator=(const TPdfStream&) = delete;

    // Reads and checks the whole file; every reader error passes to the caller unchanged.
    void Open(const QString& fileName);
    // The same on bytes already in memory (tests, fuzzing).
    void OpenBytes(QByteArray bytes);

    int PageCount() const;
    // Clamps the index to the pages, makes it current and loads its image: the image bytes
    // are replaced when the page's image is 4 bytes or longer, and kept otherwise.
    void SelectPage(int index);
    QString PageNote() const;
    QString PageBookmark() const;
    QString PageImageName() const;
    QString Author() const;
    QString Subject() const;

    // The JPEG bytes loaded by the last SelectPage.
    const QByteArray& Image() const { return image_; }
    qint32 ImageLength() const { return imageLength_; }

    const std::vector<PdfPageRecord>& pages() const { return pages_; }
    // The image bytes of a page record, without a copy; valid while the stream is open.
    // The read error when they do not lie inside the file.
    QByteArrayView imageBytes(const PdfPageRecord& page) const;

private:
    void openSource(PdfSource source);
    const PdfPageRecord* currentRecord() const;

    std::unique_ptr<PdfDocument> document_;
    std::vector<PdfPageRecord> pages_;
    int current_ = 0;
    QByteArray image_;
    qint32 imageLength_ = 0;
};
