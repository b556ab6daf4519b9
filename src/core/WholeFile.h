#pragma once
// Writing a file whole or not at all: the bytes go to a temporary file beside the target,
// which replaces the target only when everything was written. A failure leaves any earlier
// file of that name as it was.

#include <QByteArray>
#include <QString>

bool writeWholeFile(const QString& path, const QByteArray& bytes);
