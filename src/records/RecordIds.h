#pragma once

#include <QByteArrayView>

namespace tarvok {

// True when id is taken in the rules file, read as the game reads it (IniText): it names
// a section, or it is the value of a key line of a [TeamTypes], [TaskForces] or
// [ScriptTypes] section. id is in the file's encoding. A new record whose ID is taken
// would share its section or registry entry with another one.
bool recordIdInUse(QByteArrayView content, QByteArrayView id);

} // namespace tarvok
