#pragma once
// Preparing one page image for a chart PDF: load it, fit or cut it to the layout area and
// encode it as JPEG. Free of shared state, so pages can be prepared on worker threads.

#include <QByteArray>
#include <QSize>
#include <QString>

struct PreparedPageImage {
    enum class Status {
        Ready,      // jpeg holds the page image of `size`
        Missing,    // no such file
        Unreadable, // the file could not be loaded as an image
    };
    Status status = Status::Unreadable;
    QByteArray jpeg;
    QSize size;
};

// Fitted into `layout` keeping the proportions. The scale is the layout width over the
// source width when the source is relatively wider, else the layout height over the source
// height, held in single precision (as the chart format always has been); each side is the
// source side times that scale, truncated. 2480 x 3508 in 634 x 934 gives 633 x 896.
QSize stretchedSize(QSize source, QSize layout);

// The top-left part of the source that fits in `layout`.
QSize cutOutSize(QSize source, QSize layout);

// JPEG quality of chart pages: 50 to 100; below 50 gives 50, above 100 and negative give 100.
int clampQuality(int quality);

// Loads `path` (JPEG by content through DCT-scaled decoding, or any other format Qt reads),
// stretches it smoothly into `layout` or cuts it out, and encodes it with clampQuality(quality).
PreparedPageImage preparePageImage(const QString& path, QSize layout, bool stretch, int quality);
