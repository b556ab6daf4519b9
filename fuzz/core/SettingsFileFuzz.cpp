// Contract: any bytes given to the settings file reader are either refused or read, never
// crash it, and what it reads it writes back in a form that reads to the same values, so a
// settings file never drifts from one run to the next.

#include "core/SettingsFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool sameValues(const SettingsFile& a, const SettingsFile& b) {
    if (a.values().size() != b.values().size())
        return false;
    for (qsizetype i = 0; i < a.values().size(); ++i) {
        const SettingsFile::Value& x = a.values().at(i);
        const SettingsFile::Value& y = b.values().at(i);
        if (x.name != y.name || x.type != y.type)
            return false;
        if (x.type == SettingsFile::Type::Text && x.text != y.text)
            return false;
        if (x.type == SettingsFile::Type::Number && x.number != y.number)
            return false;
        if (x.type == SettingsFile::Type::Other && x.raw != y.raw)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SettingsFile first;
    if (!first.parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        return 0;
    const QByteArray written = first.serialize();
    SettingsFile second;
    // The key is written even when the file had none, so the second reading always has it.
    if (!second.parse(written) || !second.hasKey() || !sameValues(first, second) ||
        second.serialize() != written)
        abort();
    return 0;
}
