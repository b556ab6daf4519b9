#pragma once
// Square thumbnails of page images: the image scaled so that its larger side fits the square
// exactly, centred on white. JPEG pages are decoded at the smallest DCT scale that still
// covers the thumbnail, then scaled smoothly; a 300 dpi scan thus costs a fraction of a full
// decode.

#include <QFuture>
#include <QImage>
#include <QString>
#include <QStringList>

// The thumbnail of `page` in a side x side square (Format_RGB32). The scaled size is
// width * f by height * f with f = side / (the larger side), fractions dropped; it is centred
// at ((side - w) / 2, (side - h) / 2). A null page gives a null thumbnail.
QImage makeThumbnailImage(const QImage& page, int side);

// The thumbnail of an image file; a null image when the file cannot be read.
QImage loadThumbnail(const QString& path, int side);

// Thumbnails of many files made on worker threads (the global thread pool) while the window
// thread takes them in list order.
class ThumbnailBatch {
public:
    ThumbnailBatch(const QStringList& paths, int side);
    // Stops the work not yet begun and waits for the rest.
    ~ThumbnailBatch();
    ThumbnailBatch(const ThumbnailBatch&) = delete;
    ThumbnailBatch& operator=(const ThumbnailBatch&) = delete;

    int count() const { return static_cast<int>(paths_.size()); }
    // The thumbnail of file `index` (null when unreadable). Until it is ready, pending window
    // events run, so the window stays alive and the list fills in as thumbnails arrive.
    QImage take(int index);

private:
    QStringList paths_;
    QFuture<QImage> future_;
};
