#pragma once
// The error the chart PDF writer raises. It carries the failure's message text and passes to
// the caller: the save or send that started the write shows its own box and log line.

#include <QString>

#include <stdexcept>

class ChartPdfWriterError : public std::runtime_error {
public:
    explicit ChartPdfWriterError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};
