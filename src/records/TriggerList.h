#pragma once

#include "document/IniText.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace tarvok {

// Adding and deleting triggers in [AITriggerTypes], whose key lines are the triggers:
// key the trigger's ID, value its comma-separated fields. The window lists a trigger as
// "ID=name", name being the first field, trimmed. Both work on the lines read as the game
// reads them (IniText): every other line comes back byte for byte with its line end.

// The new trigger line for key ("ID=name") as the first line after the header of the
// first [AITriggerTypes] section, ending like the header. A content without that section
// gets one at its end, holding the line. Nothing when key holds a line feed.
std::optional<QByteArray> addTriggerEntry(QByteArrayView content, QByteArrayView key);
// Its edit, for any whole trigger line.
void addTriggerLine(const IniText& text, QByteArray line, IniEdits& edits);

struct TriggerRemoval {
    QByteArray content;
    int linesRemoved = 0;
};

// Removes every key line of every [AITriggerTypes] section that the list shows as entry:
// its key is the ID (the text before the entry's first '=') and its name the rest. An
// entry without '=' or with an empty ID finds nothing.
TriggerRemoval removeTriggerEntry(QByteArrayView content, QByteArrayView entry);

} // namespace tarvok
