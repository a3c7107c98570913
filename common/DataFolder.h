#pragma once

#include <QString>

// The folder that holds TAMU.ini, TAMUTime.log and TAMU_Item.db, with a trailing separator:
// "DAT/" beside the executable.
namespace DataFolder {

QString path();

// Tests and tools point the program at a folder of their own; an empty text restores the default.
void setOverride(const QString& folder);

}  // namespace DataFolder
