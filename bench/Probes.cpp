// Two measurements the benchmark suite cannot make from inside one process:
//   tarvok_probe startup <data dir>   time from process start to the welcome window shown
//   tarvok_probe memory <data dir>    peak memory with a 20 MB rules file open and a
//                                     trigger selected
#include "RulesGenerator.h"

#include "support/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Frm.h"
#include "ui/FrmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

class QuietDialogs : public tarvok::Dialogs {
  public:
    QString file;
    tarvok::MsgAnswer message(QWidget*, const QString&, const QString&, tarvok::MsgIcon,
                              tarvok::MsgButtons) override {
        return tarvok::MsgAnswer::Ok;
    }
    QString prompt(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return file;
    }
    quint32 chooseColor(QWidget*) override { return 0; }
    void setClipboardText(const QString&) override {}
};

// Seconds since this process was started, from the kernel's own record of it.
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string s((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(s.substr(s.rfind(')') + 2));
    std::string f;
    unsigned long long start = 0;
    for (int i = 3; i <= 22 && fields >> f; ++i)
        if (i == 22)
            start = std::stoull(f);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime - static_cast<double>(start) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3)
        return 2;
    QApplication app(argc, argv);
    const QString dataDir = QString::fromLocal8Bit(argv[2]);
    QuietDialogs dialogs;
    if (std::strcmp(argv[1], "startup") == 0) {
        const tarvok::ProgramFiles files(dataDir);
        tarvok::RulesDocument document(files.scratchCopy(), files.historyFolder());
        tarvok::Frm welcome(dialogs, files, document);
        welcome.show();
        // Shown: the window system has mapped it (without a window manager it may never
        // become the active window, so that is not waited for).
        QElapsedTimer waited;
        waited.start();
        while ((!welcome.windowHandle() || !welcome.windowHandle()->isExposed()) &&
               waited.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::processEvents();
        std::printf("startup_to_welcome_shown_s %.3f\n", secondsSinceProcessStart());
        return 0;
    }
    if (std::strcmp(argv[1], "memory") == 0) {
        QTemporaryDir dir;
        for (const QString& name : QDir(dataDir).entryList(QDir::Files))
            QFile::copy(dataDir + QLatin1Char('/') + name, dir.filePath(name));
        tarvok::bench::GeneratedRules rules = tarvok::bench::generateRules(20 * 1024 * 1024);
        dialogs.file = dir.filePath(QStringLiteral("aimd.ini"));
        {
            QFile f(dialogs.file);
            f.open(QIODevice::WriteOnly);
            f.write(rules.content);
        }
        const qsizetype bytes = rules.content.size();
        rules.content = QByteArray(); // the editor reads the file itself
        const tarvok::ProgramFiles files(dir.path(), dir.filePath(QStringLiteral("user")));
        tarvok::RulesDocument document(files.scratchCopy(), files.historyFolder());
        tarvok::FrmMain window(dialogs, files, document);
        tarvok::test::Window w(window);
        window.show();
        QElapsedTimer t;
        t.start();
        w.CmdOpen_Click();
        const qint64 openMs = t.elapsed();
        const int triggers = w.LstRoot->model()->rowCount();
        w.LstRoot->setCurrentIndex(w.LstRoot->model()->index(triggers / 2, 0));
        t.restart();
        w.LstRoot_Click();
        const qint64 selectMs = t.elapsed();
        QApplication::processEvents();
        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("file_MB %.1f triggers %d open_ms %lld select_ms %lld peak_rss_MB %.1f\n",
                    static_cast<double>(bytes) / (1024 * 1024), triggers,
                    static_cast<long long>(openMs), static_cast<long long>(selectMs),
                    static_cast<double>(usage.ru_maxrss) / 1024);
        return 0;
    }
    return 2;
}
