#include "recipes/TDB.h"

#include <sqlite3.h>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

#include "common/TZEMError.h"

namespace {

const QString driverName = QStringLiteral("QSQLITE");

// Virtual-machine steps between two looks at the clock: about a millisecond of work.
constexpr int ProgressSteps = 10000;

// SQLite's own handle of a Qt SQL connection; null for another driver or a closed connection.
sqlite3* sqliteOf(const QSqlDatabase& db) {
    const QVariant handle = db.isOpen() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(handle.constData());
}

std::atomic<int>& timeLimit() {
    static std::atomic<int> msecs{TDB::DefaultTimeLimitMSecs};
    return msecs;
}

const QStringList& requiredTables() {
    static const QStringList names{QStringLiteral("ItemCreator"), QStringLiteral("ItemInfo"),
                                   QStringLiteral("ItemKind"),
                                   QStringLiteral("ItemCreateRelation")};
    return names;
}

QString nextConnectionName() {
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("TAMU_TDB_%1").arg(++counter);
}

// The driver's own words, under a Japanese line that says what failed and where.
TZEMError driverError(const QSqlError& error, const QString& path, const QString& fallback) {
    const QString text = error.text().trimmed();
    return TZEMError(QStringLiteral("アイテムデータベースを読めません：") + path + u'\n' +
                     (text.isEmpty() ? fallback : text));
}

}  // namespace

TDB::TDB(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        throw TZEMError(QStringLiteral("Access DB：") + path + QStringLiteral(" が存在しません"));
    }
    if (!QSqlDatabase::isDriverAvailable(driverName)) {
        throw TZEMError(QStringLiteral("データベースドライバ %1 が見つかりません").arg(driverName));
    }
    Path = path;
    m_connectionName = nextConnectionName();
    QSqlDatabase::addDatabase(driverName, m_connectionName);
}

TDB::~TDB() {
    Disconnect();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool TDB::Connect() {
    ConnectionString = QStringLiteral("Driver=") + driverName + QStringLiteral(";Data Source=") +
                       Path + QStringLiteral(";Mode=ReadOnly");
    Disconnect();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.setDatabaseName(Path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            throw driverError(db.lastError(), Path, QStringLiteral("データベースを開けません"));
        }
        watch(db);
        m_running.start();
        // SQLite opens lazily; reading the schema makes a file that is no database fail here.
        QSqlError error;
        {
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
                error = probe.lastError();
            }
        }
        if (error.isValid()) {
            db.close();
            throw failure(error, QStringLiteral("データベースを開けません"));
        }
        try {
            requireTables(db);
        } catch (...) {
            db.close();
            throw;
        }
    }
    return true;
}

TDBQuery& TDB::OpenQuery(const SqlStatement& statement) {
    m_query.close();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen()) {
        throw TZEMError(QStringLiteral("データベースに接続されていません：") + Path);
    }
    constexpr std::size_t maxPrepared = 32;
    auto it = m_prepared.find(statement.text);
    // A statement is reused only with as many values as it took before, so a missing value is
    // reported by the driver instead of silently taking the previous run's value.
    if (it != m_prepared.end() && it->second.valueCount != statement.values.size()) {
        m_prepared.erase(it);
        it = m_prepared.end();
    }
    if (it == m_prepared.end()) {
        if (m_prepared.size() >= maxPrepared) {
            m_prepared.clear();
        }
        auto query = std::make_unique<QSqlQuery>(db);
        query->setForwardOnly(true);
        if (!query->prepare(statement.text)) {
            throw failure(query->lastError(), statement.text);
        }
        it = m_prepared.emplace(statement.text, Prepared{std::move(query), -1, {}}).first;
    }
    QSqlQuery& query = *it->second.query;
    for (int i = 0; i < statement.values.size(); ++i) {
        query.bindValue(i, statement.values[i]);
    }
    m_running.start();
    m_timedOut = false;
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        m_prepared.erase(it);
        throw failure(error, statement.text);
    }
    Prepared& prepared = it->second;
    if (prepared.valueCount < 0) {
        const QSqlRecord record = query.record();
        for (int i = record.count() - 1; i >= 0; --i) {
            prepared.columns.insert(record.fieldName(i), i);  // the first of equal names wins
        }
    }
    prepared.valueCount = statement.values.size();
    const QString text = statement.text;
    m_query.open(
        &query, &prepared.columns,
        [this, text](const QSqlError& error) { return failure(error, text); },
        [this] { rowArrived(); });
    return m_query;
}

void TDB::connectOrFail() {
    if (!Connect()) {
        throw TZEMError(QStringLiteral("DBの接続に失敗しました。"));
    }
}

void TDB::setTimeLimit(int msecs) {
    timeLimit() = msecs > 0 ? msecs : DefaultTimeLimitMSecs;
}

int TDB::progress(void* self) {
    TDB* db = static_cast<TDB*>(self);
    if (db->m_running.isValid() && db->m_running.hasExpired(timeLimit())) {
        db->m_timedOut = true;
        return 1;  // interrupts the statement
    }
    return 0;
}

// Bounds the run time of every statement on this connection through SQLite's progress handler.
void TDB::watch(const QSqlDatabase& db) {
    if (sqlite3* connection = sqliteOf(db)) {
        sqlite3_progress_handler(connection, ProgressSteps, &TDB::progress, this);
    }
}

// The four names must be tables: a view or any other object in their place could run anything.
void TDB::requireTables(const QSqlDatabase& db) {
    QSqlQuery schema(db);
    if (!schema.exec(QStringLiteral("SELECT name, type FROM sqlite_master"))) {
        throw failure(schema.lastError(), QStringLiteral("データベースを開けません"));
    }
    while (schema.next()) {
        const QString name = schema.value(0).toString();
        for (const QString& table : requiredTables()) {
            if (name.compare(table, Qt::CaseInsensitive) == 0 &&
                schema.value(1).toString() != QStringLiteral("table")) {
                throw TZEMError(QStringLiteral("アイテムデータベースを読めません：") + Path +
                                QStringLiteral("\n%1 はテーブルではありません").arg(table));
            }
        }
    }
}

TZEMError TDB::failure(const QSqlError& error, const QString& fallback) const {
    if (m_timedOut) {
        return TZEMError(QStringLiteral("アイテムデータベースを読めません：") + Path +
                         QStringLiteral("\n処理に時間がかかりすぎるため中断しました"));
    }
    return driverError(error, Path, fallback);
}

sqlite3* TDB::startDirectStatement() {
    sqlite3* connection = sqliteOf(QSqlDatabase::database(m_connectionName, false));
    if (connection == nullptr) {
        throw TZEMError(QStringLiteral("データベースに接続されていません：") + Path);
    }
    m_running.start();
    m_timedOut = false;
    return connection;
}

TZEMError TDB::failure(const QString& sqliteMessage) const {
    return failure(QSqlError(sqliteMessage), sqliteMessage);
}

void TDB::dropPrepared() {
    m_query.close();
    m_prepared.clear();
}

void TDB::Disconnect() {
    dropPrepared();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen()) {
        db.close();
    }
}
