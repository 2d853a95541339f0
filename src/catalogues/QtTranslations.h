#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// Qt's own texts (the file dialog, the buttons of message boxes, the input prompts) in
// the program's language, Simplified Chinese, whatever the system's language is.
namespace tarvok::qttranslations {

// The first of folders that holds Qt's Simplified Chinese catalogue; empty when none does.
QString findFolder(const QStringList& folders);

// Installs Qt's Simplified Chinese catalogues into app, from Qt's own translations folder
// or else the "translations" folder beside the program (where a Windows build ships
// them). Returns how many catalogues were installed.
int installChinese(QCoreApplication& app, const QString& programDir);

} // namespace tarvok::qttranslations
