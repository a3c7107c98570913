#include <QProgressDialog>

#include "mdbimport/ImportProgress.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar importShots("mdbimport", [](ShotContext& ctx) {
    auto dialog = ImportProgress::dialog(ctx.dataFolder + QStringLiteral("TAMU_Item.mdb"));
    ctx.save(dialog.get(), QStringLiteral("import_progress"));
});

}  // namespace
