#pragma once
// The settings store of this platform: one registry key kept as a registry export file.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Nadrel\TovaneFileLite20]
//   "Target"="C:\\Charts\\"
//   "Quality"=dword:00000050
//
// Text values escape "\" and the quote as \\ and \"; numbers are 32-bit "dword:" values in
// eight hex digits. The file is code page 932 with CR LF. A Windows "reg export" file
// (Windows Registry Editor Version 5.00, UTF-16LE with a byte order mark) reads as well, and
// is the form written when a text cannot be held in code page 932 (a Linux folder name, for
// instance), so that such a text is never saved with its characters replaced by "?".
//
// Values keep their types, so a value whose stored type does not match is detectable. Values
// of other types (hex:, hex(2): ...) and other keys in the file are kept as they stand.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class SettingsFile {
public:
    enum class Type { Text, Number, Other };
    struct Value {
        QString name; // "@" for the key's default value
        Type type = Type::Other;
        QString text;      // Type::Text
        qint32 number = 0; // Type::Number
        QString raw;       // Type::Other: the data after "=" as it stands
    };

    // The key this file holds, without a leading "[".
    static QString defaultKey();

    explicit SettingsFile(const QString& key = defaultKey());

    // Reads the file. False (and nothing held) when it is missing, cannot be read or is not a
    // registry export file. A file without the key loads as true with hasKey() false.
    bool load(const QString& path);
    // Parses file contents as load() does.
    bool parse(const QByteArray& bytes);
    // Writes the whole file through a temporary file; the key is written even when it holds
    // no values. False when it could not be written (the old file is then untouched).
    bool save(const QString& path) const;
    QByteArray serialize() const;

    bool hasKey() const { return hasKey_; }
    const QList<Value>& values() const { return values_; }
    // Value names compare without regard to case, as in the registry.
    const Value* find(const QString& name) const;
    // The value when it is present and of that type.
    std::optional<QString> text(const QString& name) const;
    std::optional<qint32> number(const QString& name) const;

    // Replace a value of that name in place, or append a new one.
    void setText(const QString& name, const QString& text);
    void setNumber(const QString& name, qint32 number);
    void setValue(const Value& value);
    bool remove(const QString& name);
    // Replaces every value; other keys of the file stay.
    void setValues(const QList<Value>& values);
    void clear();

private:
    QString key_;
    bool hasKey_ = false;
    QList<Value> values_;
    QStringList otherKeys_; // the lines of other keys, each block ending with its blank line
};
