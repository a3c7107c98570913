#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// At start-up, brings the user's Access item database TAMU_Item.mdb into TAMU_Item.db when the
// file differs from the one the database was imported from (by AccessFileIdentity, never by
// which of the two is newer). The import runs in the tamu-import-mdb program, so that a damaged
// file on which the Access library hangs or crashes cannot take TAMU with it; the event loop
// keeps running meanwhile, and a progress window with a cancel button (ImportProgress, where
// the program has windows) appears once it takes longer than half a second. The program is bound in
// time, its output is read as it comes and only its tail kept, and it ends with TAMU. A failure is
// shown in one message, the old database stays, and the file is not tried again (TAMUImport.ini
// remembers it) until it changes.
class StartupImport {
public:
    static constexpr int ProgressDelayMs = 500;
    static constexpr int DefaultTimeLimitSeconds = 120;
    // How much of the program's standard error is kept for the message.
    static constexpr qsizetype OutputTailBytes = 64 * 1024;

    // `dataFolder` holds TAMU_Item.db and may hold the Access file; the program's own DAT/ may
    // hold it too. `program` is the import command, by default tamu-import-mdb beside TAMU.
    StartupImport(QString dataFolder, QString programFolder, QString program = QString());

    // The Access file that needs importing, or the empty text.
    QString pendingSource() const;
    // Imports a pending file; returns true when the database was replaced.
    bool run();

    void setTimeLimit(int seconds) { m_timeLimitSeconds = seconds; }

    // Shows that a slow import of `source` runs, for as long as the returned object lives;
    // `cancel` stops the import. Without one a slow import shows nothing.
    using ProgressWindow = std::function<std::unique_ptr<QObject>(
        const QString& source, const std::function<void()>& cancel)>;
    void setProgressWindow(ProgressWindow window) { m_progressWindow = std::move(window); }

private:
    struct Outcome {
        QString failure;           // empty on success
        bool fileAtFault = false;  // the same file would fail again
    };
    Outcome runProgram(const QString& source, const QString& target) const;
    QString failedRecordPath() const;

    QString m_dataFolder;
    QString m_programFolder;
    QString m_program;
    int m_timeLimitSeconds = DefaultTimeLimitSeconds;
    ProgressWindow m_progressWindow;
};
