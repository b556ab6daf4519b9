#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;

// The source pixels that make up each destination pixel along one axis, with fixed-point
// weights that add up to exactly kOne.
struct Taps {
    std::vector<int> first;       // first source index of destination i
    std::vector<int> count;       // number of source indices of destination i
    std::vector<int32_t> weights; // `stride` weights per destination index
    int stride = 0;
};

// Turns real weights into fixed point; the rounding error goes to the largest weight so the
// sum is exact and a flat area stays exactly flat.
void quantise(const std::vector<double>& real, int32_t* out) {
    double total = 0;
    for (double w : real)
        total += w;
    int32_t sum = 0;
    size_t largest = 0;
    for (size_t k = 0; k < real.size(); ++k) {
        out[k] = static_cast<int32_t>(std::lround(real[k] / total * kOne));
        sum += out[k];
        if (out[k] > out[largest])
            largest = k;
    }
    out[largest] += kOne - sum;
}

// `ratio` is the number of source pixels per destination pixel.
Taps makeTaps(int src, int dst, double ratio) {
    Taps taps;
    taps.first.resize(dst);
    taps.count.resize(dst);
    std::vector<std::vector<double>> real(dst);
    if (ratio > 1.0) {
        // Reduction: destination i covers source [i*ratio, (i+1)*ratio); each source pixel
        // weighs by the length of its overlap with that interval.
        for (int i = 0; i < dst; ++i) {
            const double lo = std::min(i * ratio, src - 0.5);
            const double hi = std::min(double(src), std::max((i + 1) * ratio, lo + 0.5));
            const int j0 = static_cast<int>(std::floor(lo));
            const int j1 = std::min(src, static_cast<int>(std::ceil(hi)));
            taps.first[i] = j0;
            for (int j = j0; j < j1; ++j) {
                const double overlap = std::min(hi, j + 1.0) - std::max(lo, double(j));
                real[i].push_back(std::max(0.0, overlap));
            }
        }
    } else {
        // Enlargement: linear interpolation between the two nearest source centres.
        for (int i = 0; i < dst; ++i) {
            const double centre = (i + 0.5) * ratio - 0.5;
            int j0 = static_cast<int>(std::floor(centre));
            double frac = centre - j0;
            if (j0 < 0) {
                j0 = 0;
                frac = 0;
            }
            if (j0 >= src - 1) {
                j0 = src - 1;
                frac = 0;
            }
            taps.first[i] = j0;
            real[i].push_back(1.0 - frac);
            if (frac > 0)
                real[i].push_back(frac);
        }
    }
    for (const auto& r : real)
        taps.stride = std::max<int>(taps.stride, static_cast<int>(r.size()));
    taps.weights.assign(size_t(dst) * taps.stride, 0);
    for (int i = 0; i < dst; ++i) {
        taps.count[i] = static_cast<int>(real[i].size());
        quantise(real[i], taps.weights.data() + size_t(i) * taps.stride);
    }
    return taps;
}

// Vertical then horizontal pass, one destination row at a time: the weighted sum of the
// source rows is kept with 8 extra bits of precision before the horizontal pass.
template <int Channels>
void scaleRows(const QImage& src, QImage& dst, const Taps& across, const Taps& down) {
    const int srcValues = src.width() * Channels;
    std::vector<int32_t> acc(srcValues);
    std::vector<uint16_t> row(srcValues);
    for (int y = 0; y < dst.height(); ++y) {
        std::fill(acc.begin(), acc.end(), 0);
        const int32_t* wy = down.weights.data() + size_t(y) * down.stride;
        for (int k = 0; k < down.count[y]; ++k) {
            const uint8_t* s = src.constScanLine(down.first[y] + k);
            const int32_t w = wy[k];
            for (int v = 0; v < srcValues; ++v)
                acc[v] += w * s[v];
        }
        for (int v = 0; v < srcValues; ++v)
            row[v] = static_cast<uint16_t>((acc[v] + (1 << 5)) >> 6); // value << 8
        uint8_t* out = dst.scanLine(y);
        for (int x = 0; x < dst.width(); ++x) {
            const int32_t* wx = across.weights.data() + size_t(x) * across.stride;
            const uint16_t* s = row.data() + size_t(across.first[x]) * Channels;
            int32_t sum[Channels] = {};
            for (int k = 0; k < across.count[x]; ++k)
                for (int c = 0; c < Channels; ++c)
                    sum[c] += wx[k] * s[k * Channels + c];
            for (int c = 0; c < Channels; ++c) {
                const int32_t v = (sum[c] + (1 << 21)) >> 22;
                out[x * Channels + c] = static_cast<uint8_t>(std::clamp(v, 0, 255));
            }
        }
    }
}

} // namespace

QImage smoothScale(const QImage& image, QSize target) {
    if (image.isNull() || target.isEmpty())
        return QImage();
    return smoothScaleByRatio(image, target, double(image.width()) / target.width(),
                              double(image.height()) / target.height());
}

QImage smoothScaleByRatio(const QImage& image, QSize target, double ratioX, double ratioY) {
    if (image.isNull() || target.isEmpty() || !(ratioX > 0) || !(ratioY > 0))
        return QImage();
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const QImage src = grey || image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    if (src.size() == target && ratioX == 1.0 && ratioY == 1.0)
        return src;
    QImage dst(target, src.format());
    if (dst.isNull())
        return QImage();
    const Taps across = makeTaps(src.width(), target.width(), ratioX);
    const Taps down = makeTaps(src.height(), target.height(), ratioY);
    if (grey)
        scaleRows<1>(src, dst, across, down);
    else
        scaleRows<4>(src, dst, across, down);
    return dst;
}
