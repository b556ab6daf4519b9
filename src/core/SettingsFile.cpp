#include "core/SettingsFile.h"

#include "core/Cp932.h"
#include "core/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QString kRegedit4 = QStringLiteral("REGEDIT4");
const QString kRegedit5 = QStringLiteral("Windows Registry Editor Version 5.00");

QString decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        return utf16(bytes.mid(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return fromCp932(bytes);
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

// Reads the quoted string that starts at text[pos] == '"'. Returns the index just after the
// closing quote, or -1 when there is none. Only \\ and \" are escapes; any other backslash
// stands for itself.
qsizetype readQuoted(const QString& text, qsizetype pos, QString* out) {
    out->clear();
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            return i + 1;
        if (c == QLatin1Char('\\') && i + 1 < text.size() &&
            (text.at(i + 1) == QLatin1Char('\\') || text.at(i + 1) == QLatin1Char('"'))) {
            *out += text.at(++i);
            continue;
        }
        *out += c;
    }
    return -1;
}

QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\');
        // A line break cannot stand inside a quoted value of this format; no setting holds one
        // on purpose, so it is kept as a blank rather than breaking the file.
        out += (c == QLatin1Char('\r') || c == QLatin1Char('\n')) ? QLatin1Char(' ') : c;
    }
    return out + QLatin1Char('"');
}

bool holdsInCp932(const QString& text) {
    return fromCp932(toCp932(text)) == text;
}

std::optional<qint32> parseDword(const QString& digits) {
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    for (const QChar c : digits)
        if (!c.isDigit() && !QStringLiteral("abcdefABCDEF").contains(c))
            return std::nullopt;
    return static_cast<qint32>(digits.toUInt(nullptr, 16));
}

SettingsFile::Value parseData(const QString& name, const QString& data) {
    SettingsFile::Value value;
    value.name = name;
    value.raw = data;
    if (data.startsWith(QLatin1Char('"'))) {
        QString text;
        const qsizetype end = readQuoted(data, 0, &text);
        if (end >= 0 && data.mid(end).trimmed().isEmpty()) {
            value.type = SettingsFile::Type::Text;
            value.text = text;
        }
    } else if (data.startsWith(QStringLiteral("dword:"), Qt::CaseInsensitive)) {
        if (const auto n = parseDword(data.mid(6).trimmed())) {
            value.type = SettingsFile::Type::Number;
            value.number = *n;
        }
    }
    return value;
}

} // namespace

QString SettingsFile::defaultKey() {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Nadrel\\TovaneFileLite20");
}

SettingsFile::SettingsFile(const QString& key) : key_(key) {}

void SettingsFile::clear() {
    hasKey_ = false;
    values_.clear();
    otherKeys_.clear();
}

bool SettingsFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return false;
    }
    return parse(file.readAll());
}

bool SettingsFile::parse(const QByteArray& bytes) {
    clear();
    const QStringList lines = splitLines(decode(bytes));
    qsizetype i = 0;
    while (i < lines.size() && lines.at(i).trimmed().isEmpty())
        ++i;
    if (i == lines.size())
        return false;
    const QString header = lines.at(i).trimmed();
    if (header != kRegedit4 && header != kRegedit5)
        return false;

    enum class Section { None, Ours, Other } section = Section::None;
    for (++i; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const bool ours = line.endsWith(QLatin1Char(']')) &&
                              line.mid(1, line.size() - 2).compare(key_, Qt::CaseInsensitive) == 0;
            section = ours ? Section::Ours : Section::Other;
            if (ours)
                hasKey_ = true;
            else
                otherKeys_ << lines.at(i);
            continue;
        }
        if (section == Section::Other) {
            otherKeys_ << lines.at(i);
            continue;
        }
        if (section == Section::None || line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;

        QString name;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            name = QStringLiteral("@");
            pos = 1;
        } else if (line.startsWith(QLatin1Char('"'))) {
            pos = readQuoted(line, 0, &name);
            if (pos < 0)
                continue;
        } else {
            continue;
        }
        while (pos < line.size() && line.at(pos).isSpace())
            ++pos;
        if (pos >= line.size() || line.at(pos) != QLatin1Char('='))
            continue;
        QString data = line.mid(pos + 1).trimmed();
        // Binary values run on over lines that end with a backslash.
        if (data.startsWith(QStringLiteral("hex"), Qt::CaseInsensitive)) {
            while (data.endsWith(QLatin1Char('\\'))) {
                data.chop(1);
                if (i + 1 == lines.size())
                    break;
                data += lines.at(++i).trimmed();
            }
        }
        setValue(parseData(name, data));
    }
    return true;
}

QByteArray SettingsFile::serialize() const {
    QStringList lines;
    bool unicode = !holdsInCp932(key_);
    lines << QString() << QLatin1Char('[') + key_ + QLatin1Char(']');
    for (const Value& v : values_) {
        const QString name = v.name == QStringLiteral("@") ? v.name : quoted(v.name);
        unicode = unicode || !holdsInCp932(v.name);
        switch (v.type) {
        case Type::Text:
            unicode = unicode || !holdsInCp932(v.text);
            lines << name + QLatin1Char('=') + quoted(v.text);
            break;
        case Type::Number:
            lines << name + QStringLiteral("=dword:") +
                         QStringLiteral("%1").arg(static_cast<quint32>(v.number), 8, 16,
                                                  QLatin1Char('0'));
            break;
        case Type::Other:
            unicode = unicode || !holdsInCp932(v.raw);
            lines << name + QLatin1Char('=') + v.raw;
            break;
        }
    }
    lines << QString();
    QStringList others = otherKeys_;
    while (!others.isEmpty() && others.last().trimmed().isEmpty())
        others.removeLast();
    for (const QString& line : others)
        unicode = unicode || !holdsInCp932(line);
    if (!others.isEmpty())
        lines << others << QString();

    lines.prepend(unicode ? kRegedit5 : kRegedit4);
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!unicode)
        return toCp932(text);
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(utf16(text));
}

bool SettingsFile::save(const QString& path) const {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    return writeWholeFile(path, serialize());
}

const SettingsFile::Value* SettingsFile::find(const QString& name) const {
    for (const Value& v : values_)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

std::optional<QString> SettingsFile::text(const QString& name) const {
    const Value* v = find(name);
    if (!v || v->type != Type::Text)
        return std::nullopt;
    return v->text;
}

std::optional<qint32> SettingsFile::number(const QString& name) const {
    const Value* v = find(name);
    if (!v || v->type != Type::Number)
        return std::nullopt;
    return v->number;
}

void SettingsFile::setValue(const Value& value) {
    hasKey_ = true;
    for (Value& v : values_) {
        if (v.name.compare(value.name, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    }
    values_.append(value);
}

void SettingsFile::setText(const QString& name, const QString& text) {
    Value v;
    v.name = name;
    v.type = Type::Text;
    v.text = text;
    setValue(v);
}

void SettingsFile::setNumber(const QString& name, qint32 number) {
    Value v;
    v.name = name;
    v.type = Type::Number;
    v.number = number;
    setValue(v);
}

bool SettingsFile::remove(const QString& name) {
    for (qsizetype i = 0; i < values_.size(); ++i) {
        if (values_.at(i).name.compare(name, Qt::CaseInsensitive) == 0) {
            values_.removeAt(i);
            return true;
        }
    }
    return false;
}

void SettingsFile::setValues(const QList<Value>& values) {
    hasKey_ = true;
    values_ = values;
}
