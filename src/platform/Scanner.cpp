#include "platform/Scanner.h"

#include "platform/ScannerError.h"
#include "platform/ScannerFrames.h"

#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// SANE is one library state per process: sane_init and sane_exit must not overlap, so every
// session (a device listing or one scan) holds this lock for its whole life. A session
// starts SANE afresh, which also rereads its configuration and notices devices that came or
// went since the last one.
QMutex& saneLock() {
    static QMutex lock;
    return lock;
}

class SaneSession {
public:
    SaneSession() : guard_(&saneLock()) {
        SANE_Int version = 0;
        const SANE_Status status = sane_init(&version, nullptr);
        if (status != SANE_STATUS_GOOD)
            throw ScannerError(std::string("SANE could not be started: ") + sane_strstatus(status));
    }
    ~SaneSession() { sane_exit(); }
    SaneSession(const SaneSession&) = delete;
    SaneSession& operator=(const SaneSession&) = delete;

private:
    QMutexLocker<QMutex> guard_;
};

void check(SANE_Status status, const char* what) {
    if (status != SANE_STATUS_GOOD)
        throw ScannerError(std::string(what) + ": " + sane_strstatus(status));
}

struct HandleCloser {
    void operator()(SANE_Handle handle) const { sane_close(handle); }
};
using DeviceHandle = std::unique_ptr<void, HandleCloser>;

int findOption(SANE_Handle handle, const char* name) {
    SANE_Int count = 0;
    if (sane_control_option(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return -1;
    for (int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, i);
        if (option && option->name && std::strcmp(option->name, name) == 0 &&
            SANE_OPTION_IS_SETTABLE(option->cap) && SANE_OPTION_IS_ACTIVE(option->cap))
            return i;
    }
    return -1;
}

// Paper charts are filed in colour at a resolution that keeps handwriting legible; a device
// that cannot do either keeps its own setting. Failures here are not errors.
void preferChartSettings(SANE_Handle handle) {
    if (const int mode = findOption(handle, SANE_NAME_SCAN_MODE); mode > 0) {
        const auto* option = sane_get_option_descriptor(handle, mode);
        if (option->type == SANE_TYPE_STRING &&
            option->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
            for (const SANE_String_Const* s = option->constraint.string_list; *s; ++s) {
                if (std::strcmp(*s, SANE_VALUE_SCAN_MODE_COLOR) == 0) {
                    std::string value(*s);
                    value.resize(std::max<size_t>(value.size() + 1, option->size));
                    sane_control_option(handle, mode, SANE_ACTION_SET_VALUE, value.data(), nullptr);
                    break;
                }
            }
        }
    }
    if (const int res = findOption(handle, SANE_NAME_SCAN_RESOLUTION); res > 0) {
        const auto* option = sane_get_option_descriptor(handle, res);
        constexpr double wanted = 200.0;
        double value = wanted;
        if (option->constraint_type == SANE_CONSTRAINT_RANGE) {
            const auto* range = option->constraint.range;
            const double lo = option->type == SANE_TYPE_FIXED ? SANE_UNFIX(range->min) : range->min;
            const double hi = option->type == SANE_TYPE_FIXED ? SANE_UNFIX(range->max) : range->max;
            value = std::clamp(wanted, lo, hi);
        } else if (option->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
            const SANE_Word* list = option->constraint.word_list;
            double best = -1, bestDistance = std::numeric_limits<double>::max();
            for (int i = 1; i <= list[0]; ++i) {
                const double v = option->type == SANE_TYPE_FIXED ? SANE_UNFIX(list[i]) : list[i];
                if (std::abs(v - wanted) < bestDistance)
                    best = v, bestDistance = std::abs(v - wanted);
            }
            if (best < 0)
                return;
            value = best;
        }
        SANE_Word word =
            option->type == SANE_TYPE_FIXED ? SANE_FIX(value) : static_cast<SANE_Word>(value);
        if (option->type == SANE_TYPE_FIXED || option->type == SANE_TYPE_INT)
            sane_control_option(handle, res, SANE_ACTION_SET_VALUE, &word, nullptr);
    }
}

ScanFrame::Format formatOf(SANE_Frame frame) {
    switch (frame) {
    case SANE_FRAME_GRAY:
        return ScanFrame::Format::Gray;
    case SANE_FRAME_RGB:
        return ScanFrame::Format::Rgb;
    case SANE_FRAME_RED:
        return ScanFrame::Format::Red;
    case SANE_FRAME_GREEN:
        return ScanFrame::Format::Green;
    case SANE_FRAME_BLUE:
        return ScanFrame::Format::Blue;
    }
    throw ScannerError("unsupported frame format");
}

// A page larger than this is a device fault (a hand scanner that never ends, for example).
constexpr qsizetype maxFrameBytes = qsizetype(1) << 30;

} // namespace

QString ScannerDevice::label() const {
    return QStringLiteral("%1 %2 (%3)").arg(vendor, model, name);
}

QList<ScannerDevice> scannerDevices() {
    SaneSession session;
    const SANE_Device** list = nullptr;
    check(sane_get_devices(&list, SANE_FALSE), "listing devices");
    QList<ScannerDevice> devices;
    for (int i = 0; list && list[i]; ++i)
        devices.append(
            {QString::fromLocal8Bit(list[i]->name), QString::fromLocal8Bit(list[i]->vendor),
             QString::fromLocal8Bit(list[i]->model), QString::fromLocal8Bit(list[i]->type)});
    return devices;
}

QImage scanOnePage(const QString& device, const std::atomic<bool>& cancel) {
    SaneSession session;
    SANE_Handle raw = nullptr;
    check(sane_open(device.toLocal8Bit().constData(), &raw), "opening the device");
    DeviceHandle handle(raw);
    preferChartSettings(raw);

    std::vector<ScanFrame> frames;
    std::vector<SANE_Byte> chunk(64 * 1024);
    for (;;) {
        SANE_Status status = sane_start(raw);
        if (status == SANE_STATUS_CANCELLED)
            return {};
        check(status, "starting the scan");
        SANE_Parameters p{};
        check(sane_get_parameters(raw, &p), "reading the scan parameters");
        ScanFrame frame;
        frame.format = formatOf(p.format);
        frame.bytesPerLine = p.bytes_per_line;
        frame.pixelsPerLine = p.pixels_per_line;
        frame.depth = p.depth;
        if (p.lines > 0 && p.bytes_per_line > 0 &&
            static_cast<qsizetype>(p.lines) * p.bytes_per_line <= maxFrameBytes)
            frame.data.reserve(static_cast<qsizetype>(p.lines) * p.bytes_per_line);
        for (;;) {
            if (cancel.load()) {
                sane_cancel(raw);
                return {};
            }
            SANE_Int length = 0;
            status = sane_read(raw, chunk.data(), static_cast<SANE_Int>(chunk.size()), &length);
            if (status == SANE_STATUS_EOF)
                break;
            if (status == SANE_STATUS_CANCELLED) {
                sane_cancel(raw);
                return {};
            }
            if (status != SANE_STATUS_GOOD) {
                sane_cancel(raw);
                check(status, "reading the scan");
            }
            frame.data.append(reinterpret_cast<const char*>(chunk.data()), length);
            if (frame.data.size() > maxFrameBytes) {
                sane_cancel(raw);
                throw ScannerError("the scan is larger than any page");
            }
        }
        frames.push_back(std::move(frame));
        if (p.last_frame)
            break;
        if (frames.size() >= 3) {
            sane_cancel(raw);
            throw ScannerError("the scanner sent more frames than a page has");
        }
    }
    sane_cancel(raw); // ends the scan cycle, as SANE requires after the last frame
    return assembleScan(frames);
}

Scanner::Scanner(QObject* parent)
    : QObject(parent), cancel_(std::make_shared<std::atomic<bool>>(false)) {}

Scanner::~Scanner() {
    if (thread_) {
        cancel();
        thread_->wait();
        delete thread_;
    }
}

bool Scanner::acquire() {
    if (thread_ || !hasDevice())
        return false;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    thread_ = QThread::create([this, device = device_, flag = cancel_] {
        QImage image;
        QString error;
        try {
            image = scanOnePage(device, *flag);
        } catch (const ScannerError& e) {
            error = QString::fromLocal8Bit(e.what());
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
        // Delivered on the Scanner's thread; dropped if the Scanner is gone by then.
        QMetaObject::invokeMethod(
            this, [this, image, error] { finish(image, error); }, Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void Scanner::finish(const QImage& image, const QString& error) {
    if (thread_) {
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
    }
    if (!error.isEmpty())
        emit failed(error);
    else if (image.isNull())
        emit cancelled();
    else
        emit acquired(image);
}
