#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The CSV files of the program, as spreadsheet programs write and read them: comma-separated,
// fields quoted where they hold a comma, a quote or a line end, lines ending in CR LF, saved as
// UTF-8 with a byte-order mark so that the Japanese reads.
namespace CsvText {

// One field as written; a text that a spreadsheet would take for a formula (=, +, -, @) gets an
// apostrophe in front, so that it stays text.
QString field(QString text);
// The field as the user meant it: the apostrophe that field() puts before a formula taken off.
QString unguarded(const QString& field);
QString line(const QStringList& fields);

struct Row {
    int line = 0;  // where the row starts in the file, from 1
    QStringList fields;
    bool unterminated = false;  // a quoted field runs to the end of the file
};
// The rows of a CSV text; a line end inside quotes belongs to the field.
QList<Row> rows(const QString& text);

// The text of a CSV file: UTF-8 with or without a byte-order mark, or Shift-JIS (a spreadsheet
// on Japanese Windows saves CSV so); nothing for bytes of neither.
std::optional<QString> decode(const QByteArray& bytes);

// Writes the text as UTF-8 with a byte-order mark, replacing the file whole; raises
// "%s に書き込めません" when it cannot.
void save(const QString& fileName, const QString& text);

}  // namespace CsvText
