#pragma once
// A chart PDF held in memory between BeginChart and EndChart, and its serialisation in the
// chart PDF layout that the reader of this program and of the other workstations relies on.

#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>

#include <vector>

class PdfSink;

struct ChartDocumentPage {
    QByteArray jpeg;      // the JPEG file, byte for byte the image stream's data
    QSize size;           // its size in pixels, drawn as as many page units
    QByteArray imageName; // its resource name, "PRJpegImage1" and a number
    QString title;        // the title line above the image
    QString note;         // the note annotation's Contents; empty: no annotation
};

struct ChartDocumentBookmark {
    int page = 0; // index into pages
    QString title;
};

struct ChartDocument {
    int pageWidth = 700;
    int pageHeight = 1000;
    QString creator;
    QDateTime created;
    std::vector<ChartDocumentPage> pages;
    std::vector<ChartDocumentBookmark> bookmarks;
};

// Writes the whole file: header, objects from 1 in number order, cross-reference table and
// trailer. The document must have at least one page.
void writeChartDocument(PdfSink& sink, const ChartDocument& document);
