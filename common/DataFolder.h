#pragma once

#include <QString>
#include <functional>

// The folder that holds TAMU.ini, TAMUTime.log and TAMU_Item.db, with a trailing separator.
//
// A DAT/ beside the executable is the user's data and is always used, even where it cannot be
// written (the program then says so when it closes). Without one, a portable TAMU creates it
// there; an installed TAMU whose program folder the user cannot write keeps its data in the
// user's data folder instead, and seeds the item database there from the copy installed with
// the program. On Linux an installed TAMU (the item database in ../share/tamu/ beside its bin/)
// never makes a DAT/ beside the program, not even for root: /usr/bin is the package's.
namespace DataFolder {

QString path();

// Tests and tools point the program at a folder of their own; an empty text restores the default.
void setOverride(const QString& folder);

// The choice on its own: the program's folder, the user's data folder, a test of whether a
// folder exists and one of whether it could be created. The result ends in a separator.
QString choose(const QString& programFolder, const QString& userDataFolder,
               const std::function<bool(const QString& folder)>& exists,
               const std::function<bool(const QString& folder)>& creatable);

// What path() does for a program in `programFolder`: chooses the folder, creates it and seeds
// its item database.
QString prepare(const QString& programFolder, const QString& userDataFolder);

// Copies the installed item database into `folder` when none is there yet. Returns false when
// there was nothing to copy or the copy failed; an existing database is never replaced.
bool seedItemDatabase(const QString& folder, const QString& installedDatabase);

}  // namespace DataFolder
