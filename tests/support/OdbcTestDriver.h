#pragma once

#include <QString>

#include "mdbimport/OdbcSource.h"

// The ODBC driver the tests read Access files with: the one the build found (on Linux the
// mdbtools driver, named by the path of its library), else the platform's own.
inline QString odbcTestDriver() {
#ifdef TAMU_ODBC_DRIVER
    return QStringLiteral(TAMU_ODBC_DRIVER);
#else
    return OdbcSource::defaultDriver();
#endif
}
