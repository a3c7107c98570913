#pragma once

#include <QString>
#include <memory>

class QProgressDialog;

// At start-up, brings the user's Access item database TAMU_Item.mdb into TAMU_Item.db when the
// database is missing or older than it. The import runs in the tamu-import-mdb program, so that
// a damaged file on which the Access library hangs or crashes cannot take TAMU with it; the event
// loop keeps running meanwhile, and a progress dialog with a cancel button appears once it takes
// longer than half a second. A failure is shown in one message, and the old database stays.
class StartupImport {
public:
    static constexpr int ProgressDelayMs = 500;

    // `dataFolder` holds TAMU_Item.db and may hold the Access file; the program's own DAT/ may
    // hold it too. `program` is the import command, by default tamu-import-mdb beside TAMU.
    StartupImport(QString dataFolder, QString programFolder, QString program = QString());

    // The Access file that needs importing, or the empty text.
    QString pendingSource() const;
    // Imports a pending file; returns true when the database was replaced.
    bool run();

    // The window shown while a slow import runs; its cancel button stops the import.
    static std::unique_ptr<QProgressDialog> progressDialog(const QString& source);

private:
    QString runProgram(const QString& source, const QString& target) const;

    QString m_dataFolder;
    QString m_programFolder;
    QString m_program;
};
