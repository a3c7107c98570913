#include "mdbimport/SqlConnection.h"

#include <atomic>

SqlConnection::SqlConnection(const QString& driver, const QString& databaseName) {
    static std::atomic<unsigned> counter{0};
    m_name = QStringLiteral("TAMU_SqlConnection_%1").arg(++counter);
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_name);
    db.setDatabaseName(databaseName);
}

SqlConnection::~SqlConnection() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}
