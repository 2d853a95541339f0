#include "support/WidgetDriver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kOk = QStringLiteral("OK");

QByteArray sampleRules() {
    return crlf({"[TaskForces]", "0=TF-A", "1=TF-B", "[AITriggerTypes]", "T1=One,TM-1,<all>",
                 "T2=Two,TM-2,<all>", "", "[ScriptTypes]", "0=SC-A", "", "[TeamTypes]", "0=TM-1",
                 "1=TM-2", "[TaskForces]", "9=TF-LATE"});
}

} // namespace

TEST(OpenRulesFile, ScanFillsTheFourListsAsTheGameReadsThem) {
    Editor e(false);
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), sampleRules());
    e.dialogs.files.push_back(path);
    e.w->CmdOpen_Click();
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(e.w->RulesFilePath(), path);
    EXPECT_EQ(e.w->LblRoot->text(), path);
    // A registry written twice lists the entries of both, in file order.
    EXPECT_EQ(items(e.w->LstSpe), (QStringList{"TF-A", "TF-B", "TF-LATE"}));
    EXPECT_EQ(items(e.w->LstRoot), (QStringList{"T1=One", "T2=Two"}));
    EXPECT_EQ(items(e.w->LstScr), (QStringList{"SC-A"}));
    EXPECT_EQ(items(e.w->LstFig), (QStringList{"TM-1", "TM-2"}));
    EXPECT_EQ(e.w->TaskForceCount(), 3);
    EXPECT_EQ(e.w->ScriptTypeCount(), 1);
    EXPECT_EQ(e.w->TeamTypeCount(), 2);
    EXPECT_EQ(e.dialogs.fileFilters,
              QStringList{QStringLiteral(
                  "规则文件(*.ini)|*.ini|地图文件(*.map *.mpr)|*.map;*.mpr|所有文件(*)|*")});
}

TEST(OpenRulesFile, RefusedChoicesLeaveEverythingAsItWas) {
    Editor e(false);
    const QString first = e.dir.write(QStringLiteral("aimd.ini"), sampleRules());
    e.open(first);

    e.w->CmdOpen_Click(); // cancelled
    // A file of another name opens only when it holds AI sections: a game rules file does not.
    const QString rules = e.dir.write(QStringLiteral("rules.ini"), "[General]\r\nName=x\r\n");
    e.dialogs.files.push_back(rules);
    e.w->CmdOpen_Click();
    EXPECT_EQ(e.dialogs.messages,
              (std::vector<ShownMessage>{
                  info(QStringLiteral("请选择文件!"), QStringLiteral("提示")),
                  info(QStringLiteral("请正确选择文件！"), QStringLiteral("提示"))}));
    EXPECT_EQ(e.w->RulesFilePath(), first);
    EXPECT_EQ(rowCount(e.w->LstRoot), 2);
    EXPECT_EQ(e.w->TaskForceCount(), 3);
}

TEST(OpenRulesFile, DialogStartsWhereTheLastFileCameFromAndADroppedFileOpensAsChosen) {
    Editor e(false);
    e.w->CmdOpen_Click(); // cancelled
    const QString scratch = e.dir.path() + QStringLiteral("/File.ini");
    EXPECT_EQ(e.dialogs.fileFolders, QStringList{e.dir.path()});
    EXPECT_EQ(e.dialogs.hiddenFiles, QStringList{scratch});
    e.open(e.dir.write(QStringLiteral("mod/aimd.ini"), sampleRules()));
    e.w->CmdOpen_Click();
    EXPECT_EQ(e.dialogs.fileFolders, QStringList{e.dir.path() + QStringLiteral("/mod")});

    // A drop takes the dialog's place: the same checks, the same opening.
    const auto drop = [&e](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(e.main.get(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e.main.get(), &event);
        QApplication::processEvents();
    };
    e.dialogs.clear();
    drop(e.dir.write(QStringLiteral("rules.txt"), "[General]\r\n"));
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{info(QStringLiteral("请正确选择文件！"),
                                                                 QStringLiteral("提示"))});
    const QString other = e.dir.write(QStringLiteral("other/aimd.ini"), sampleRules());
    drop(other);
    EXPECT_EQ(e.w->RulesFilePath(), other);
}

TEST(OpenRulesFile, NameTestLooksAtTheWholeLowerCasedPath) {
    Editor e(false);
    const QString upper = e.dir.write(QStringLiteral("AI.INI"), sampleRules());
    e.dialogs.files.push_back(upper);
    e.w->CmdOpen_Click();
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{plain(QStringLiteral("使用原版AI时请谨慎"))});
    EXPECT_EQ(e.w->RulesFilePath(), upper); // kept as the dialog returned it

    e.dialogs.clear();
    const QString inFolder = e.dir.write(QStringLiteral("ai.ini/rules.ini"), sampleRules());
    e.dialogs.files.push_back(inFolder);
    e.w->CmdOpen_Click();
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("使用原版AI时请谨慎")});
    EXPECT_EQ(e.w->RulesFilePath(), inFolder);

    e.dialogs.clear();
    const QString md = e.dir.write(QStringLiteral("mod/aimd.ini"), sampleRules());
    e.dialogs.files.push_back(md);
    e.w->CmdOpen_Click();
    EXPECT_TRUE(e.dialogs.messages.empty()); // "aimd.ini" does not contain "ai.ini"
}

TEST(OpenRulesFile, UnreadableFileIsReportedAndTheOpenFileStays) {
    Editor e(false);
    const QString first = e.dir.write(QStringLiteral("aimd.ini"), sampleRules());
    e.open(first);
    e.dialogs.files.push_back(e.dir.file(QStringLiteral("missing/aimd.ini")));
    e.w->CmdOpen_Click();
    e.dialogs.files.push_back(e.dir.file(QStringLiteral("ai.ini"))); // a folder
    QDir(e.dir.path()).mkdir(QStringLiteral("ai.ini"));
    e.w->CmdOpen_Click();
    EXPECT_EQ(
        e.dialogs.messages,
        (std::vector<ShownMessage>{info(QStringLiteral("无法打开文件"), QStringLiteral("错误")),
                                   plain(QStringLiteral("使用原版AI时请谨慎")),
                                   info(QStringLiteral("无法打开文件"), QStringLiteral("错误"))}));
    EXPECT_EQ(e.w->RulesFilePath(), first);
    EXPECT_EQ(items(e.w->LstRoot), (QStringList{"T1=One", "T2=Two"}));
}

TEST(OpenRulesFile, SecondFileReplacesListsAndCountersAndClearsTheRecordKeys) {
    Editor e(false);
    e.open(e.dir.write(QStringLiteral("a/aimd.ini"), sampleRules()));
    e.w->TxtRoot->setText(QStringLiteral("T1=One"));
    e.w->TxtTeam->setText(QStringLiteral("TM-1"));
    e.w->TxtSpe->setText(QStringLiteral("TF-A"));
    e.w->TxtScr->setText(QStringLiteral("SC-A"));
    const QByteArray second = crlf({"[TeamTypes]", gbk(QStringLiteral("0=小队-1")), "",
                                    "[AITriggerTypes]", gbk(QStringLiteral("N1=新触发,x"))});
    e.open(e.dir.write(QStringLiteral("b/aimd.ini"), second));
    EXPECT_EQ(items(e.w->LstFig), QStringList{QStringLiteral("小队-1")});
    EXPECT_EQ(items(e.w->LstRoot), QStringList{QStringLiteral("N1=新触发")});
    EXPECT_TRUE(items(e.w->LstSpe).isEmpty());
    EXPECT_TRUE(items(e.w->LstScr).isEmpty());
    EXPECT_EQ(e.w->TeamTypeCount(), 1);
    EXPECT_EQ(e.w->TaskForceCount(), 0);
    EXPECT_EQ(e.w->ScriptTypeCount(), 0);
    for (QLineEdit* key : {e.w->TxtRoot, e.w->TxtTeam, e.w->TxtSpe, e.w->TxtScr})
        EXPECT_TRUE(key->text().isEmpty()) << key->objectName().toStdString();
}

TEST(OpenRulesFile, Utf8FilesAreReadAsUtf8) {
    Editor e(false);
    const QByteArray content =
        QByteArray("\xEF\xBB\xBF") + crlf({"[ScriptTypes]", utf8(QStringLiteral("0=脚本-甲"))});
    e.open(e.dir.write(QStringLiteral("aimd.ini"), content));
    EXPECT_EQ(items(e.w->LstScr), QStringList{QStringLiteral("脚本-甲")});
}

TEST(OpenRulesFile, TheFileDialogsFilterShowsEachPatternOnce) {
    EXPECT_EQ(
        qtFileFilter(QStringLiteral("规则文件(*.ini)|*.ini|地图文件(*.map *.mpr)|*.map;*.mpr")),
        QStringLiteral("规则文件(*.ini);;地图文件(*.map *.mpr)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("游戏规则|rulesmd.ini;rules.ini")),
              QStringLiteral("游戏规则 (rulesmd.ini rules.ini)"));
}

TEST(RewriteFailure, IsReportedWithItsReasonAndLeavesTheFileUnchanged) {
    const struct {
        const char* what;
        const char* rulesName;
        std::function<void(const TempDir&, const QString& rules)> spoil;
        QString reason;
    } cases[] = {
        {"read-only file", "aimd.ini",
         [](const TempDir&, const QString& rules) {
             QFile::setPermissions(rules, QFile::ReadOwner);
         },
         QStringLiteral("文件为只读")},
        {"read-only folder", "sub/aimd.ini",
         [](const TempDir& dir, const QString&) {
             QFile::setPermissions(dir.file(QStringLiteral("sub")),
                                   QFile::ReadOwner | QFile::ExeOwner);
         },
         QStringLiteral("文件夹为只读")},
        {"no scratch copy", "aimd.ini",
         [](const TempDir& dir, const QString&) {
             QDir(dir.path()).mkdir(QStringLiteral("File.ini"));
         },
         QStringLiteral("无法创建备份文件 File.ini")},
        {"file gone", "aimd.ini",
         [](const TempDir&, const QString& rules) { QFile::remove(rules); },
         QStringLiteral("文件已不存在")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e(false);
        const QByteArray content = sampleRules();
        const QString path = e.dir.write(QString::fromLatin1(c.rulesName), content);
        e.open(path);
        c.spoil(e.dir, path);
        PanelKit& kit = e.w->main.kit();
        const bool ok = kit.messages().reportWrite(e.w->main.document().rewrite(
            [](const QByteArray& bytes, const TextCodec&) { return bytes + "x\r\n"; }));
        QFile::setPermissions(e.dir.file(QStringLiteral("sub")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_FALSE(ok);
        if (QFile::exists(path)) {
            EXPECT_EQ(readBytes(path), content);
        }
        EXPECT_EQ(e.dialogs.messages,
                  std::vector<ShownMessage>{
                      info(QStringLiteral("文件写入失败，原文件未改动\n原因：") + c.reason,
                           QStringLiteral("错误"))});
    }
}

// A mod whose triggers live in a file its AI file includes: the frame names both, the entries
// their file, and the included file opened alone says who includes it.
TEST(OpenRulesFile, AnIncludedFileIsNamedInTheFrameTheTooltipsAndTheStatusBar) {
    Editor e(false);
    const QString path = e.dir.write(
        QStringLiteral("mod/aimd.ini"),
        crlf({"[#include]", "1=ai_trigger.ini", "2=gone.ini", "[TeamTypes]", "0=TM-1", "[TM-1]"}));
    const QString triggers = e.dir.write(QStringLiteral("mod/ai_trigger.ini"),
                                         crlf({"[AITriggerTypes]", "T1=One,TM-1,<all>"}));
    e.open(path);
    EXPECT_EQ(e.w->LblRoot->text(), path + QStringLiteral("（另含 1 个文件：ai_trigger.ini）"));
    EXPECT_EQ(e.w->main.statusBar()->currentMessage(),
              QStringLiteral("包含的文件 gone.ini 不存在"));
    const auto tip = [](QAbstractItemView* list) {
        return list->model()->index(0, 0).data(Qt::ToolTipRole).toString();
    };
    EXPECT_EQ(tip(e.w->LstRoot), QStringLiteral("位于 ai_trigger.ini"));
    EXPECT_EQ(tip(e.w->LstFig), QString());

    e.open(triggers);
    EXPECT_EQ(e.w->LblRoot->text(), triggers);
    EXPECT_EQ(e.w->main.statusBar()->currentMessage(),
              QStringLiteral("此文件由 aimd.ini 包含；打开 aimd.ini 可一并编辑"));
}
