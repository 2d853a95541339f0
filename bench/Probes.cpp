// Measurements the benchmark suite cannot make from inside one process:
//   tarvok_probe startup <data dir>   time from process start to the welcome window shown
//   tarvok_probe memory <data dir> [file name]   peak memory with a 20 MB rules file
//                                     (aimd.ini by default) open and a trigger selected,
//                                     and the bytes the opening read
//   tarvok_probe clicks <data dir>    the clicks and key presses (typed values left out) of
//                                     two everyday tasks done through the window: a copy
//                                     of an attack with one unit changed, and a new attack
//                                     of three units and four steps, named once and set
//                                     to fire (the probe fails when the written trigger
//                                     would never be used)
#include "RulesGenerator.h"

#include "records/TriggerLine.h"
#include "support/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Frm.h"
#include "ui/FrmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
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
    int messages = 0; // each one a click of the user's to answer it
    tarvok::MsgAnswer message(QWidget*, const QString&, const QString&, tarvok::MsgIcon,
                              tarvok::MsgButtons buttons) override {
        ++messages;
        return buttons == tarvok::MsgButtons::Ok ? tarvok::MsgAnswer::Ok : tarvok::MsgAnswer::Yes;
    }
    QString prompt(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return file;
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<quint32> chooseColor(QWidget*) override { return std::nullopt; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    QString clipboardText() override { return clipboard; }
    QString clipboard;
};

// Seconds since this process was started, from the kernel's own record of it.
// Bytes this process has read so far (Linux: /proc/self/io); -1 where it cannot tell.
long long bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = -1;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

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

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether the computer can use the trigger whose key ("ID=name") starts a line of content:
// it is enabled on at least one difficulty, and its condition is -1 (none) or names a unit
// of the rules in use (one of units) with a comparison other than "less than 0".
bool fires(const QByteArray& content, const QString& key, const QComboBox* units) {
    const QByteArray start = key.toUtf8() + ',';
    for (const QByteArray& line : content.split('\n')) {
        if (!line.startsWith(start))
            continue;
        const tarvok::trigger::TriggerView v = tarvok::trigger::readTriggerLine(line.trimmed());
        const bool enabled =
            v.low.value_or(false) || v.mid.value_or(false) || v.high.value_or(false);
        const bool always = v.condition == QByteArray("-1");
        const QString unit = QString::fromUtf8(v.unit.value_or(QByteArray()));
        const bool lessThanZero =
            v.way == QByteArray("0") && v.amount.value_or(QByteArray("0")).toInt() == 0;
        const bool unitDefined = !unit.isEmpty() && unit != QLatin1String("<none>") &&
                                 units->findText(unit, Qt::MatchFixedString) >= 0;
        return enabled && (always || (unitDefined && !lessThanZero));
    }
    return false;
}

// The user's part of a task through the window: every click and key press counted, typed
// values not (they are the task's content).
struct User {
    QuietDialogs& dialogs;
    int actions = 0;
    int answered = 0; // messages shown during the task

    User(QuietDialogs& d) : dialogs(d) { dialogs.messages = 0; }
    int finish() { return answered = actions + dialogs.messages; }
    void click(QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton);
        ++actions;
    }
    void clickRow(QAbstractItemView* view, int row) {
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        ++actions;
    }
    void key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(w, static_cast<Qt::Key>(key), modifiers);
        ++actions;
    }
    static void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
};

int countClicks(const QString& dataDir, QuietDialogs& dialogs) {
    QTemporaryDir dir;
    for (const QString& name : QDir(dataDir).entryList(QDir::Files))
        QFile::copy(dataDir + QLatin1Char('/') + name, dir.filePath(name));
    const tarvok::bench::GeneratedRules rules = tarvok::bench::generateRules(200 * 1024);
    dialogs.file = dir.filePath(QStringLiteral("aimd.ini"));
    {
        QFile f(dialogs.file);
        f.open(QIODevice::WriteOnly);
        f.write(rules.content);
    }
    const tarvok::ProgramFiles files(dir.path(), dir.filePath(QStringLiteral("user")));
    tarvok::RulesDocument document(files.scratchCopy(), files.historyFolder());
    tarvok::FrmMain window(dialogs, files, document);
    tarvok::test::Window w(window);
    window.show();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window);
    w.CmdOpen_Click();
    const auto okInChain = [&window](User& user) {
        auto* chain = window.findChild<QDialog*>(QStringLiteral("FrmChain"));
        user.click(chain->findChild<QPushButton*>(QStringLiteral("CmdChainOK")));
        QApplication::processEvents();
        QApplication::setActiveWindow(&window); // the window system's part once it closes
    };

    // A copy of an existing attack, one unit changed.
    User copy{dialogs};
    copy.clickRow(w.LstRoot, w.LstRoot->model()->rowCount() / 2);
    copy.click(w.CmdRootClone);
    okInChain(copy);
    copy.clickRow(w.LvwSpe, 0);
    copy.click(w.CboSpeE->lineEdit());
    copy.key(w.CboSpeE->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    User::type(QStringLiteral("APOC"));
    copy.click(w.CmdSaveSpe);
    copy.finish();
    const QString copied = w.TxtSpe->text();
    const bool copyDone =
        !copied.isEmpty() && readAll(dialogs.file).contains("[" + copied.toLatin1() + "]\r\n");

    // A new attack: named once in the chain's dialog, a task force of three units, a script
    // of four steps.
    User fresh{dialogs};
    fresh.key(&window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    {
        // The window system makes the new dialog the active window.
        auto* chain = window.findChild<QDialog*>(QStringLiteral("FrmChain"));
        QApplication::setActiveWindow(chain);
        auto* name = chain->findChild<QLineEdit*>(QStringLiteral("TxtChainName"));
        if (QApplication::focusWidget() != name)
            fresh.click(name);
        QTest::keyClicks(name, QStringLiteral("Flank attack"));
    }
    okInChain(fresh);
    for (const auto& [count, unit] : {std::pair{"3", "HTNK"}, {"2", "E1"}, {"1", "FV"}}) {
        fresh.click(w.CmdSpeTypeAdd);
        fresh.key(QApplication::focusWidget(), Qt::Key_Tab);
        User::type(QString::fromLatin1(count));
        fresh.key(QApplication::focusWidget(), Qt::Key_Tab);
        User::type(QString::fromLatin1(unit));
        fresh.key(QApplication::focusWidget(), Qt::Key_Return);
    }
    fresh.click(w.CmdSaveSpe);
    for (const auto& [action, parameter] :
         {std::pair{"53", "0"}, {"0", "2"}, {"0", "1"}, {"49", "0"}}) {
        fresh.click(w.CmdScrTypeAdd);
        fresh.key(QApplication::focusWidget(), Qt::Key_Tab);
        User::type(QString::fromLatin1(action));
        fresh.key(QApplication::focusWidget(), Qt::Key_Tab);
        User::type(QString::fromLatin1(parameter));
        fresh.key(QApplication::focusWidget(), Qt::Key_Return);
    }
    fresh.click(w.CmdSaveScr);
    fresh.finish();
    const QByteArray after = readAll(dialogs.file);
    const bool freshDone = after.contains("0=3,HTNK\r\n1=2,E1\r\n2=1,FV\r\n") &&
                           after.contains("0=53,0\r\n1=0,2\r\n2=0,1\r\n3=49,0\r\n") &&
                           after.count("Name=Flank attack\r\n") == 3 &&
                           w.TxtRoot->text().endsWith(QStringLiteral("=Flank attack")) &&
                           fires(after, w.TxtRoot->text(), w.CboUnit);
    std::printf(
        "copy_with_one_unit_changed %d (%s)\nnew_attack_3_units_4_steps_that_fires %d (%s)\n",
        copy.answered, copyDone ? "done" : "NOT DONE", fresh.answered,
        freshDone ? "done" : "NOT DONE");
    return copyDone && freshDone ? 0 : 1;
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
        dialogs.file =
            dir.filePath(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("aimd.ini"));
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
        const long long readBefore = bytesRead();
        t.start();
        w.CmdOpen_Click();
        const qint64 openMs = t.elapsed();
        const long long readByOpening = bytesRead() - readBefore;
        const int triggers = w.LstRoot->model()->rowCount();
        w.LstRoot->setCurrentIndex(w.LstRoot->model()->index(triggers / 2, 0));
        t.restart();
        w.LstRoot_Click();
        const qint64 selectMs = t.elapsed();
        QApplication::processEvents();
        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("file_MB %.1f triggers %d open_ms %lld select_ms %lld peak_rss_MB %.1f "
                    "opening_read_MB %.1f\n",
                    static_cast<double>(bytes) / (1024 * 1024), triggers,
                    static_cast<long long>(openMs), static_cast<long long>(selectMs),
                    static_cast<double>(usage.ru_maxrss) / 1024,
                    static_cast<double>(readByOpening) / (1024 * 1024));
        return 0;
    }
    if (std::strcmp(argv[1], "clicks") == 0)
        return countClicks(dataDir, dialogs);
    return 2;
}
