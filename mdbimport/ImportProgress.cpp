#include "mdbimport/ImportProgress.h"

#include <QDir>
#include <QProgressDialog>

namespace ImportProgress {

std::unique_ptr<QProgressDialog> dialog(const QString& source) {
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

StartupImport::ProgressWindow window() {
    return [](const QString& source, const std::function<void()>& cancel) {
        std::unique_ptr<QProgressDialog> shown = dialog(source);
        QObject::connect(shown.get(), &QProgressDialog::canceled, shown.get(), cancel);
        shown->show();
        return std::unique_ptr<QObject>(std::move(shown));
    };
}

}  // namespace ImportProgress
