#pragma once

#include <QString>

#include "status/StatusBuild.h"

// A build as a short code for a chat line: "TAMU1-" (the version), seven characters that hold
// job, faction, the five bonus points and the level in 33 bits, and two check characters. The
// alphabet is Crockford's base 32 (digits and capitals without I, L, O, U), so the code survives
// retyping: letters in either case, O for 0 and I or L for 1 read as meant. The check is a
// weighted sum modulo 1021 over the version and the seven characters, which catches any one
// character changed and any two neighbours swapped.
namespace BuildCode {

constexpr int Version = 1;
constexpr int DataLength = 7;
constexpr int CheckLength = 2;

// The code of a build that has no problem().
QString encode(const StatusBuild& build);
// The fields packed as they are, unchecked (job 0-7, faction 0-15, bonus 0-15, level 0-63),
// under any version number: how codes from other builds of the program look.
QString pack(const StatusBuild& build, int version = Version);

// The build of the first code in `text` (a chat line may hold more than the code). Throws
// TZEMError with a Japanese message that says why when there is no code, when it is damaged or
// of a newer version, or when it describes a build no character can have.
StatusBuild decode(const QString& text);

}  // namespace BuildCode
