#include "chartfile/PdfStream.h"

#include "chartfile/PdfDocument.h"

#include <algorithm>

TPdfStream::TPdfStream() = default;
TPdfStream::~TPdfStream() = default;

void TPdfStream::Open(const QString& fileName) {
    openSource(PdfSource::fromFile(fileName));
}

void TPdfStream::OpenBytes(QByteArray bytes) {
    openSource(PdfSource(std::move(bytes)));
}

void TPdfStream::openSource(PdfSource source) {
    document_.reset();
    pages_.clear();
    current_ = 0;
    image_.clear();
    imageLength_ = 0;
    auto document = std::make_unique<PdfDocument>(std::move(source));
    pages_ = readPdfPages(*document);
    document_ = std::move(document);
}

int TPdfStream::PageCount() const {
    return int(pages_.size());
}

const PdfPageRecord* TPdfStream::currentRecord() const {
    return current_ >= 0 && current_ < PageCount() ? &pages_[size_t(current_)] : nullptr;
}

void TPdfStream::SelectPage(int index) {
    current_ = std::clamp(index, 0, std::max(0, PageCount() - 1));
    const PdfPageRecord* page = currentRecord();
    if (!page)
        return;
    // Shorter images keep the bytes of the page selected before, as the image object does
    // when it is not loaded anew.
    if (page->imageLength >= 4)
        image_ = imageBytes(*page).toByteArray();
    imageLength_ = page->imageLength;
}

QByteArrayView TPdfStream::imageBytes(const PdfPageRecord& page) const {
    return document_->source().bytesAt(page.imagePosition, page.imageLength);
}

QString TPdfStream::PageNote() const {
    const PdfPageRecord* page = currentRecord();
    return page ? page->note : QString();
}

QString TPdfStream::PageBookmark() const {
    const PdfPageRecord* page = currentRecord();
    return page ? page->bookmark : QString();
}

QString TPdfStream::PageImageName() const {
    const PdfPageRecord* page = currentRecord();
    return page ? page->imageName : QString();
}

QString TPdfStream::Author() const {
    return document_ ? document_->information().author : QString();
}

QString TPdfStream::Subject() const {
    return document_ ? document_->information().subject : QString();
}
