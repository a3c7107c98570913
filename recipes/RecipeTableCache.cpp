#include "recipes/RecipeTableCache.h"

#include <QMutex>
#include <array>
#include <optional>

#include "common/FileIdentity.h"
#include "recipes/TDB.h"

namespace RecipeTableCache {
namespace {

struct Kept {
    QMutex mutex;
    std::array<std::unique_ptr<RecipeTables>, 2> tables;  // by direction
};

Kept& kept() {
    static Kept instance;
    return instance;
}

std::size_t slot(RecipeDirection direction) {
    return direction == RecipeDirection::Forward ? 0 : 1;
}

}  // namespace

std::unique_ptr<RecipeTables> takeKept(TDB& db, RecipeDirection direction) {
    const std::optional<FileIdentity> now = FileIdentity::of(db.Path);
    const QMutexLocker lock(&kept().mutex);
    std::unique_ptr<RecipeTables>& mine = kept().tables[slot(direction)];
    if (mine && now && mine->source() == db.Path && mine->identity() == *now) {
        return std::move(mine);
    }
    mine.reset();
    return nullptr;
}

std::unique_ptr<RecipeTables> take(TDB& db, RecipeDirection direction,
                                   const std::stop_token& stop) {
    if (auto tables = takeKept(db, direction)) {
        return tables;
    }
    const std::optional<FileIdentity> before = FileIdentity::of(db.Path);
    std::unique_ptr<RecipeTables> tables = RecipeTables::read(db, direction, stop);
    // Only what was read from one state of the file is kept.
    if (tables && before && FileIdentity::of(db.Path) == before) {
        tables->setOrigin(db.Path, *before, direction);
    }
    return tables;
}

void giveBack(std::unique_ptr<RecipeTables> tables) {
    if (!tables || tables->source().isEmpty()) {
        return;
    }
    const QMutexLocker lock(&kept().mutex);
    kept().tables[slot(tables->direction())] = std::move(tables);
}

void clear() {
    const QMutexLocker lock(&kept().mutex);
    for (auto& tables : kept().tables) {
        tables.reset();
    }
}

}  // namespace RecipeTableCache
