#include "mdbimport/StartupImport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>
#include <memory>

#include "common/Messages.h"
#include "mdbimport/ItemDbImport.h"

namespace {

const QString AccessFile = QStringLiteral("TAMU_Item.mdb");
const QString Database = QStringLiteral("TAMU_Item.db");
const QString ErrorMarker = QStringLiteral("tamu-import-mdb: ");
#ifdef _WIN32
const QString ImportProgram = QStringLiteral("tamu-import-mdb.exe");
#else
const QString ImportProgram = QStringLiteral("tamu-import-mdb");
#endif

}  // namespace

StartupImport::StartupImport(QString dataFolder, QString programFolder, QString program)
    : m_dataFolder(std::move(dataFolder)),
      m_programFolder(std::move(programFolder)),
      m_program(program.isEmpty() ? QDir(m_programFolder).filePath(ImportProgram)
                                  : std::move(program)) {}

QString StartupImport::pendingSource() const {
    const QFileInfo target(QDir(m_dataFolder).filePath(Database));
    const QString candidates[] = {
        QDir(m_dataFolder).filePath(AccessFile),
        QDir(m_programFolder).filePath(QStringLiteral("DAT/") + AccessFile)};
    for (const QString& candidate : candidates) {
        const QFileInfo source(candidate);
        if (source.exists()) {
            const bool stale = !target.exists() || target.lastModified() < source.lastModified();
            return stale ? source.filePath() : QString();
        }
    }
    return QString();
}

bool StartupImport::run() {
    const QString source = pendingSource();
    if (source.isEmpty()) {
        return false;
    }
    const QString target = QDir(m_dataFolder).filePath(Database);
    const QString failure = runProgram(source, target);
    if (failure.isEmpty()) {
        return true;
    }
    // A cancelled or crashed import leaves its unfinished file behind.
    QFile::remove(ItemDbImport::temporaryPath(target));
    Messages::showError(failure +
                        QStringLiteral("\nこれまでのアイテムデータベースのまま起動します。"));
    return false;
}

std::unique_ptr<QProgressDialog> StartupImport::progressDialog(const QString& source) {
    auto dialog = std::make_unique<QProgressDialog>(
        QStringLiteral("アイテムデータベースを取り込んでいます…\n%1")
            .arg(QDir::toNativeSeparators(source)),
        QStringLiteral("中止"), 0, 0);
    dialog->setObjectName(QStringLiteral("StartupImportProgress"));
    dialog->setWindowTitle(QStringLiteral("TAMU"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(0);
    return dialog;
}

QString StartupImport::runProgram(const QString& source, const QString& target) const {
    if (!QFileInfo(m_program).isExecutable()) {
        return ItemDbImport::failureMessage(source,
                                            QStringLiteral("取り込みプログラム %1 がありません")
                                                .arg(QDir::toNativeSeparators(m_program)));
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("MDBICONV"));
    process.setProcessEnvironment(environment);
    process.setProgram(m_program);
    process.setArguments({source, target});

    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    bool cancelled = false;
    std::unique_ptr<QProgressDialog> dialog;
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, [&] {
        dialog = progressDialog(source);
        QObject::connect(dialog.get(), &QProgressDialog::canceled, &loop, [&] {
            cancelled = true;
            process.kill();
        });
        dialog->show();
    });

    process.start();
    if (!process.waitForStarted()) {
        return ItemDbImport::failureMessage(
            source,
            QStringLiteral("取り込みプログラムを起動できません：%1").arg(process.errorString()));
    }
    delay.start(ProgressDelayMs);
    if (process.state() != QProcess::NotRunning) {
        loop.exec();
    }
    delay.stop();
    dialog.reset();

    if (cancelled) {
        return ItemDbImport::failureMessage(source, QStringLiteral("取り込みを中止しました"));
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return ItemDbImport::failureMessage(
            source, QStringLiteral("読み込み中に取り込みプログラムが異常終了しました。ファイルが壊"
                                   "れている可能性があります"));
    }
    if (process.exitCode() != 0) {
        // The library may have written its own notes before the program's message.
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        const qsizetype at = errors.lastIndexOf(ErrorMarker);
        return at >= 0 ? errors.mid(at + ErrorMarker.size()).trimmed()
                       : ItemDbImport::failureMessage(source, errors.trimmed());
    }
    return QString();
}
