#pragma once

#include <QLoggingCategory>

// The program's diagnostics, off by default. QT_LOGGING_RULES="tarvok.*.debug=true" shows
// them all on standard error; "tarvok.document.debug=true" one of them.
namespace tarvok {

Q_DECLARE_LOGGING_CATEGORY(lcDocument) // opening, reading again and writing the rules file
Q_DECLARE_LOGGING_CATEGORY(lcRecords)  // record operations that refuse
Q_DECLARE_LOGGING_CATEGORY(lcUi)       // every message the window shows

} // namespace tarvok
