// Renders the welcome window and the editor, with the sample rules file open and its
// first trigger selected, to PNG files: the pictures of the README.
//   tarvok_screenshots <data dir> <output dir>
#include "document/RulesDocument.h"
#include "ui/Dialogs.h"
#include "ui/FileCommands.h"
#include "ui/Frm.h"
#include "ui/FrmMain.h"
#include "ui/RecordSelection.h"
#include "ui/WindowRules.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Answers every question the way a user exploring the editor would, and opens the
// sample file when the file dialog is asked for.
class DemoDialogs : public tarvok::Dialogs {
  public:
    explicit DemoDialogs(QString file) : file_(std::move(file)) {}
    tarvok::MsgAnswer message(QWidget*, const QString& text, const QString&, tarvok::MsgIcon,
                              tarvok::MsgButtons buttons) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return buttons == tarvok::MsgButtons::Ok ? tarvok::MsgAnswer::Ok : tarvok::MsgAnswer::Yes;
    }
    QString prompt(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return file_;
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<quint32> chooseColor(QWidget*) override { return std::nullopt; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }

  private:
    QString file_;
};

bool save(QWidget* w, const QString& path) {
    const bool ok = w->grab().save(path, "PNG");
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <data dir> <output dir>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(tarvok::kAppName);
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    // Work on copies, so the shipped files stay as they are.
    QTemporaryDir programDir;
    for (const QString& name : data.entryList(QDir::Files))
        QFile::copy(data.filePath(name), programDir.filePath(name));
    const QString rules = programDir.filePath(QStringLiteral("aimd.ini"));
    DemoDialogs dialogs(rules);

    const tarvok::ProgramFiles files(programDir.path());
    tarvok::RulesDocument document(files.scratchCopy(), files.historyFolder());
    tarvok::Frm welcome(dialogs, files, document);
    welcome.resize(640, 480);
    welcome.show();
    QApplication::setActiveWindow(&welcome);
    QElapsedTimer waited;
    waited.start();
    while (!welcome.isActiveWindow() && waited.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    bool ok = save(&welcome, out + QStringLiteral("/welcome-window.png"));

    welcome.Chk->setChecked(true);
    welcome.CmdOpen_Click();
    tarvok::FrmMain* editor = welcome.mainWindow();
    // As it opens on a 1366x768 screen.
    editor->showNormal();
    editor->resize(
        tarvok::windowrules::initialWindowGeometry(QSize(1366, 768), editor->sizeHint()).size);
    QApplication::processEvents();
    editor->files().CmdOpen_Click();
    auto* triggers = editor->findChild<QAbstractItemView*>(QStringLiteral("LstRoot"));
    if (triggers->model()->rowCount() > 0) {
        triggers->setCurrentIndex(triggers->model()->index(0, 0));
        editor->selection().LstRoot_Click();
    }
    // The hint area as the user sees it on entering a field.
    QApplication::setActiveWindow(editor);
    editor->findChild<QWidget*>(QStringLiteral("CboWay"))->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ok = save(editor, out + QStringLiteral("/main-window.png")) && ok;
    return ok ? 0 : 1;
}
