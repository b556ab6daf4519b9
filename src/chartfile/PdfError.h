#pragma once
// The one error type of the chart PDF reader. It carries the system's own message text,
// which callers show and log unchanged.

#include <QByteArray>
#include <QString>

#include <exception>

class PdfError : public std::exception {
public:
    explicit PdfError(QString message);
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// `text` followed directly by the position as at least 8 upper-case hexadecimal digits.
QString withPosition(const char* text, qint64 position);

// What a read beyond the end of the file raises: the file stream's read error.
[[noreturn]] void throwReadError();
