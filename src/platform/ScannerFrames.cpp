#include "platform/ScannerFrames.h"

#include "platform/ScannerError.h"

#include <cstring>

namespace {

int linesOf(const ScanFrame& frame) {
    if (frame.bytesPerLine <= 0 || frame.pixelsPerLine <= 0)
        return 0;
    return static_cast<int>(frame.data.size() / frame.bytesPerLine);
}

int samplesPerPixel(const ScanFrame& frame) {
    return frame.format == ScanFrame::Format::Rgb ? 3 : 1;
}

void checkLayout(const ScanFrame& frame) {
    if (frame.depth != 1 && frame.depth != 8 && frame.depth != 16)
        throw ScannerError("unsupported sample depth " + std::to_string(frame.depth));
    if (frame.depth == 1 && frame.format == ScanFrame::Format::Rgb)
        throw ScannerError("unsupported colour line art");
    const long long bits =
        static_cast<long long>(frame.pixelsPerLine) * samplesPerPixel(frame) * frame.depth;
    if (frame.pixelsPerLine <= 0 || frame.bytesPerLine <= 0 || (bits + 7) / 8 > frame.bytesPerLine)
        throw ScannerError("inconsistent scan line layout");
}

// Sample `index` of a line as 8 bits. 16-bit samples come in the host's byte order.
inline uchar sampleAt(const uchar* line, int index, int depth) {
    if (depth == 8)
        return line[index];
    if (depth == 16) {
        quint16 v;
        std::memcpy(&v, line + 2 * index, 2);
        return static_cast<uchar>(v >> 8);
    }
    // Line art: a set bit is black, most significant bit first.
    return (line[index >> 3] & (0x80 >> (index & 7))) ? 0 : 255;
}

QImage grayImage(const ScanFrame& frame) {
    const int w = frame.pixelsPerLine, h = linesOf(frame);
    QImage image(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const uchar*>(frame.data.constData()) +
                          static_cast<qsizetype>(y) * frame.bytesPerLine;
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < w; ++x)
            dst[x] = sampleAt(src, x, frame.depth);
    }
    return image;
}

QImage rgbImage(const ScanFrame& frame) {
    const int w = frame.pixelsPerLine, h = linesOf(frame);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const uchar*>(frame.data.constData()) +
                          static_cast<qsizetype>(y) * frame.bytesPerLine;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            dst[x] = qRgb(sampleAt(src, 3 * x, frame.depth), sampleAt(src, 3 * x + 1, frame.depth),
                          sampleAt(src, 3 * x + 2, frame.depth));
    }
    return image;
}

QImage threePassImage(const std::vector<ScanFrame>& frames) {
    const ScanFrame* planes[3] = {nullptr, nullptr, nullptr};
    for (const auto& frame : frames) {
        const int channel = frame.format == ScanFrame::Format::Red     ? 0
                            : frame.format == ScanFrame::Format::Green ? 1
                            : frame.format == ScanFrame::Format::Blue  ? 2
                                                                       : -1;
        if (channel < 0 || planes[channel])
            throw ScannerError("unexpected frame in a three-pass scan");
        planes[channel] = &frame;
    }
    for (const auto* plane : planes)
        if (!plane)
            throw ScannerError("a colour frame of a three-pass scan is missing");
    const int w = planes[0]->pixelsPerLine;
    int h = linesOf(*planes[0]);
    for (const auto* plane : planes) {
        if (plane->pixelsPerLine != w)
            throw ScannerError("the colour frames differ in width");
        h = std::min(h, linesOf(*plane));
    }
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const uchar* src[3];
        for (int c = 0; c < 3; ++c)
            src[c] = reinterpret_cast<const uchar*>(planes[c]->data.constData()) +
                     static_cast<qsizetype>(y) * planes[c]->bytesPerLine;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            dst[x] =
                qRgb(sampleAt(src[0], x, planes[0]->depth), sampleAt(src[1], x, planes[1]->depth),
                     sampleAt(src[2], x, planes[2]->depth));
    }
    return image;
}

} // namespace

QImage assembleScan(const std::vector<ScanFrame>& frames) {
    if (frames.empty())
        throw ScannerError("the scanner delivered no frame");
    for (const auto& frame : frames)
        checkLayout(frame);
    QImage image;
    if (frames.size() == 1 && frames[0].format == ScanFrame::Format::Gray)
        image = grayImage(frames[0]);
    else if (frames.size() == 1 && frames[0].format == ScanFrame::Format::Rgb)
        image = rgbImage(frames[0]);
    else if (frames.size() == 3)
        image = threePassImage(frames);
    else
        throw ScannerError("unexpected combination of scan frames");
    if (image.isNull() || image.height() == 0)
        throw ScannerError("the scanner delivered an empty image");
    return image;
}
