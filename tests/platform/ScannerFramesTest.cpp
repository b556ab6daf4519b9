#include "platform/ScannerFrames.h"
#include "platform/ScannerError.h"

#include <gtest/gtest.h>

namespace {

using F = ScanFrame::Format;

ScanFrame frame(F format, int depth, int pixels, int bytesPerLine, QByteArray data) {
    ScanFrame f;
    f.format = format;
    f.depth = depth;
    f.pixelsPerLine = pixels;
    f.bytesPerLine = bytesPerLine;
    f.data = std::move(data);
    return f;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray samples16(std::initializer_list<quint16> values) {
    QByteArray out;
    for (quint16 v : values)
        out.append(reinterpret_cast<const char*>(&v), 2); // host byte order, as SANE sends
    return out;
}

struct LayoutCase {
    const char* name;
    std::vector<ScanFrame> frames;
    QImage::Format format;
    QSize size;
    QRgb firstPixel;
    QRgb lastPixel;
};

class ScanLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(ScanLayout, BuildsTheImageTheDeviceSent) {
    const LayoutCase& c = GetParam();
    const QImage image = assembleScan(c.frames);
    EXPECT_EQ(image.format(), c.format);
    EXPECT_EQ(image.size(), c.size);
    EXPECT_EQ(image.pixel(0, 0), c.firstPixel);
    EXPECT_EQ(image.pixel(c.size.width() - 1, c.size.height() - 1), c.lastPixel);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ScanLayout,
    testing::Values(
        // Padding at the end of each line (bytesPerLine above the pixels) is skipped.
        LayoutCase{"gray8_padded",
                   {frame(F::Gray, 8, 2, 4, bytes({10, 20, 0, 0, 30, 40, 0, 0}))},
                   QImage::Format_Grayscale8,
                   {2, 2},
                   qRgb(10, 10, 10),
                   qRgb(40, 40, 40)},
        LayoutCase{"gray16_high_byte",
                   {frame(F::Gray, 16, 2, 4, samples16({0x1234, 0xFF00}))},
                   QImage::Format_Grayscale8,
                   {2, 1},
                   qRgb(0x12, 0x12, 0x12),
                   qRgb(0xFF, 0xFF, 0xFF)},
        // Line art: a set bit is black; 10 pixels take two bytes a line.
        LayoutCase{"lineart",
                   {frame(F::Gray, 1, 10, 2, bytes({0x80, 0x00, 0x00, 0x40}))},
                   QImage::Format_Grayscale8,
                   {10, 2},
                   qRgb(0, 0, 0),
                   qRgb(0, 0, 0)},
        LayoutCase{"rgb8",
                   {frame(F::Rgb, 8, 2, 6, bytes({1, 2, 3, 4, 5, 6}))},
                   QImage::Format_RGB32,
                   {2, 1},
                   qRgb(1, 2, 3),
                   qRgb(4, 5, 6)},
        LayoutCase{"rgb16",
                   {frame(F::Rgb, 16, 1, 6, samples16({0x0100, 0x0200, 0x0300}))},
                   QImage::Format_RGB32,
                   {1, 1},
                   qRgb(1, 2, 3),
                   qRgb(1, 2, 3)},
        // Three-pass frames may come in any order; a shorter plane limits the height.
        LayoutCase{"three_pass_bgr",
                   {frame(F::Blue, 8, 1, 1, bytes({30, 33})),
                    frame(F::Green, 8, 1, 1, bytes({20, 22})), frame(F::Red, 8, 1, 1, bytes({10}))},
                   QImage::Format_RGB32,
                   {1, 1},
                   qRgb(10, 20, 30),
                   qRgb(10, 20, 30)},
        // A trailing partial line (a hand scanner stopped mid-line) is dropped.
        LayoutCase{"partial_last_line",
                   {frame(F::Gray, 8, 2, 2, bytes({1, 2, 3}))},
                   QImage::Format_Grayscale8,
                   {2, 1},
                   qRgb(1, 1, 1),
                   qRgb(2, 2, 2)}),
    [](const testing::TestParamInfo<LayoutCase>& row) { return std::string(row.param.name); });

TEST(ScanLayout, RefusesFramesThatMakeNoImage) {
    const std::vector<std::pair<const char*, std::vector<ScanFrame>>> faults = {
        {"no frame", {}},
        {"depth 4", {frame(F::Gray, 4, 2, 1, bytes({0}))}},
        {"colour line art", {frame(F::Rgb, 1, 8, 3, bytes({0, 0, 0}))}},
        {"line shorter than its pixels", {frame(F::Rgb, 8, 4, 6, QByteArray(12, 0))}},
        {"no whole line", {frame(F::Gray, 8, 4, 4, bytes({1, 2}))}},
        {"blue plane missing",
         {frame(F::Red, 8, 1, 1, bytes({1})), frame(F::Green, 8, 1, 1, bytes({1})),
          frame(F::Green, 8, 1, 1, bytes({1}))}},
        {"planes of different widths",
         {frame(F::Red, 8, 1, 1, bytes({1})), frame(F::Green, 8, 2, 2, bytes({1, 1})),
          frame(F::Blue, 8, 1, 1, bytes({1}))}},
        {"two frames", {frame(F::Gray, 8, 1, 1, bytes({1})), frame(F::Gray, 8, 1, 1, bytes({1}))}},
    };
    for (const auto& [what, frames] : faults)
        EXPECT_THROW(assembleScan(frames), ScannerError) << what;
}

} // namespace
