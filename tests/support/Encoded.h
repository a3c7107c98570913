#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <cstring>

#include "common/ShiftJis.h"

// `text` in the named encoding after `bom`: the settings files as other programs write them.
// Shift-JIS goes through ShiftJis, since Qt for Windows has no converter of its own for it.
inline QByteArray encoded(const char* encoding, const QString& text, const QByteArray& bom = {}) {
    if (std::strcmp(encoding, "windows-31j") == 0) {
        return bom + ShiftJis::encode(text).value_or(QByteArray());
    }
    return bom + QByteArray(QStringEncoder(encoding).encode(text));
}
