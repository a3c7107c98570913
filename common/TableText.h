#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A table of texts as the clipboard and spreadsheets take it. A field that holds the separator,
// a quote or a line break is quoted, its quotes doubled.
namespace TableText {

// Tab-separated, one line per row, as spreadsheets paste it.
QString toTsv(const QList<QStringList>& rows);

// Comma-separated, CR LF line ends, UTF-8 with a byte-order mark so that spreadsheet programs
// read the Japanese text as UTF-8.
QByteArray toCsv(const QList<QStringList>& rows);

// Writes toCsv(rows) atomically: the file is either replaced whole or left as it was. Throws
// the "cannot write" error when it cannot be written.
void saveCsv(const QString& fileName, const QList<QStringList>& rows);

}  // namespace TableText
