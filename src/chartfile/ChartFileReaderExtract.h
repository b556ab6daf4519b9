#pragma once
// Copies the page images of a chart PDF out to files, as the workstation takes them in:
// after the chart PDF check, every page with more than 100 bytes of image becomes
// DIR/<image name>.jpg holding its JPEG bytes exactly as they stand in the PDF.

#include <QString>

// Returns the number of files written. Reader and check errors are raised as PdfError before
// any file is written; a file that cannot be written raises PdfError with its path. Each file
// is written under a temporary name and renamed, so no half-written image is ever left.
int extractChartPdfImages(const QString& pdfPath, const QString& dir);
