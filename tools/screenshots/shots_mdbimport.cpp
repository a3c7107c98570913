#include <QProgressDialog>

#include "mdbimport/StartupImport.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar importShots("mdbimport", [](ShotContext& ctx) {
    auto dialog = StartupImport::progressDialog(ctx.dataFolder + QStringLiteral("TAMU_Item.mdb"));
    ctx.save(dialog.get(), QStringLiteral("import_progress"));
});

}  // namespace
