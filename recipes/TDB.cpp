#include "recipes/TDB.h"

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
            throw driverError(error, Path, QStringLiteral("データベースを開けません"));
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
            throw driverError(query->lastError(), Path, statement.text);
        }
        it = m_prepared.emplace(statement.text, Prepared{std::move(query), -1, {}}).first;
    }
    QSqlQuery& query = *it->second.query;
    for (int i = 0; i < statement.values.size(); ++i) {
        query.bindValue(i, statement.values[i]);
    }
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        m_prepared.erase(it);
        throw driverError(error, Path, statement.text);
    }
    Prepared& prepared = it->second;
    if (prepared.valueCount < 0) {
        const QSqlRecord record = query.record();
        for (int i = record.count() - 1; i >= 0; --i) {
            prepared.columns.insert(record.fieldName(i), i);  // the first of equal names wins
        }
    }
    prepared.valueCount = statement.values.size();
    m_query.open(&query, &prepared.columns);
    return m_query;
}

sqlite3* TDB::sqliteHandle() {
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen()) {
        throw TZEMError(QStringLiteral("データベースに接続されていません：") + Path);
    }
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        throw TZEMError(QStringLiteral("データベースに接続されていません：") + Path);
    }
    return *static_cast<sqlite3* const*>(handle.constData());
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
