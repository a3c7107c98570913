#pragma once

#include <QElapsedTimer>
#include <QString>
#include <map>
#include <memory>

#include "recipes/SqlStatement.h"
#include "recipes/TDBQuery.h"

// A short-lived, read-only connection to the item database (SQLite) and its one query. Each
// user action makes its own TDB, connects, runs its statements one after another and destroys
// it; several TDBs may be open at once, on the same file too.
class QSqlDatabase;
class QSqlError;
class QSqlQuery;
struct sqlite3;

class TDB {
public:
    // Fails with "Access DB：<path> が存在しません" when the file does not exist.
    explicit TDB(const QString& path);
    ~TDB();
    TDB(const TDB&) = delete;
    TDB& operator=(const TDB&) = delete;

    // Opens the file read-only and checks that it is a database; failures raise the driver's
    // message. Never returns false.
    bool Connect();
    // Connect, raising "DBの接続に失敗しました。" should it ever report false: how every reader
    // of the item database opens it.
    void connectOrFail();
    // Closes the previous result, runs the statement and returns its result on the first row.
    // The reference stays valid until the next OpenQuery or the TDB's end.
    TDBQuery& OpenQuery(const SqlStatement& statement);
    void Disconnect();
    // The open connection's SQLite handle, for a statement run past Qt SQL (SqliteScan); the
    // statement's time limit counts from this call.
    sqlite3* startDirectStatement();
    // The error to raise for such a statement's failure, from SQLite's message.
    TZEMError failure(const QString& sqliteMessage) const;
    // A row has come: the time limit counts afresh from here.
    void rowArrived() { m_running.start(); }

    QString Path;
    QString ConnectionString;

    // No statement may work this long without giving a row: a database built to make a query
    // endless fails with the usual unreadable-database message instead of hanging the program,
    // while a large honest result (a product of 100,000 materials) comes whole however long its
    // rows take together.
    static constexpr int DefaultTimeLimitMSecs = 5000;
    static void setTimeLimit(int msecs);  // for tests; 0 restores the default

private:
    // A recipe walk runs the same few statement texts thousands of times with new values;
    // each text is prepared once per connection.
    struct Prepared {
        std::unique_ptr<QSqlQuery> query;
        qsizetype valueCount = -1;  // values the statement took when it last ran
        QHash<QString, int> columns;
    };
    void dropPrepared();
    void watch(const QSqlDatabase& db);
    void requireTables(const QSqlDatabase& db);
    TZEMError failure(const QSqlError& error, const QString& fallback) const;
    static int progress(void* self);

    QString m_connectionName;
    std::map<QString, Prepared> m_prepared;
    TDBQuery m_query;
    QElapsedTimer m_running;  // since the current statement started or last gave a row
    bool m_timedOut = false;
};
