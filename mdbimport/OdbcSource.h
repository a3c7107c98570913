#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "mdbimport/AccessSource.h"

// An Access file (.mdb or .accdb) read through an ODBC driver: on Windows its own Access driver,
// which comes with Microsoft's Access Database Engine; on Linux the mdbtools driver, for the
// tests. Qt's ODBC driver opens the connection; the statements run on the connection's ODBC
// handle, because through unixODBC every statement Qt makes fails on a driver without
// SQLSetStmtAttr (as the mdbtools one is), and Qt would read text in the ANSI code page there.
//
// Every value is read as UTF-16 text, NULL told apart from the empty text as far as the driver
// tells them apart: the mdbtools driver reads the empty text as NULL (it takes a value of
// length 0 for NULL), Windows' driver does not. Numbers come in the C locale's notation,
// whatever the driver's or the process's locale.
class OdbcSource : public AccessSource {
public:
    // The driver Windows lists for Access files.
    static QString defaultDriver();
    // Whether the ODBC driver manager has `driver`: a name among the drivers it lists, or, as
    // unixODBC takes one too, the path of a driver library.
    static bool driverInstalled(const QString& driver);

    // Raises TZEMError with the reason when the driver is missing (naming it and what to
    // install), or the file is missing, empty, a folder, or no Access database it can read.
    explicit OdbcSource(const QString& path, const QString& driver = defaultDriver());
    ~OdbcSource() override;
    OdbcSource(const OdbcSource&) = delete;
    OdbcSource& operator=(const OdbcSource&) = delete;

    QStringList tableNames() const override;
    std::unique_ptr<AccessTable> table(const QString& name) override;

    struct Connection;

private:
    std::shared_ptr<Connection> m_connection;
    QStringList m_tables;
};
