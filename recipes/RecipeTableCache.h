#pragma once

#include <memory>
#include <stop_token>

#include "recipes/RecipeDirection.h"
#include "recipes/RecipeTables.h"

class TDB;

// The numbered tables of the last whole-table read in each direction, kept for the next search of
// the same file: users search again and again in one sitting. A search takes them (so that no
// other search works on them meanwhile) and gives them back once its walk is done. They are
// dropped when the file's identity (device, inode, size, modification time) is no longer the one
// they were read from, or the file cannot be looked at.
namespace RecipeTableCache {

// The tables of the connected database's file: the kept ones if they are still its, else read
// afresh as RecipeTables::read reads them (null when it refuses).
std::unique_ptr<RecipeTables> take(TDB& db, RecipeDirection direction, const std::stop_token& stop);
// The kept tables of the connected database's file when they are still its, else null; reads
// nothing.
std::unique_ptr<RecipeTables> takeKept(TDB& db, RecipeDirection direction);
// Keeps tables that `take` gave, for the next search; tables read while the file changed are not.
void giveBack(std::unique_ptr<RecipeTables> tables);
// Drops what is kept.
void clear();

}  // namespace RecipeTableCache
