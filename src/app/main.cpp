#include "app/CheckCommand.h"
#include "catalogues/QtTranslations.h"
#include "document/RulesDocument.h"
#include "ui/Dialogs.h"
#include "ui/Frm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (tarvok::cli::wanted(argc, argv)) {
        // The command line needs no display: no widget, no display connection.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Tarvok"));
        return tarvok::cli::run(QCoreApplication::arguments().mid(1));
    }
#ifdef Q_OS_LINUX
    // Without a display Qt would abort with a message about platform plugins; say
    // plainly what is missing instead.
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "Tarvok needs a graphical display (no DISPLAY or WAYLAND_DISPLAY is set).\n"
                     "Tarvok 需要图形界面：当前没有可用的显示器。\n");
        return 2;
    }
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(tarvok::kAppName);
    tarvok::qttranslations::installChinese(app, QCoreApplication::applicationDirPath());
    tarvok::QtDialogs dialogs;
    const tarvok::ProgramFiles files(QCoreApplication::applicationDirPath());
    // The open rules file: one session for the program's life, handed to the windows.
    tarvok::RulesDocument document(files.scratchCopy(), files.historyFolder());
    tarvok::Frm welcome(dialogs, files, document);
    // The files named on the command line (Qt has taken its own options): the first opens
    // once the editor's window shows.
    QStringList paths;
    for (const QString& path : QCoreApplication::arguments().mid(1))
        paths << (path.isEmpty() ? path : QFileInfo(path).absoluteFilePath());
    welcome.setStartFiles(paths);
    welcome.show();
    return app.exec();
}
