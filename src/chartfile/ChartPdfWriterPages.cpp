#include "chartfile/ChartPdfWriterPages.h"

#include "chartfile/PdfText.h"

#include <QThreadPool>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace {

// Shared between the calling thread and the workers; it outlives an early return (an error
// while adding pages), after which the workers skip what has not started yet.
struct Preparation {
    std::mutex mutex;
    std::condition_variable ready;
    std::vector<std::optional<PreparedPageImage>> results;
    std::atomic<bool> cancelled{false};
};

struct CancelOnExit {
    std::shared_ptr<Preparation> state;
    ~CancelOnExit() { state->cancelled = true; }
};

} // namespace

void writeChartPages(TPdfWriteForm& writer, const QList<ChartPageInput>& pages,
                     const QString& title, const ChartWriteHooks& hooks) {
    if (pages.isEmpty())
        return;
    auto state = std::make_shared<Preparation>();
    state->results.resize(size_t(pages.size()));
    const CancelOnExit cancelOnExit{state};
    const QSize layout = writer.layoutSize();
    const bool stretch = writer.Stretch;
    const int quality = writer.Quality;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QThreadPool::globalInstance()->start(
            [state, i, path = pages[i].imagePath, layout, stretch, quality] {
                PreparedPageImage image;
                if (!state->cancelled)
                    image = preparePageImage(path, layout, stretch, quality);
                {
                    const std::lock_guard lock(state->mutex);
                    state->results[size_t(i)] = std::move(image);
                }
                state->ready.notify_all();
            });
    }

    for (qsizetype i = 0; i < pages.size(); ++i) {
        PreparedPageImage image;
        {
            std::unique_lock lock(state->mutex);
            while (!state->results[size_t(i)]) {
                if (hooks.idle) {
                    state->ready.wait_for(lock, std::chrono::milliseconds(20));
                    lock.unlock();
                    hooks.idle();
                    lock.lock();
                } else {
                    state->ready.wait(lock);
                }
            }
            image = std::move(*state->results[size_t(i)]);
            state->results[size_t(i)].reset();
        }
        const ChartPageInput& page = pages[i];
        if (image.status != PreparedPageImage::Status::Missing) {
            writer.TitleText = title;
            writer.NoteText = page.note;
            // A page that could not be loaded gets no outline item either: its bookmark
            // would otherwise point at the page before it.
            if (writer.AddPreparedPage(image) && !page.bookmark.isEmpty())
                writer.AddBookmark(page.bookmark);
            if (hooks.status)
                hooks.status(page.imagePath);
        }
        if (hooks.progress)
            hooks.progress(int(i + 1), int(pages.size()));
        if (hooks.idle)
            hooks.idle();
    }
}

int writeChartPdf(TPdfWriteForm& writer, const QString& path, const ChartPdfSettings& settings,
                  const QList<ChartPageInput>& pages, const QString& title,
                  const ChartWriteHooks& hooks) {
    writer.PageWidth = settings.pageWidth;
    writer.PageHeight = settings.pageHeight;
    writer.CreatorText = FullWidthDate(writer.now().date());
    writer.BeginChart(path);
    writer.Quality = settings.quality;
    writer.Stretch = settings.stretch;
    if (hooks.status)
        hooks.status(QStringLiteral("少々お待ちください。"));
    if (hooks.idle)
        hooks.idle();
    writeChartPages(writer, pages, title, hooks);
    const int written = writer.pageCount();
    writer.EndChart();
    return written;
}
