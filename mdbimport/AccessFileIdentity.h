#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What tells one Access file from another without reading it whole: its size, its modification
// time and a hash of its first and last pages (the header with the database's own dates, and the
// page written last). A copy that kept an old time, or a file whose clock ran ahead, still differs
// from the file last imported as soon as its content does.
struct AccessFileIdentity {
    static constexpr qint64 PageBytes = 4096;  // a Jet 4 / ACE page; two Jet 3 pages

    qint64 size = -1;
    qint64 modifiedMs = 0;  // milliseconds since 1970 UTC
    QByteArray hash;        // SHA-256 in hexadecimal

    // The identity of the file at `path`; an invalid one when it cannot be read.
    static AccessFileIdentity of(const QString& path);

    bool isValid() const { return size >= 0 && !hash.isEmpty(); }
    bool operator==(const AccessFileIdentity&) const = default;
};
