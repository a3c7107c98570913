#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace QtTranslations {

bool install(QCoreApplication& app) {
    auto translator = std::make_unique<QTranslator>();
    const QString name = QStringLiteral("qtbase_ja");
    if (!translator->load(
            name, QCoreApplication::applicationDirPath() + QStringLiteral("/translations")) &&
        !translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    translator->setParent(&app);
    return QCoreApplication::installTranslator(translator.release());
}

}  // namespace QtTranslations
