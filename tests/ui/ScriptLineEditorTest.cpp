#include "support/WidgetDriver.h"

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kGuardHint = QStringLiteral("时间，命令单位处于Guard状态规定的时间，1=6秒");
const QString kBuildingHintA = QStringLiteral(
    "建筑ID，攻击/渗透/占领/"
    "C4爆破敌方特定的建筑，建筑ID由Rules中的注册相对顺序决定，ID=rules（md）中单位注册ID-1");
const QString kBuildingHintB =
    QStringLiteral("建筑ID，移动至敌方特定的建筑，建筑ID由Rules中的注册相对顺序决定");
const QString kWarningChosen = QStringLiteral(
    "这个脚本不能用于战机，否则战机不会等装弹完毕就起飞了，当然无法投弹，再返回、再起飞……");
const QString kWarningTyped = QStringLiteral(
    "这个脚本不能用于战机，否则战机不会等装弹完毕就起飞了，当然无法投弹再返回再起飞……");
const QString kLoadHint =
    QStringLiteral("14和43一般应该连用，否则脚本就会在43处永久暂停而无法继续");
const ShownMessage kNoExplanation{QStringLiteral("未找到相应解释，是否继续？"),
                                  QStringLiteral("错误"), MsgIcon::Information, MsgButtons::YesNo};

int rowOf(const QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text)
            return i;
    ADD_FAILURE() << "no entry " << text.toStdString() << " in "
                  << list->objectName().toStdString();
    return -1;
}

struct LineEditor : Editor {
    Window& w = *Editor::w;

    void chooseAction(const QString& name) { clickRow(w.LstScrAct, rowOf(w.LstScrAct, name)); }
    void chooseParameter(const QString& text) {
        clickRow(w.LstScrNumber, rowOf(w.LstScrNumber, text));
    }
    // What an input method commits, such as a Chinese character or a full-width digit.
    void commit(QLineEdit* box, const QString& text) {
        focusOn(box);
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(box, &event);
    }
    QString lblMsg() const { return w.LblMsg->text(); }
};

} // namespace

TEST(ScriptLineEditor, ChoosingAnActionFillsTheStepAndOffersItsChoices) {
    LineEditor e;
    e.w.TxtAct->setText(QStringLiteral("9"));
    e.w.TxtNumber->setText(QStringLiteral("0"));

    // The empty first entry chooses nothing.
    clickRow(e.w.LstScrAct, 0);
    EXPECT_EQ(e.w.TxtAct->text(), QStringLiteral("9"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("0"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("命令小队中可以部署的成员部署"));
    EXPECT_EQ(e.w.LstScrNumber->count(), 0);

    e.chooseAction(QStringLiteral("攻击最接近的敌方目标"));
    EXPECT_EQ(items(e.w.LstScrNumber),
              (QStringList{"可攻击的任何", "敌方建筑物", "敌方矿车和矿场", "敌方步兵", "敌方载具",
                           "敌方建造场兵营车厂空指部造船厂", "敌方基地防御", "基地威胁",
                           "敌方发电厂", "可以驻守的平民建筑物", "可以占领的平民科技建筑物"}));
    EXPECT_EQ(e.w.TxtAct->text(), QStringLiteral("0"));
    EXPECT_EQ(e.w.TxtNumber->text(), QString());
    EXPECT_EQ(e.w.TxtScrAct->text(), QStringLiteral("攻击最接近的敌方目标"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QString());

    // A parameter on show is emptied; the typed parameter of 5 is explained anyway.
    e.w.TxtNumber->setText(QStringLiteral("3"));
    e.chooseAction(QStringLiteral("原地待命"));
    EXPECT_EQ(e.w.TxtAct->text(), QStringLiteral("5"));
    EXPECT_EQ(e.w.TxtNumber->text(), QString());
    EXPECT_EQ(e.w.TxtScrAct->text(), QStringLiteral("原地待命"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("原地待命"));
    EXPECT_EQ(e.lblMsg(), kGuardHint);
    EXPECT_EQ(e.w.LstScrNumber->count(), 0); // its block is empty

    // A building action lists its own (empty) block, then every building.
    e.chooseAction(QStringLiteral("攻击敌方建筑"));
    EXPECT_EQ(e.w.TxtAct->text(), QStringLiteral("46"));
    EXPECT_EQ(e.lblMsg(), kBuildingHintA); // over the typed hint of the emptied parameter
    ASSERT_GT(e.w.LstScrNumber->count(), 60);
    EXPECT_EQ(e.w.LstScrNumber->item(0)->text(), QStringLiteral("GAPOWR"));

    // The hint of an action without one is empty, whatever was shown before.
    e.chooseAction(QStringLiteral("该小队任务完成"));
    EXPECT_EQ(e.lblMsg(), QString());
    EXPECT_EQ(items(e.w.LstScrNumber), QStringList{QStringLiteral("该小队任务完成")});
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(ScriptLineEditor, TargetCategoriesChosenAndTyped) {
    LineEditor e;
    e.chooseAction(QStringLiteral("攻击最接近的敌方目标"));
    e.chooseParameter(QStringLiteral("基地威胁"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("8"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("基地威胁"));
    EXPECT_EQ(e.lblMsg(), kWarningChosen); // the list's wording has the last word
    e.chooseParameter(QStringLiteral("敌方步兵"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("4"));
    EXPECT_EQ(e.lblMsg(), QString());

    replaceText(e.w.TxtNumber, QStringLiteral("8"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("基地威胁"));
    EXPECT_EQ(e.lblMsg(), kWarningTyped);
    replaceText(e.w.TxtNumber, QStringLiteral("12"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QString());
    EXPECT_EQ(e.lblMsg(), QString());
    // Going on to the action list leaves the unexplained parameter: asked, and No clears.
    e.chooseAction(QStringLiteral("请求超时空传送至敌方目标"));
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kNoExplanation});
    e.dialogs.clear();
    EXPECT_EQ(e.w.TxtAct->text(), QStringLiteral("57"));
    e.chooseParameter(QStringLiteral("可以占领的平民科技建筑物"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("11"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("可以占领的平民科技建筑物"));
    EXPECT_EQ(e.dialogs.texts(), QStringList{});
}

TEST(ScriptLineEditor, StatesFollowTheirOwnColumnOnEachPath) {
    LineEditor e;
    e.chooseAction(QStringLiteral("进入状态"));
    EXPECT_EQ(items(e.w.LstScrNumber),
              (QStringList{"原地待命", "原地永久驻扎", "采矿", "警戒", "搜索敌人"}));
    e.chooseParameter(QStringLiteral("警戒"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("11"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("采矿"));
    e.chooseParameter(QStringLiteral("原地永久驻扎"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("6"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QString());
    e.chooseParameter(QStringLiteral("搜索敌人"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("15"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("搜索敌人"));

    replaceText(e.w.TxtNumber, QStringLiteral("10"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("原地永久驻扎"));
    replaceText(e.w.TxtNumber, QStringLiteral("4"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("警戒"));
    replaceText(e.w.TxtNumber, QStringLiteral("5"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("原地待命"));
}

TEST(ScriptLineEditor, UnloadModesAndParameterZeroActions) {
    LineEditor e;
    e.chooseAction(QStringLiteral("运载工具卸载"));
    e.chooseParameter(QStringLiteral("运载工具是小队成员卸出单位成为新兵"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("2"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("运载工具是小队成员卸出单位成为新兵"));
    replaceText(e.w.TxtNumber, QStringLiteral("4"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("运载工具和卸出单位都成为新兵"));
    replaceText(e.w.TxtNumber, QStringLiteral("5"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QString());
    e.dialogs.answers.push_back(MsgAnswer::Yes); // asked on leaving; Yes keeps it
    leave(e.w.TxtNumber);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kNoExplanation});
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("5"));
    e.dialogs.clear();

    e.chooseAction(QStringLiteral("装载到运载工具中"));
    e.chooseParameter(QStringLiteral("命令小队成员依次装载到运载工具中"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("0"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("命令小队成员依次装载到运载工具中"));
    EXPECT_EQ(e.lblMsg(), kLoadHint);
    e.chooseAction(QStringLiteral("等待直到运载工装满"));
    EXPECT_EQ(e.lblMsg(), QString());
    e.chooseParameter(QStringLiteral("暂停脚本直到运载工装满然后继续"));
    EXPECT_EQ(e.lblMsg(), kLoadHint);
    e.chooseAction(QStringLiteral("请求铁幕(如果可用)"));
    e.chooseParameter(QStringLiteral("向该小队的所有者请求铁幕保护"));
    EXPECT_EQ(e.lblMsg(), QStringLiteral("不要傻不啦叽地往有步兵单位的作战小队中写……"));
    e.chooseAction(QStringLiteral("在敌方基地附近集结"));
    e.chooseParameter(QStringLiteral("集结于距敌方基地中心AISafeDistance(Rules)的位置"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("0"));
    EXPECT_EQ(e.lblMsg(), QString());
    EXPECT_EQ(e.dialogs.texts(), QStringList{});

    // Only the plain 0 is explained; leaving an unexplained parameter asks.
    e.chooseAction(QStringLiteral("部署"));
    replaceText(e.w.TxtNumber, QStringLiteral("00"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QString());
    leave(e.w.TxtNumber);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kNoExplanation});
    EXPECT_EQ(e.w.TxtNumber->text(), QString()); // answered No
    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    replaceText(e.w.TxtNumber, QStringLiteral("00"));
    leave(e.w.TxtNumber);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kNoExplanation});
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("00"));
}

TEST(ScriptLineEditor, BuildingParametersAreLookedUpBothWays) {
    LineEditor e;
    e.chooseAction(QStringLiteral("攻击敌方建筑"));
    e.w.TxtScrOther->setText(QStringLiteral("stale"));
    e.chooseParameter(QStringLiteral("GAPILE"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("3"));
    EXPECT_EQ(e.w.TxtScrUnitE->text(), QStringLiteral("GAPILE"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QString());
    EXPECT_EQ(e.lblMsg(), kBuildingHintB);

    // The nearest-building form of an index names the same building.
    replaceText(e.w.TxtNumber, QStringLiteral("131075"));
    EXPECT_EQ(e.w.TxtScrUnitE->text(), QStringLiteral("GAPILE"));
    leave(e.w.TxtNumber);
    EXPECT_TRUE(e.dialogs.messages.empty());

    replaceText(e.w.TxtNumber, QStringLiteral("99999"));
    EXPECT_EQ(e.w.TxtScrUnitE->text(), QString());
    EXPECT_EQ(e.w.TxtScrOther->text(), QString());
    leave(e.w.TxtNumber);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kNoExplanation});
    EXPECT_EQ(e.w.TxtNumber->text(), QString());

    // Typed "046" is the same action, but only the exact spellings empty the explanation.
    replaceText(e.w.TxtAct, QStringLiteral("046"));
    EXPECT_EQ(e.w.TxtScrAct->text(), QStringLiteral("攻击敌方建筑"));
    e.w.TxtScrOther->setText(QStringLiteral("kept"));
    replaceText(e.w.TxtNumber, QStringLiteral("3"));
    EXPECT_EQ(e.w.TxtScrUnitE->text(), QStringLiteral("GAPILE"));
    EXPECT_EQ(e.w.TxtScrOther->text(), QStringLiteral("kept"));
}

TEST(ScriptLineEditor, MissingBuildingTablesAreReported) {
    LineEditor e;
    e.chooseAction(QStringLiteral("移动至己方建筑"));
    replaceText(e.w.TxtNumber, QStringLiteral("5"));
    ASSERT_TRUE(e.dialogs.messages.empty());
    ASSERT_TRUE(QFile::remove(e.dir.file(QStringLiteral("ID2.WQ"))));
    e.chooseParameter(QStringLiteral("GAPILE"));
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{info(QStringLiteral("无法找到文件"),
                                                                 QStringLiteral("错误"))});
    EXPECT_EQ(e.w.TxtNumber->text(), QString());

    // Without Scr.WQ the choices stay, and the building names are still appended.
    e.dialogs.clear();
    ASSERT_TRUE(QFile::remove(e.dir.file(QStringLiteral("Scr.WQ"))));
    const int before = e.w.LstScrNumber->count();
    e.chooseAction(QStringLiteral("攻击敌方建筑"));
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("无法找到文件")});
    EXPECT_EQ(e.w.LstScrNumber->count(), 2 * before);
    EXPECT_EQ(e.w.TxtAct->text(), QStringLiteral("46"));
}

TEST(ScriptLineEditor, DigitFiltersRemoveEachBadCharacterWithOneMessage) {
    LineEditor e;
    e.chooseAction(QStringLiteral("原地待命"));
    typeText(e.w.TxtNumber, QStringLiteral("1a"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("1"));
    e.commit(e.w.TxtNumber, QStringLiteral("参"));
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("1"));
    const ShownMessage bad = info(QStringLiteral("参数输入不合法！"), QStringLiteral("错误"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{bad, bad}));

    e.dialogs.clear();
    replaceText(e.w.TxtAct, QStringLiteral("5x"));
    e.commit(e.w.TxtAct, QStringLiteral("１")); // a full-width digit is no digit
    EXPECT_EQ(e.w.TxtAct->text(), QStringLiteral("5"));
    EXPECT_EQ(e.w.TxtScrAct->text(), QStringLiteral("原地待命"));
    const ShownMessage badAct = info(QStringLiteral("动作输入不合法！"), QStringLiteral("错误"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{badAct, badAct}));

    // A pasted text with two bad characters: one message each, the digits survive.
    e.dialogs.clear();
    focusOn(e.w.TxtScrID);
    e.w.TxtScrID->insert(QStringLiteral("1x2y"));
    EXPECT_EQ(e.w.TxtScrID->text(), QStringLiteral("12"));
    const ShownMessage badId = info(QStringLiteral("脚本ID输入不合法！"), QStringLiteral("错误"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{badId, badId}));
}

TEST(ScriptLineEditor, LeavingChecksOnlyWhatTheUserTyped) {
    LineEditor e;
    // Action numbers outside the table.
    typeText(e.w.TxtAct, QStringLiteral("7"));
    EXPECT_EQ(e.w.TxtScrAct->text(), QString());
    leave(e.w.TxtAct);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法"))});
    EXPECT_EQ(e.w.TxtAct->text(), QString());
    // An empty action is action 0, and leaving it empty is fine.
    EXPECT_EQ(e.w.TxtScrAct->text(), QStringLiteral("攻击最接近的敌方目标"));
    focusOn(e.w.TxtAct);
    leave(e.w.TxtAct);
    EXPECT_EQ(e.dialogs.messages.size(), 1u);

    // Values a load put there stay when the user only passes through.
    e.dialogs.clear();
    e.w.TxtAct->setText(QStringLiteral("7"));
    focusOn(e.w.TxtAct);
    leave(e.w.TxtAct);
    e.w.TxtAct->setText(QStringLiteral("9"));
    e.w.TxtNumber->setText(QStringLiteral("00"));
    focusOn(e.w.TxtNumber);
    leave(e.w.TxtNumber);
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(e.w.TxtNumber->text(), QStringLiteral("00"));

    // Typing into a loaded value makes it the user's.
    e.w.TxtAct->setText(QStringLiteral("7"));
    typeText(e.w.TxtAct, QStringLiteral("1"));
    leave(e.w.TxtAct);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("输入不合法")});
    EXPECT_EQ(e.w.TxtAct->text(), QString());
}

TEST(ScriptLineEditor, SelectedStepRowFollowsTheFields) {
    LineEditor e;
    appendRow(e.w.LvwScr, {"0", "53", "0"});
    appendRow(e.w.LvwScr, {"1", "49", "0"});
    e.w.LvwScr->clearSelection();
    e.w.LvwScr->setCurrentIndex(QModelIndex());

    // No row selected: typing changes no row.
    replaceText(e.w.TxtAct, QStringLiteral("8"));
    replaceText(e.w.TxtNumber, QStringLiteral("3"));
    EXPECT_EQ(row(e.w.LvwScr, 0), (QStringList{"0", "53", "0"}));
    EXPECT_EQ(row(e.w.LvwScr, 1), (QStringList{"1", "49", "0"}));

    setCurrentRow(e.w.LvwScr, 1);
    replaceText(e.w.TxtAct, QStringLiteral("55"));
    replaceText(e.w.TxtNumber, QStringLiteral("0"));
    EXPECT_EQ(row(e.w.LvwScr, 1), (QStringList{"1", "55", "0"}));
    e.chooseAction(QStringLiteral("移动至己方建筑"));
    EXPECT_EQ(row(e.w.LvwScr, 1), (QStringList{"1", "58", ""}));
    e.chooseParameter(QStringLiteral("GAPILE"));
    EXPECT_EQ(row(e.w.LvwScr, 1), (QStringList{"1", "58", "3"}));
    EXPECT_EQ(row(e.w.LvwScr, 0), (QStringList{"0", "53", "0"}));

    // A disabled list keeps its rows.
    e.w.LvwScr->setEnabled(false);
    replaceText(e.w.TxtAct, QStringLiteral("9"));
    replaceText(e.w.TxtNumber, QStringLiteral("0"));
    EXPECT_EQ(row(e.w.LvwScr, 1), (QStringList{"1", "58", "3"}));
}
