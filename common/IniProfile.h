#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// An INI file read and written with Windows private-profile semantics: section and key names
// compare without regard to letter case; a missing file, section or key reads as the caller's
// default; a write changes one key and leaves every other line as it was, and replaces the file
// atomically, so a crash never leaves it half written.
class IniProfile {
public:
    explicit IniProfile(QString fileName);

    const QString& fileName() const { return m_fileName; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal, or hexadecimal with the prefix 0x / 0X; anything else (or a value beyond 32 bits)
    // reads as the default.
    std::int32_t readInteger(const QString& section, const QString& key,
                             std::int32_t defaultValue) const;

    // Throws TZEMError "%s に書き込めません" when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, std::int32_t value);

    // Replaces the whole file at once with these sections of key=value entries, in order.
    using Entries = QList<QPair<QString, QString>>;
    void replaceAll(const QList<QPair<QString, Entries>>& sections);

    // The integer rule on its own, for callers and tests.
    static std::optional<std::int32_t> parseInteger(const QString& text);

private:
    QStringList readLines() const;
    void commit(const QStringList& lines);

    QString m_fileName;
};
