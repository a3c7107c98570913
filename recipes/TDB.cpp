#include "recipes/TDB.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "common/TZEMError.h"

namespace {

const QString driverName = QStringLiteral("QSQLITE");

QString nextConnectionName() {
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("TAMU_TDB_%1").arg(++counter);
}

TZEMError driverError(const QSqlError& error, const QString& fallback) {
    const QString text = error.text().trimmed();
    return TZEMError(text.isEmpty() ? fallback : text);
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
    m_query.close();
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
            throw driverError(db.lastError(), QStringLiteral("データベースを開けません：") + Path);
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
            throw driverError(error, QStringLiteral("データベースを開けません：") + Path);
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
    auto query = std::make_unique<QSqlQuery>(db);
    query->setForwardOnly(true);
    if (!query->prepare(statement.text)) {
        throw driverError(query->lastError(), statement.text);
    }
    for (const QString& value : statement.values) {
        query->addBindValue(value);
    }
    if (!query->exec()) {
        throw driverError(query->lastError(), statement.text);
    }
    m_query.open(std::move(query));
    return m_query;
}

void TDB::Disconnect() {
    m_query.close();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen()) {
        db.close();
    }
}
