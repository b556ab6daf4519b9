#pragma once
// Scaling a JPEG into another JPEG without leaving the YCbCr planes: DCT-scaled decoding to
// the smallest size not below the target, smooth scaling of each plane, 4:2:0 encoding. It
// skips both colour conversions and scales one and a half planes' worth of samples instead of
// four channels, which makes it the fast path for scanned pages.

#include <QByteArray>
#include <QSize>
#include <QSizeF>

// A baseline 4:2:0 JPEG of exactly `target` at `quality`; empty when the source is not a
// readable 4:2:0 YCbCr or grey JPEG (CMYK or 4:4:4, for instance), so that the caller takes
// the RGB path.
QByteArray scaleJpeg(const QByteArray& jpeg, QSize target, int quality);

// The extent, in pixels of a DCT-scaled decoding of `decoded` size, of a JPEG of `full` size:
// the decoded size is rounded up, so a resampler that maps the rounded size onto the target
// would shift the picture by up to half a pixel towards the far edges.
QSizeF dctScaledExtent(QSize full, QSize decoded);
