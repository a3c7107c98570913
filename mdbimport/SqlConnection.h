#pragma once

#include <QSqlDatabase>
#include <QString>

// A Qt SQL connection under a name of its own, so that several can be open at once; closed and
// removed again with this object.
class SqlConnection {
public:
    SqlConnection(const QString& driver, const QString& databaseName);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};
