#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Windows' Japanese code page (CP932: Shift-JIS with the NEC and IBM extensions), in which the
// game's own settings files are written. On Linux through ICU ("windows-31j"); on Windows, where
// Qt has no ICU, through the system's own code page 932.
namespace ShiftJis {

// The text, or nothing when the bytes are not Shift-JIS (a character cut off at the end too).
std::optional<QString> decode(const QByteArray& bytes);
// The text as read, each byte that is not Shift-JIS as a replacement character.
QString decodeLoosely(const QByteArray& bytes);
// Nothing when the text has a character that Shift-JIS cannot hold.
std::optional<QByteArray> encode(const QString& text);

}  // namespace ShiftJis
