#pragma once

#include <QByteArrayView>

namespace tarvok {

// True when id is taken in the rules file: it is the name of a section header anywhere
// (a line that, without its surrounding spaces and tabs, is "[" + id + "]"), or the ID of
// an entry of [TeamTypes], [TaskForces] or [ScriptTypes] (the text after the first "=",
// without surrounding spaces and tabs, of a line of the run of lines with "=" directly
// after a registry header). One pass over the raw bytes; id is in the file's encoding.
// A new record whose ID is taken would share its section or entry with another one.
bool recordIdInUse(QByteArrayView content, QByteArrayView id);

} // namespace tarvok
