#include "mdbimport/ItemDbImport.h"

#include <sqlite3.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/FileSync.h"
#include "common/TZEMError.h"
#include "mdbimport/SqlConnection.h"
#include "recipes/ItemDbSchema.h"
#include "recipes/SqlScript.h"
#include "recipes/TDBQuery.h"

namespace ItemDbImport {
namespace {

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}

[[noreturn]] void cannotWrite(const QString& path, const QString& detail) {
    throw TZEMError(TZEMError::cannotWrite(path).message() + u'\n' + detail);
}

// Access compares names without regard to letter case; an exact match wins over a folded one.
qsizetype findName(const QStringList& names, const QString& name) {
    const qsizetype exact = names.indexOf(name);
    if (exact >= 0) {
        return exact;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

struct OpenTable {
    const ItemDbSchema::Table* layout;
    QString sourceName;
    std::unique_ptr<AccessTable> table;
};

// Opens the four tables and checks their columns; every problem is reported at once.
std::vector<OpenTable> openTables(AccessSource& source) {
    const QStringList names = source.tableNames();
    std::vector<OpenTable> open;
    QStringList problems;
    for (const ItemDbSchema::Table& layout : ItemDbSchema::tables()) {
        const qsizetype found = findName(names, text(layout.name));
        if (found < 0) {
            problems << QStringLiteral("表 %1 がありません").arg(text(layout.name));
            continue;
        }
        OpenTable t{&layout, names[found], source.table(names[found])};
        const QList<AccessColumn> columns = t.table->columns();
        QStringList columnNames;
        for (const AccessColumn& c : columns) {
            columnNames << c.name;
        }
        QList<int> selected;
        for (const ItemDbSchema::Column& column : layout.columns) {
            const qsizetype at = findName(columnNames, text(column.name));
            if (at < 0) {
                problems << QStringLiteral("表 %1 に列 %2 がありません")
                                .arg(t.sourceName, text(column.name));
            } else if (columns[at].type == AccessType::Other) {
                problems << QStringLiteral("表 %1 の列 %2 は%3で、%4として読めません")
                                .arg(t.sourceName, columns[at].name, columns[at].typeName,
                                     column.kind == ItemDbSchema::Kind::Integer
                                         ? QStringLiteral("整数")
                                         : QStringLiteral("文字列"));
            }
            selected << int(at);
        }
        if (problems.isEmpty()) {
            t.table->select(selected);
        }
        open.push_back(std::move(t));
    }
    if (!problems.isEmpty()) {
        throw TZEMError(problems.join(u'\n'));
    }
    return open;
}

QString rowPlace(const QString& table, std::int64_t number) {
    return QStringLiteral("表 %1 の %2 行目：").arg(table).arg(number);
}

// One prepared INSERT on the connection's own SQLite handle: Qt's binding costs more than the
// insert itself, at half a million rows.
class Insert {
public:
    Insert(const QSqlDatabase& db, const QString& statement) {
        const QVariant handle = db.driver()->handle();
        m_db = *static_cast<sqlite3* const*>(handle.constData());
        const QByteArray utf8 = statement.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_statement, nullptr) !=
            SQLITE_OK) {
            throw TZEMError(QString::fromUtf8(sqlite3_errmsg(m_db)));
        }
        m_texts.resize(std::size_t(sqlite3_bind_parameter_count(m_statement)));
    }
    ~Insert() { sqlite3_finalize(m_statement); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    void bindNull(int i) { sqlite3_bind_null(m_statement, i + 1); }
    void bind(int i, std::int32_t value) { sqlite3_bind_int(m_statement, i + 1, value); }
    // The database holds UTF-8; Qt converts faster than SQLite does. The text stays in this
    // object until the column is bound again, so SQLite need not copy it.
    void bind(int i, const QString& value) {
        QByteArray& utf8 = m_texts[std::size_t(i)];
        utf8 = value.toUtf8();
        sqlite3_bind_text(m_statement, i + 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    }
    // Runs the statement; returns SQLITE_DONE or the error code.
    int exec() {
        const int result = sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        return result;
    }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    std::vector<QByteArray> m_texts;  // one per value of the statement
};

std::int64_t copyTable(const OpenTable& t, const QSqlDatabase& db) {
    const ItemDbSchema::Table& layout = *t.layout;
    QStringList names;
    QStringList marks;
    for (const ItemDbSchema::Column& column : layout.columns) {
        names << text(column.name);
        marks << QStringLiteral("?");
    }
    Insert insert(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(text(layout.name), names.join(u','), marks.join(u',')));
    std::int64_t rows = 0;
    readRows(*t.table, t.sourceName, [&](const AccessRow& row, std::int64_t number) {
        for (qsizetype i = 0; i < layout.columns.size(); ++i) {
            const ItemDbSchema::Column& column = layout.columns[i];
            const AccessValue& value = row[i];
            if (value.null) {
                if (!column.nullable) {
                    throw TZEMError(
                        rowPlace(t.sourceName, number) +
                        QStringLiteral("列 %1 が NULL です。ふりがな 以外は値が必要です")
                            .arg(names[i]));
                }
                insert.bindNull(int(i));
            } else if (column.kind == ItemDbSchema::Kind::Integer) {
                try {
                    insert.bind(int(i), integerFromText(value.text));
                } catch (const TZEMError&) {
                    throw TZEMError(rowPlace(t.sourceName, number) +
                                    QStringLiteral("列 %1 の値「%2」は整数ではありません")
                                        .arg(names[i], value.text));
                }
            } else {
                insert.bind(int(i), value.text);
            }
        }
        const int result = insert.exec();
        if ((result & 0xff) == SQLITE_CONSTRAINT && layout.firstIsKey) {
            throw TZEMError(rowPlace(t.sourceName, number) +
                            QStringLiteral("%1「%2」が重複しています").arg(names[0], row[0].text));
        }
        if (result != SQLITE_DONE) {
            throw TZEMError(rowPlace(t.sourceName, number) + insert.error());
        }
        ++rows;
    });
    return rows;
}

void syncFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !FileSync::toDisk(file.handle())) {
        throw TZEMError::cannotWrite(path);
    }
}

void recordSource(const QSqlDatabase& db, const AccessFileIdentity& from, const QString& path) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("CREATE TABLE %1 (Name TEXT PRIMARY KEY, Value TEXT NOT NULL)")
                    .arg(text(ImportSourceTable)))) {
        cannotWrite(path, q.lastError().text());
    }
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("Size"), QString::number(from.size)},
        {QStringLiteral("Modified"), QString::number(from.modifiedMs)},
        {QStringLiteral("Hash"), QString::fromLatin1(from.hash)}};
    for (const auto& [name, value] : rows) {
        q.prepare(QStringLiteral("INSERT INTO %1 (Name, Value) VALUES (?, ?)")
                      .arg(text(ImportSourceTable)));
        q.addBindValue(name);
        q.addBindValue(value);
        if (!q.exec()) {
            cannotWrite(path, q.lastError().text());
        }
    }
}

// Reads the rows back before the file may take the target's place.
void verify(const QSqlDatabase& db, const QList<TableCount>& counts, const QString& path) {
    for (const TableCount& c : counts) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(c.table)) || !q.next() ||
            q.value(0).toLongLong() != c.rows) {
            cannotWrite(path,
                        QStringLiteral("表 %1 を書き込んだとおりに読み返せません").arg(c.table));
        }
    }
}

QList<TableCount> write(std::vector<OpenTable>& tables, const QString& path,
                        const AccessFileIdentity& from) {
    // Tables first, indices once the rows are in: building an index at the end is cheaper than
    // keeping it sorted row by row.
    const QString tablesScript = ItemDbSchema::tablesScript();
    const QString indicesScript = ItemDbSchema::indicesScript();
    QList<TableCount> counts;
    {
        const SqlConnection connection(QStringLiteral("QSQLITE"), path);
        QSqlDatabase db = connection.db();
        if (!db.open()) {
            cannotWrite(path, db.lastError().text());
        }
        QString error;
        // The file is renamed into place only once complete, so the journal buys nothing here.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode = OFF"));
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous = OFF"));
        if (!SqlScript::run(db, tablesScript, error)) {
            cannotWrite(path, error);
        }
        if (!db.transaction()) {
            cannotWrite(path, db.lastError().text());
        }
        try {
            for (const OpenTable& t : tables) {
                counts << TableCount{text(t.layout->name), copyTable(t, db)};
            }
        } catch (...) {
            db.rollback();
            throw;
        }
        if (!db.commit()) {
            cannotWrite(path, db.lastError().text());
        }
        if (!SqlScript::run(db, indicesScript, error)) {
            cannotWrite(path, error);
        }
        if (from.isValid()) {
            recordSource(db, from, path);
        }
        verify(db, counts, path);
    }
    syncFile(path);
    return counts;
}

}  // namespace

QString failureMessage(const QString& accessFile, const QString& reason) {
    return QStringLiteral("Access のアイテムデータベース %1 を取り込めません。\n%2")
        .arg(QDir::toNativeSeparators(accessFile), reason);
}

QString temporaryPath(const QString& target) {
    return target + QStringLiteral(".import");
}

QString lockPath(const QString& target) {
    return target + QStringLiteral(".lock");
}

AccessFileIdentity importedFrom(const QString& database) {
    if (!QFileInfo(database).isFile()) {
        return {};
    }
    AccessFileIdentity id;
    const SqlConnection connection(QStringLiteral("QSQLITE"), database);
    QSqlDatabase db = connection.db();
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        return {};
    }
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT Name, Value FROM %1").arg(text(ImportSourceTable)))) {
        return {};
    }
    bool sizeRead = false;
    bool timeRead = false;
    while (q.next()) {
        const QString name = q.value(0).toString();
        const QString value = q.value(1).toString();
        if (name == QLatin1String("Size")) {
            id.size = value.toLongLong(&sizeRead);
        } else if (name == QLatin1String("Modified")) {
            id.modifiedMs = value.toLongLong(&timeRead);
        } else if (name == QLatin1String("Hash")) {
            id.hash = value.toLatin1();
        }
    }
    return sizeRead && timeRead ? id : AccessFileIdentity{};
}

void readRows(AccessTable& table, const QString& tableName,
              const std::function<void(const AccessRow& row, std::int64_t number)>& take) {
    AccessRow row;
    std::int64_t number = 0;
    const std::int64_t declared = table.declaredRows();
    while (table.fetch(row)) {
        if (++number > declared) {
            throw TZEMError(
                QStringLiteral("表 %1 の行数が合いません (表の記録では %2 行ですが、それより多くの"
                               "行があります)。ファイルが壊れている可能性があります")
                    .arg(tableName)
                    .arg(declared));
        }
        take(row, number);
    }
    if (number != declared) {
        throw TZEMError(
            QStringLiteral("表 %1 の行数が合いません (表の記録では %2 行、読めたのは %3 "
                           "行)。ファイルが壊れている可能性があります")
                .arg(tableName)
                .arg(declared)
                .arg(number));
    }
}

QList<TableCount> run(AccessSource& source, const QString& target, const AccessFileIdentity& from) {
    const QString partial = temporaryPath(target);
    const QFileInfo folder(QFileInfo(target).absolutePath());
    if (!folder.isDir()) {
        throw TZEMError(QStringLiteral("フォルダー %1 がありません").arg(folder.filePath()));
    }
    // The rename would put a regular file in place of a device, a pipe or a link (and of the file
    // a link points to, only the link would change).
    std::error_code ec;
    const auto status =
        std::filesystem::symlink_status(std::filesystem::path(target.toStdU16String()), ec);
    if (std::filesystem::is_directory(status)) {
        throw TZEMError(QStringLiteral("%1 はフォルダーです").arg(target));
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        throw TZEMError(QStringLiteral("%1 は通常のファイルではない (%2) ため、書き込みません")
                            .arg(target, std::filesystem::is_symlink(status)
                                             ? QStringLiteral("シンボリックリンク")
                                             : QStringLiteral("デバイスまたはパイプ")));
    }
    QLockFile lock(lockPath(target));
    lock.setStaleLockTime(0);  // stale only once its owner is gone, never by its age
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
        throw Busy(QStringLiteral(
                       "別の取り込みが %1 に書き込んでいます。終わってからもう一度お試しください")
                       .arg(QDir::toNativeSeparators(target)));
    }
    std::vector<OpenTable> tables = openTables(source);
    QFile::remove(partial);
    QList<TableCount> counts;
    try {
        counts = write(tables, partial, from);
        std::filesystem::rename(std::filesystem::path(partial.toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), ec);
        if (ec) {
            throw TZEMError(QStringLiteral("%1 を置き換えられません：%2")
                                .arg(target, QString::fromLocal8Bit(ec.message())));
        }
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    return counts;
}

QList<TableCount> fromFile(const QString& accessFile, const QString& target) {
    try {
        const QFileInfo in(accessFile);
        if (in.exists() && in.canonicalFilePath() == QFileInfo(target).canonicalFilePath()) {
            throw TZEMError(QStringLiteral("取り込み先が取り込むファイルと同じです"));
        }
        const AccessFileIdentity identity = AccessFileIdentity::of(accessFile);
        const std::unique_ptr<AccessSource> source = AccessSource::open(accessFile);
        return run(*source, target, identity);
    } catch (const Busy& e) {
        throw Busy(failureMessage(accessFile, e.message()));
    } catch (const AccessReaderMissing& e) {
        throw AccessReaderMissing(failureMessage(accessFile, e.message()));
    } catch (const TZEMError& e) {
        throw TZEMError(failureMessage(accessFile, e.message()));
    }
}

}  // namespace ItemDbImport
