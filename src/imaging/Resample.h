#pragma once
// Smooth image scaling for page images and thumbnails. Scanned handwriting must stay legible,
// so reduction averages every source pixel by the area it covers (a box filter with exact
// fractional coverage) and enlargement interpolates linearly; nothing is ever sampled nearest.

#include <QImage>
#include <QSize>

// Scales `image` to exactly `target`. Format_Grayscale8 stays grey; every other format is
// scaled as Format_RGB32 (alpha is dropped; callers flatten transparency first). A null image
// or an empty target gives a null image.
QImage smoothScale(const QImage& image, QSize target);

// The same with a given number of source pixels per destination pixel in each direction
// instead of the ratio of the sizes. Chroma planes need it: their sizes are rounded up from
// the luma size, so their own ratio is slightly off the picture's. Whatever a destination
// pixel covers beyond the source is taken from the source's last row or column.
QImage smoothScaleByRatio(const QImage& image, QSize target, double ratioX, double ratioY);
