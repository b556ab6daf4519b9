#include "chartfile/ChartFileReaderExtract.h"

#include "chartfile/ChartFileReader.h"
#include "chartfile/PdfError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Pages whose image is this short or shorter are not taken in by the workstation either.
constexpr qint32 kMinStoredImageLength = 100;

[[noreturn]] void writeFailed(const QString& path, int error) {
    throw PdfError(QStringLiteral("Cannot write file \"%1\". %2")
                       .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

// Writes under a temporary name and renames over the target, so that no half-written image
// is ever left; plain system calls keep the cost per page to the few the job needs.
void writeWhole(const QString& path, QByteArrayView bytes) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".part";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        writeFailed(path, errno);
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(temporary.constData());
            writeFailed(path, error);
        }
        data += n;
        left -= n;
    }
    // The old file is removed before the rename: renaming over an existing file makes ext4
    // write the new data out at once, which would wait on the disk for every page. The
    // target is thus briefly missing, but never half-written.
    if (::close(fd) != 0 || (::unlink(target.constData()) != 0 && errno != ENOENT) ||
        std::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        writeFailed(path, error);
    }
}

} // namespace

int extractChartPdfImages(const QString& pdfPath, const QString& dir) {
    TPdfStream pdf;
    pdf.Open(pdfPath);
    checkChartPdf(pdf);
    std::vector<const PdfPageRecord*> pages;
    for (const PdfPageRecord& page : pdf.pages()) {
        if (page.imageLength <= kMinStoredImageLength)
            continue;
        pdf.imageBytes(page); // an image beyond the end of the file fails before any write
        pages.push_back(&page);
    }
    const QDir target(dir);
    for (const PdfPageRecord* page : pages)
        writeWhole(target.filePath(page->imageName + QStringLiteral(".jpg")),
                   pdf.imageBytes(*page));
    return int(pages.size());
}
