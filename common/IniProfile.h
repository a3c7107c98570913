#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

// An INI file read and written with Windows private-profile semantics: section and key names
// compare without regard to letter case; a missing file, section or key reads as the caller's
// default; a write changes only the lines of the keys written and leaves every other byte of the
// file as it was.
//
// Files written on Japanese Windows read as they are: UTF-8 with or without a byte-order mark,
// UTF-16 LE/BE with a mark, and Shift-JIS (CP932). A write keeps the file's encoding and its line
// ends. The file is replaced atomically, and only once every byte of the new version is known to
// be on disk, so a crash or a full disk never leaves it empty or half written. A file that exists
// but cannot be read is reported once and never overwritten; so is a file larger than
// MaxFileBytes, which is left unread (a settings file that large is none, and reading it would
// hold up the start).
class IniProfile {
public:
    struct Entry {
        QString section;
        QString key;
        QString value;
        // Keys that are names of the game's items, which differ in letter case alone, match
        // exactly; every other key as the private-profile rule says.
        Qt::CaseSensitivity keyCase = Qt::CaseInsensitive;
    };

    static constexpr qint64 MaxFileBytes = 512 << 10;  // 512 KB: 5,000 alarms take 350 KB

    // The file parsed once, for a reader that asks for many keys: each lookup is then a hash
    // look-up instead of another reading of the file. The same rules as the reads below.
    class Contents {
    public:
        QString readString(const QString& section, const QString& key,
                           const QString& defaultValue) const;
        std::int32_t readInteger(const QString& section, const QString& key,
                                 std::int32_t defaultValue) const;
        QList<std::pair<QString, QString>> readSection(const QString& section) const;
        const QList<Entry>& entries() const { return m_entries; }

    private:
        friend class IniProfile;
        QList<Entry> m_entries;
        QHash<QString, QList<std::pair<QString, QString>>> m_sections;  // by case-folded name
    };

    // Several changes in one replacement of the file. Removals come first: a key removed is
    // taken out of its section, a section removed loses every line from its header to the next
    // one, wherever it appears; keys set afterwards into a removed section start it anew at the
    // end of the file.
    struct Changes {
        QList<Entry> set;
        QList<Entry> removedKeys;  // their values are not used
        QStringList removedSections;
    };

    explicit IniProfile(QString fileName);

    const QString& fileName() const { return m_fileName; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal, or hexadecimal with the prefix 0x / 0X; anything else (or a value beyond 32 bits)
    // reads as the default.
    std::int32_t readInteger(const QString& section, const QString& key,
                             std::int32_t defaultValue) const;

    // Every key of a section with its value, in file order (the first of equal keys wins on
    // reading, as readString does).
    QList<std::pair<QString, QString>> readSection(const QString& section) const;
    // Every key of every section in file order, the file read once. A section that appears again
    // further down is read only where it first appears, as readSection reads it.
    QList<Entry> readAll() const;
    Contents read() const;

    // Each throws TZEMError "%s に書き込めません" when the file cannot be written; the file then
    // keeps its previous content.
    void writeString(const QString& section, const QString& key, const QString& value,
                     Qt::CaseSensitivity keyCase = Qt::CaseInsensitive);
    void writeInteger(const QString& section, const QString& key, std::int32_t value);
    // Several keys in one replacement of the file: after a crash it holds all of them or none.
    void write(const QList<Entry>& entries);
    // Nothing is written when there is nothing to change.
    void apply(const Changes& changes);

    // The integer rule on its own, for callers and tests.
    static std::optional<std::int32_t> parseInteger(const QString& text);

    // Called with the file name when a new version is complete on disk, just before it replaces
    // the file; an exception thrown here cancels the replacement. For tests that end a write at
    // that moment.
    static void setReplaceHook(std::function<void(const QString& fileName)> hook);

private:
    QString m_fileName;
};
