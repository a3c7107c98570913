#include "common/TableText.h"

#include <QSaveFile>

#include "common/TZEMError.h"

namespace TableText {

namespace {

QString field(const QString& text, QChar separator) {
    const bool quote = text.contains(separator) || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r');
    if (!quote) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString join(const QList<QStringList>& rows, QChar separator, const QString& lineEnd) {
    QString out;
    for (const QStringList& row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const QString& text : row) {
            fields << field(text, separator);
        }
        out += fields.join(separator) + lineEnd;
    }
    return out;
}

}  // namespace

QString toTsv(const QList<QStringList>& rows) {
    return join(rows, u'\t', QStringLiteral("\n"));
}

QByteArray toCsv(const QList<QStringList>& rows) {
    return QByteArrayLiteral("\xEF\xBB\xBF") + join(rows, u',', QStringLiteral("\r\n")).toUtf8();
}

void saveCsv(const QString& fileName, const QList<QStringList>& rows) {
    QSaveFile file(fileName);
    const QByteArray bytes = toCsv(rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw TZEMError::cannotWrite(fileName);
    }
}

}  // namespace TableText
