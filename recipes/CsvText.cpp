#include "recipes/CsvText.h"

#include <QSaveFile>
#include <QStringDecoder>

#include "common/ShiftJis.h"
#include "common/TZEMError.h"

namespace CsvText {

namespace {

const QString FormulaStarts = QStringLiteral("=+-@");

}  // namespace

QString field(QString text) {
    bool number = false;
    text.toLongLong(&number);
    if (!number && !text.isEmpty() && FormulaStarts.contains(text.front())) {
        text.prepend(u'\'');
    }
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r')) {
        return text;
    }
    return u'"' + text.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QString unguarded(const QString& field) {
    if (field.size() >= 2 && field.front() == u'\'' && FormulaStarts.contains(field[1])) {
        return field.mid(1);
    }
    return field;
}

QString line(const QStringList& fields) {
    QStringList cells;
    for (const QString& f : fields) {
        cells << field(f);
    }
    return cells.join(u',') + QStringLiteral("\r\n");
}

QList<Row> rows(const QString& text) {
    QList<Row> result;
    Row row{1, {}, false};
    QString current;
    bool quoted = false;
    bool any = false;  // the row has begun
    int lineNo = 1;
    const auto endRow = [&] {
        row.fields << current;
        result << row;
        row = Row{lineNo, {}, false};
        current.clear();
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    current += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n') {
                    ++lineNo;
                }
                current += c;
            }
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            ++lineNo;
            endRow();
        } else if (c == u',') {
            row.fields << current;
            current.clear();
            any = true;
        } else if (c == u'"' && current.isEmpty()) {
            quoted = true;
            any = true;
        } else {
            current += c;
            any = true;
        }
    }
    if (quoted) {
        row.unterminated = true;
    }
    if (any || quoted || !current.isEmpty()) {
        row.fields << current;
        result << row;
    }
    return result;
}

std::optional<QString> decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(bytes.mid(3));
        return utf8.hasError() ? std::nullopt : std::optional<QString>(text);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return ShiftJis::decode(bytes);
}

void save(const QString& fileName, const QString& text) {
    QSaveFile file(fileName);
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw TZEMError::cannotWrite(fileName);
    }
}

}  // namespace CsvText
