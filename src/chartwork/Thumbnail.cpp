#include "chartwork/Thumbnail.h"

#include "imaging/JpegCodec.h"
#include "imaging/PageImage.h"
#include "imaging/Resample.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFutureWatcher>
#include <QPainter>
#include <QtConcurrent/QtConcurrentMap>

namespace {

// The scaled size of an image of `size` whose larger side fits `side`.
QSize fittedSize(QSize size, int side) {
    const double f =
        size.width() > size.height() ? double(side) / size.width() : double(side) / size.height();
    // Fractions dropped; a sliver of a page keeps one pixel so that it still shows.
    return {std::max(1, int(size.width() * f)), std::max(1, int(size.height() * f))};
}

} // namespace

QImage makeThumbnailImage(const QImage& page, int side) {
    if (page.isNull() || side <= 0)
        return {};
    const QSize fitted = fittedSize(page.size(), side);
    const QImage scaled = page.size() == fitted ? page : smoothScale(page, fitted);
    QImage square(side, side, QImage::Format_RGB32);
    square.fill(Qt::white);
    QPainter painter(&square);
    painter.drawImage((side - fitted.width()) / 2, (side - fitted.height()) / 2, scaled);
    painter.end();
    return square;
}

QImage loadThumbnail(const QString& path, int side) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    file.close();
    if (looksLikeJpeg(bytes)) {
        // Decode just large enough for the fitted size, so the DCT scaling does most of the
        // reduction and the smooth scaler only the last step.
        const QSize size = jpegSize(bytes);
        if (size.isValid()) {
            const QImage page = decodeJpeg(bytes, fittedSize(size, side));
            if (!page.isNull())
                return makeThumbnailImage(page, side);
        }
    }
    return makeThumbnailImage(loadPageImage(path), side);
}

ThumbnailBatch::ThumbnailBatch(const QStringList& paths, int side) : paths_(paths) {
    future_ = QtConcurrent::mapped(
        paths_, [side](const QString& path) { return loadThumbnail(path, side); });
}

ThumbnailBatch::~ThumbnailBatch() {
    future_.cancel();
    future_.waitForFinished();
}

QImage ThumbnailBatch::take(int index) {
    if (index < 0 || index >= count())
        return {};
    if (!future_.isResultReadyAt(index) && !future_.isFinished()) {
        QFutureWatcher<QImage> watcher;
        QEventLoop loop;
        QObject::connect(&watcher, &QFutureWatcher<QImage>::resultReadyAt, &loop, [&](int ready) {
            if (ready == index)
                loop.quit();
        });
        QObject::connect(&watcher, &QFutureWatcher<QImage>::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(future_);
        // The result may have come between the check above and the watcher's start.
        if (!future_.isResultReadyAt(index) && !future_.isFinished())
            loop.exec();
    }
    return future_.isResultReadyAt(index) ? future_.resultAt(index) : QImage();
}
