#include "document/RulesDocument.h"
#include "support/WidgetDriver.h"
#include "ui/Frm.h"
#include "ui/FrmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {
const QString kGuide = QStringLiteral("Tarvok使用说明.txt");

void showAndActivate(Frm& frm) {
    frm.show();
    QApplication::setActiveWindow(&frm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
}
} // namespace

TEST(WelcomeWindow, ShowsTheGuideOnceWithTheOpenButtonDisabled) {
    TempDir dir;
    dir.write(kGuide, crlf({gbk(QStringLiteral("第一行")), "", gbk(QStringLiteral("第三行"))}));
    ScriptedDialogs dialogs;
    RulesDocument document(dir.file(QStringLiteral("File.ini")));
    Frm frm(dialogs, ProgramFiles(dir.path(), dir.file(QStringLiteral("user"))), document);
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Tarvok-WQ"));
    EXPECT_EQ(frm.Label1->text(), QStringLiteral("    欢迎使用Tarvok"));
    EXPECT_EQ(frm.Chk->text(), QStringLiteral("我已阅读使用说明"));
    EXPECT_EQ(frm.CmdOpen->text(), QStringLiteral("打开修改器"));
    showAndActivate(frm);
    EXPECT_EQ(frm.TxtE->toPlainText(), QStringLiteral("第一行\n\n第三行\n"));
    EXPECT_FALSE(frm.CmdOpen->isEnabled());
    EXPECT_FALSE(frm.Chk->isChecked());
    // Switching away and back does not append the guide again.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(&frm);
    QApplication::processEvents();
    EXPECT_EQ(frm.TxtE->toPlainText(), QStringLiteral("第一行\n\n第三行\n"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(WelcomeWindow, MissingGuideIsReportedAndEmptyGuideShowsNothing) {
    TempDir dir;
    ScriptedDialogs dialogs;
    {
        RulesDocument document(dir.file(QStringLiteral("File.ini")));
        Frm frm(dialogs, ProgramFiles(dir.path(), dir.file(QStringLiteral("user"))), document);
        showAndActivate(frm);
        EXPECT_TRUE(frm.TxtE->toPlainText().isEmpty());
        EXPECT_EQ(dialogs.messages, std::vector<ShownMessage>{info(QStringLiteral("无法找到文件"),
                                                                   QStringLiteral("错误"))});
        // The rest of the window works.
        click(frm.Chk);
        EXPECT_TRUE(frm.CmdOpen->isEnabled());
    }
    dialogs.clear();
    dir.write(kGuide, QByteArray());
    RulesDocument document(dir.file(QStringLiteral("File.ini")));
    Frm frm(dialogs, ProgramFiles(dir.path(), dir.file(QStringLiteral("user"))), document);
    showAndActivate(frm);
    EXPECT_TRUE(frm.TxtE->toPlainText().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
}

// The files named on the command line wait for the editor: the first opens as a choice of
// the file dialog would (its notes on the status bar), the others are named as not opened.
TEST(WelcomeWindow, TheBoxEnablesTheButtonWhichOpensTheEditorAndHidesTheWindow) {
    TempDir dir;
    dir.write(kGuide, crlf({"guide"}));
    dir.write(QStringLiteral("NameTable.WQ"), crlf({"E1,GI,x"}));
    const QString ai =
        dir.write(QStringLiteral("aimd.ini"),
                  crlf({"[#include]", "1=gone.ini", "[TeamTypes]", "0=TM-1", "[TM-1]"}));
    ScriptedDialogs dialogs;
    RulesDocument document(dir.file(QStringLiteral("File.ini")));
    Frm frm(dialogs, ProgramFiles(dir.path(), dir.file(QStringLiteral("user"))), document);
    frm.setStartFiles({ai, dir.file(QStringLiteral("b.ini"))});
    showAndActivate(frm);
    click(frm.Chk);
    EXPECT_TRUE(frm.CmdOpen->isEnabled());
    click(frm.Chk);
    EXPECT_FALSE(frm.CmdOpen->isEnabled());
    click(frm.Chk);
    click(frm.CmdOpen);
    ASSERT_NE(frm.mainWindow(), nullptr);
    EXPECT_TRUE(frm.mainWindow()->isVisible());
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(document.path(), ai);
    EXPECT_EQ(frm.mainWindow()->statusBar()->currentMessage(),
              "包含的文件 gone.ini 不存在；一次只打开一个文件，未打开：" +
                  QDir::toNativeSeparators(dir.file(QStringLiteral("b.ini"))));
    // Closing the editor closes the hidden welcome window too.
    frm.mainWindow()->close();
    EXPECT_FALSE(frm.mainWindow()->isVisible());
    EXPECT_FALSE(frm.isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}
