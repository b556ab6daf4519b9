#pragma once
// Turns the raw frames a scanner delivers into one image. Kept apart from the SANE calls so
// that every pixel layout can be checked without a device.

#include <QByteArray>
#include <QImage>
#include <vector>

struct ScanFrame {
    enum class Format { Gray, Rgb, Red, Green, Blue };
    Format format = Format::Gray;
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
    int depth = 8;   // 1 (line art), 8 or 16 bits a sample
    QByteArray data; // whole lines; a trailing partial line is ignored
};

// Builds the image of one scan: a single gray or RGB frame, or the three colour frames of a
// three-pass scanner in any order. Gray and line art give Format_Grayscale8, colour gives
// Format_RGB32. Throws ScannerError when the frames do not make an image.
QImage assembleScan(const std::vector<ScanFrame>& frames);
