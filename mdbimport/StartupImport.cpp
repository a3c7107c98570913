#include "mdbimport/StartupImport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <memory>

#include "common/IniProfile.h"
#include "common/Messages.h"
#include "mdbimport/AccessFileIdentity.h"
#include "mdbimport/ChildProcessGuard.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/SqlConnection.h"

namespace {

const QString AccessFile = QStringLiteral("TAMU_Item.mdb");
const QString Database = QStringLiteral("TAMU_Item.db");
const QString ErrorMarker = QStringLiteral("tamu-import-mdb: ");
const QString FailedRecord = QStringLiteral("TAMUImport.ini");
const QString FailedSection = QStringLiteral("Failed");
constexpr int BusyExitCode = 3;
constexpr int ReaderMissingExitCode = 4;
// The program's own time limit ends it first; this one is for a program that cannot end itself.
constexpr int KillGraceSeconds = 3;

#ifdef _WIN32
const QString ImportProgram = QStringLiteral("tamu-import-mdb.exe");
#else
const QString ImportProgram = QStringLiteral("tamu-import-mdb");
#endif

AccessFileIdentity failedFile(const QString& record) {
    const IniProfile::Contents ini = IniProfile(record).read();
    AccessFileIdentity id;
    bool sizeRead = false;
    bool timeRead = false;
    id.size =
        ini.readString(FailedSection, QStringLiteral("Size"), QString()).toLongLong(&sizeRead);
    id.modifiedMs =
        ini.readString(FailedSection, QStringLiteral("Modified"), QString()).toLongLong(&timeRead);
    id.hash = ini.readString(FailedSection, QStringLiteral("Hash"), QString()).toLatin1();
    return sizeRead && timeRead ? id : AccessFileIdentity{};
}

// Remembers the file that failed, or forgets it (an invalid identity). Not being able to write
// the record costs only a retry at the next start.
void rememberFailedFile(const QString& record, const QString& source,
                        const AccessFileIdentity& id) {
    if (!id.isValid() && !QFileInfo::exists(record)) {
        return;
    }
    try {
        IniProfile(record).write(
            {{FailedSection, QStringLiteral("File"),
              id.isValid() ? QDir::toNativeSeparators(source) : QString()},
             {FailedSection, QStringLiteral("Size"),
              id.isValid() ? QString::number(id.size) : QString()},
             {FailedSection, QStringLiteral("Modified"),
              id.isValid() ? QString::number(id.modifiedMs) : QString()},
             {FailedSection, QStringLiteral("Hash"), QString::fromLatin1(id.hash)}});
    } catch (const TZEMError&) {
    }
}

// The program said it succeeded: the database must hold the four tables and name this file.
QString checkResult(const QString& target, const AccessFileIdentity& source) {
    const QString problem = QStringLiteral("取り込みの結果を確かめられません (%1)");
    if (ItemDbImport::importedFrom(target) != source) {
        return problem.arg(QStringLiteral("取り込んだファイルの記録がありません"));
    }
    const SqlConnection connection(QStringLiteral("QSQLITE"), target);
    QSqlDatabase db = connection.db();
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        return problem.arg(QStringLiteral("開けません"));
    }
    for (const char* table : {"ItemKind", "ItemInfo", "ItemCreator", "ItemCreateRelation"}) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)))) {
            return problem.arg(QStringLiteral("表 %1 がありません").arg(QLatin1String(table)));
        }
    }
    return QString();
}

}  // namespace

StartupImport::StartupImport(QString dataFolder, QString programFolder, QString program)
    : m_dataFolder(std::move(dataFolder)),
      m_programFolder(std::move(programFolder)),
      m_program(program.isEmpty() ? QDir(m_programFolder).filePath(ImportProgram)
                                  : std::move(program)) {}

QString StartupImport::pendingSource() const {
    const QString target = QDir(m_dataFolder).filePath(Database);
    const QString candidates[] = {
        QDir(m_dataFolder).filePath(AccessFile),
        QDir(m_programFolder).filePath(QStringLiteral("DAT/") + AccessFile)};
    for (const QString& candidate : candidates) {
        if (!QFileInfo::exists(candidate)) {
            continue;
        }
        // A file that cannot be read is tried, so that the user hears why.
        const AccessFileIdentity id = AccessFileIdentity::of(candidate);
        if (!id.isValid()) {
            return candidate;
        }
        const bool imported = ItemDbImport::importedFrom(target) == id;
        const bool failedBefore = failedFile(failedRecordPath()) == id;
        return imported || failedBefore ? QString() : candidate;
    }
    return QString();
}

bool StartupImport::run() {
    const QString source = pendingSource();
    if (source.isEmpty()) {
        return false;
    }
    const QString target = QDir(m_dataFolder).filePath(Database);
    const AccessFileIdentity id = AccessFileIdentity::of(source);
    Outcome outcome = runProgram(source, target);
    if (outcome.failure.isEmpty()) {
        outcome.failure = checkResult(target, id);
        if (outcome.failure.isEmpty()) {
            rememberFailedFile(failedRecordPath(), source, {});
            return true;
        }
        outcome.failure = ItemDbImport::failureMessage(source, outcome.failure);
    }
    // A cancelled or crashed import leaves its unfinished file behind; one that another import
    // is writing, under the lock, stays.
    QLockFile lock(ItemDbImport::lockPath(target));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        QFile::remove(ItemDbImport::temporaryPath(target));
    }
    QString text = outcome.failure;
    if (outcome.fileAtFault && id.isValid()) {
        rememberFailedFile(failedRecordPath(), source, id);
        text += QStringLiteral("\nこのファイルは変更されるまで取り込みません。");
    }
    Messages::showError(text +
                        QStringLiteral("\nこれまでのアイテムデータベースのまま起動します。"));
    return false;
}

QString StartupImport::failedRecordPath() const {
    return QDir(m_dataFolder).filePath(FailedRecord);
}

StartupImport::Outcome StartupImport::runProgram(const QString& source,
                                                 const QString& target) const {
    if (!QFileInfo(m_program).isExecutable()) {
        return {ItemDbImport::failureMessage(source,
                                             QStringLiteral("取り込みプログラム %1 がありません")
                                                 .arg(QDir::toNativeSeparators(m_program)))};
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("MDBICONV"));
    process.setProcessEnvironment(environment);
    process.setProgram(m_program);
    process.setArguments(
        {source, target, QStringLiteral("--time-limit=%1").arg(m_timeLimitSeconds)});
    // The library can write warnings faster than anyone reads them: standard output is not
    // needed, and of standard error only the end, where the program's message stands, is kept.
    process.setStandardOutputFile(QProcess::nullDevice());
    QByteArray errors;
    QObject::connect(&process, &QProcess::readyReadStandardError, &process, [&] {
        errors += process.readAllStandardError();
        if (errors.size() > OutputTailBytes) {
            errors.remove(0, errors.size() - OutputTailBytes);
        }
    });
    ChildProcessGuard guard(process);

    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    bool cancelled = false;
    bool timedOut = false;
    std::unique_ptr<QObject> progress;
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, [&] {
        if (m_progressWindow) {
            progress = m_progressWindow(source, [&] {
                cancelled = true;
                guard.kill();
            });
        }
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        guard.kill();
    });

    process.start();
    if (!process.waitForStarted()) {
        return {ItemDbImport::failureMessage(
            source,
            QStringLiteral("取り込みプログラムを起動できません：%1").arg(process.errorString()))};
    }
    guard.started();
    delay.start(ProgressDelayMs);
    limit.start((m_timeLimitSeconds + KillGraceSeconds) * 1000);
    if (process.state() != QProcess::NotRunning) {
        loop.exec();
    }
    delay.stop();
    limit.stop();
    progress.reset();
    errors += process.readAllStandardError();

    if (cancelled) {
        return {ItemDbImport::failureMessage(source, QStringLiteral("取り込みを中止しました")),
                true};
    }
    if (timedOut) {
        return {ItemDbImport::failureMessage(
                    source, QStringLiteral("%1 秒以内に終わらないため取り込みを中止しました。"
                                           "ファイルが壊れている可能性があります")
                                .arg(m_timeLimitSeconds)),
                true};
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return {ItemDbImport::failureMessage(
                    source, QStringLiteral("読み込み中に取り込みプログラムが異常終了しました。"
                                           "ファイルが壊れている可能性があります")),
                true};
    }
    if (process.exitCode() != 0) {
        // The library may have written its own notes before the program's message.
        const QString text = QString::fromUtf8(errors);
        const qsizetype at = text.lastIndexOf(ErrorMarker);
        const QString failure =
            at >= 0 ? text.mid(at + ErrorMarker.size()).trimmed()
                    : ItemDbImport::failureMessage(source, text.trimmed().right(500));
        // Another import writing the database, or a driver not installed yet, says nothing
        // about the file.
        return {failure,
                process.exitCode() != BusyExitCode && process.exitCode() != ReaderMissingExitCode};
    }
    return {};
}
