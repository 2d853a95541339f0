// A child process for the crash-safety tests: it saves records in a loop until it is
// killed, or makes one save under a file-size limit. Every message box it would show is
// printed as a line "MSG <text>" on standard output.
//   tarvok_crash_child rules <program dir> <rules file>     save a trigger forever
//   tarvok_crash_child notes <program dir>                  add and delete a note forever
//   tarvok_crash_child fsize <program dir> <rules file> <bytes>  one save under a limit
//   tarvok_crash_child step <dir> <op> <k>    a save, undo or redo (0, 1, 2) of the step
//                                             model, ended at its k-th step that reaches the disk
#include "quality/StepModel.h"
#include "support/Controls.h"
#include "ui/Dialogs.h"
#include "ui/FrmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

class PrintingDialogs : public tarvok::Dialogs {
  public:
    QString file;
    tarvok::MsgAnswer message(QWidget*, const QString& text, const QString&, tarvok::MsgIcon,
                              tarvok::MsgButtons buttons) override {
        std::printf("MSG %s\n", text.toUtf8().constData());
        std::fflush(stdout);
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
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
};

void ready() {
    std::printf("READY\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const char* mode = argv[1];
    if (std::strcmp(mode, "step") == 0 && argc >= 5) {
        static int calls = 0;
        static int endAt = 0;
        endAt = std::atoi(argv[4]);
        tarvok::filestore::setStepHook([](const char* step) {
            if (std::strncmp(step, "read ", 5) == 0)
                return 0;
            if (++calls == endAt)
                std::_Exit(0); // as a kill would: no handler, no flush, nothing more
            return 0;
        });
        tarvok::test::steps::run(QString::fromLocal8Bit(argv[2]),
                                 static_cast<tarvok::test::steps::Op>(std::atoi(argv[3])));
        return 3; // the step was never reached
    }
    PrintingDialogs dialogs;
    const QString programDir = QString::fromLocal8Bit(argv[2]);
    const tarvok::ProgramFiles files(programDir, programDir + QStringLiteral("/user"));
    tarvok::RulesDocument document(files.scratchCopy(), files.historyFolder());
    tarvok::FrmMain window(dialogs, files, document);
    tarvok::test::Window w(window);

    if (std::strcmp(mode, "notes") == 0) {
        w.TxtName->setText(QStringLiteral("A1"));
        w.TxtNote->setText(QStringLiteral("进攻备注"));
        ready();
        for (;;) {
            w.CmdNew->click();
            w.CmdDelete->click();
        }
    }
    if (argc < 4)
        return 2;
    dialogs.file = QString::fromLocal8Bit(argv[3]);
    w.CmdOpen_Click();
    w.LstRoot->setCurrentIndex(w.LstRoot->model()->index(0, 0));
    w.LstRoot_Click();
    if (std::strcmp(mode, "rules") == 0) {
        ready();
        for (;;) {
            w.ChkLow->setChecked(!w.ChkLow->isChecked());
            w.CmdSaveRoot_Click();
        }
    }
    if (std::strcmp(mode, "fsize") == 0 && argc >= 5) {
#ifdef Q_OS_UNIX
        // Writing past the limit must fail as a full disk does, not kill the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::strtoull(argv[4], nullptr, 10);
        struct rlimit rl {
            limit, limit
        };
        setrlimit(RLIMIT_FSIZE, &rl);
#endif
        w.ChkLow->setChecked(!w.ChkLow->isChecked());
        w.CmdSaveRoot_Click();
        return 0;
    }
    return 2;
}
