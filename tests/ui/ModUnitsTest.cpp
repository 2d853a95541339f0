// The mod's own units and buildings through the window: an AI file opened beside the mod's
// rules file and string table shows the mod's units under their players' names, counts
// building parameters in the mod's list and checks units against the mod.
#include "support/WidgetDriver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QByteArray kAi =
    crlf({"[TaskForces]", "0=TF-1", "", "[TF-1]", "Name=Tanks", "0=2,MYTANK", "1=1,GHOST",
          "Group=-1", "", "[ScriptTypes]", "0=SC-1", "", "[SC-1]", "Name=Raid", "0=46,65537"});

// Two triggers with a team each: AT-1's uses TF-1, AT-2's a task force of E1 alone.
const QByteArray kTeams = crlf(
    {"", "[TeamTypes]", "0=TM-1", "1=TM-2", "[TM-1]", "TaskForce=TF-1", "[TM-2]", "TaskForce=TF-2",
     "[TaskForces]", "1=TF-2", "[TF-2]", "0=1,E1", "[AITriggerTypes]",
     "AT-1=a,TM-1,<all>,1,0,<none>," + QByteArray(64, '0') + ",50,30,50,1,0,1,0,<none>,1,1,1",
     "AT-2=b,TM-2,<all>,1,0,<none>," + QByteArray(64, '0') + ",50,30,50,1,0,1,0,<none>,1,1,1"});

} // namespace

TEST(ModUnits, AnAiFileBesideItsModShowsTheModsUnitsAndBuildings) {
    Editor e;
    Window& w = *e.w;
    e.dir.write("mod/rulesmd.ini",
                crlf({"[InfantryTypes]", "0=E1", "[VehicleTypes]", "0=MYTANK", "[BuildingTypes]",
                      "0=GAPOWR", "1=MYPLANT", "2=GAPOWR", "[MYTANK]", "UIName=Name:MyTank"}));
    e.dir.write("mod/stringtable01.csf", csfHeader(1) + csfLabel("Name:MyTank", {"我的坦克"}));
    e.open(e.dir.write("mod/aimd.ini", kAi));
    EXPECT_EQ(w.LblModRules->text(),
              QStringLiteral("游戏规则：rulesmd.ini（步兵 1、车辆 1、飞行器 0、建筑 2）；"
                             "字符串表：stringtable01.csf"));
    EXPECT_EQ(w.CboSpeE->count(), 2);
    EXPECT_EQ(w.CboSpeC->findText(QStringLiteral("我的坦克")), 1);
    EXPECT_EQ(w.CboUnit->findText("MYPLANT"), 3); // a trigger's condition counts buildings

    clickRow(w.LstSpe, 0);
    EXPECT_EQ(cell(w.LvwSpe, 0, 3).toString(), QStringLiteral("我的坦克"));
    clickRow(w.LvwSpe, 1);
    chooseItem(w.CboSpeC, 1); // 我的坦克
    EXPECT_EQ(w.CboSpeE->currentText(), "MYTANK");

    // Parameter 65537: the second building of the mod's list, with the high bits 65536.
    clickRow(w.LstScr, 0);
    clickRow(w.LvwScr, 0);
    EXPECT_EQ(w.TxtScrUnitE->text(), "MYPLANT");
    clickRow(w.LstScrAct, 9); // 攻击敌方建筑: the mod's buildings to choose from
    replaceText(w.TxtNumber, "131073");
    clickRow(w.LstScrNumber, static_cast<int>(items(w.LstScrNumber).lastIndexOf("GAPOWR")));
    EXPECT_EQ(w.TxtNumber->text(), "131072");

    w.mCheck->trigger();
    const CheckControls check(e.main.get());
    ASSERT_TRUE(check.LvwCheck);
    const QList<QTreeWidgetItem*> undefined = check.LvwCheck->findItems(
        QStringLiteral("单位 GHOST 未在规则文件中定义"), Qt::MatchExactly, 4);
    EXPECT_EQ(undefined.size(), 1);
    EXPECT_TRUE(check.LvwCheck->findItems("MYTANK", Qt::MatchContains, 4).isEmpty());

    // Without the mod, the shipped lists are back.
    w.mNoModRules->trigger();
    EXPECT_EQ(w.LblModRules->text(), QStringLiteral("未找到游戏规则文件，使用内置单位表"));
    EXPECT_GT(w.CboSpeE->count(), 100);
}

// In a map, its own triggers and actions name records too: 引用 lists them and a delete
// counts them.
TEST(ModUnits, AMapsOwnSectionsAreUsesOfItsRecords) {
    Editor e;
    Window& w = *e.w;
    e.open(e.dir.write("maps/raid.map",
                       crlf({"[Basic]", "Name=Raid", "[Actions]", "01000000=1,4,0,TF-1,0",
                             "[TaskForces]", "0=TF-1", "", "[TF-1]", "Name=Tanks", "0=2,E1"})));
    clickRow(w.LstSpe, 0);
    QApplication::processEvents();
    EXPECT_EQ(items(w.LstRefSpe), QStringList{QStringLiteral("[Actions] 01000000 (地图)")});
    e.dialogs.clear();
    click(w.CmdSpeKill); // answered No
    EXPECT_EQ(e.dialogs.texts(),
              QStringList{QStringLiteral("地图中有 1 处设置使用此特遣小队，确定删除？")});
}

// Types that share an in-game name are each chosen as themselves: by their entries, which
// show the ID after the name, and by a typed ID; a typed shared name sets nothing.
TEST(ModUnits, TypesSharingANameAreEachChosenAsThemselves) {
    Editor e;
    Window& w = *e.w;
    e.dir.write(
        "mod/rulesmd.ini",
        crlf({"[InfantryTypes]", "0=ENGA", "1=ENGB", "[BuildingTypes]", "0=POWR", "1=WFA", "2=WFB",
              "3=WFC", "[ENGA]", "Name=Engineer", "[ENGB]", "Name=Engineer", "[WFA]",
              "Name=War Factory", "[WFB]", "Name=War Factory", "[WFC]", "Name=War Factory"}));
    e.open(e.dir.write("mod/aimd.ini", kAi));
    const auto entries = [](const QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    };
    EXPECT_EQ(entries(w.CboSpeC), (QStringList{QStringLiteral("Engineer（ENGA）"),
                                               QStringLiteral("Engineer（ENGB）")}));
    clickRow(w.LstSpe, 0);
    clickRow(w.LvwSpe, 1);
    chooseItem(w.CboSpeC, 1);
    EXPECT_EQ(w.CboSpeE->currentText(), "ENGB");

    // A building action lists the buildings alone, in the order the parameter counts in.
    clickRow(w.LstScr, 0);
    clickRow(w.LvwScr, 0);
    EXPECT_EQ(entries(w.TxtScrUnitC), (QStringList{"POWR", QStringLiteral("War Factory（WFA）"),
                                                   QStringLiteral("War Factory（WFB）"),
                                                   QStringLiteral("War Factory（WFC）")}));
    chooseItem(w.TxtScrUnitC, 2);
    click(w.Command1);
    EXPECT_EQ(w.TxtNumber->text(), "65538"); // WFB's place, the high bits kept
    w.TxtScrUnitC->setEditText("wfc");
    click(w.Command1);
    EXPECT_EQ(w.TxtNumber->text(), "65539");
    w.TxtScrUnitC->setEditText("War Factory");
    click(w.Command1);
    EXPECT_EQ(w.TxtNumber->text(), "65539");
    EXPECT_EQ(w.main.statusBar()->currentMessage(),
              QStringLiteral("名称 War Factory 对应 3 个类型，请选择带 ID 的条目"));
}

// The four lists' filters find the records that use a unit by its ID or in-game name, by
// the names of the mod in use: when the mod is turned off, a filter in force follows.
TEST(ModUnits, FiltersFindWhereAUnitIsUsed) {
    Editor e;
    Window& w = *e.w;
    e.dir.write("mod/rulesmd.ini",
                crlf({"[VehicleTypes]", "0=MYTANK", "[BuildingTypes]", "0=GAPOWR", "1=MYPLANT",
                      "[MYTANK]", "UIName=Name:MyTank", "[MYPLANT]", "Name=Plant"}));
    e.dir.write("mod/stringtable01.csf", csfHeader(1) + csfLabel("Name:MyTank", {"我的坦克"}));
    e.open(e.dir.write("mod/aimd.ini", kAi + kTeams));
    const auto filter = [&](const char* name, const QString& text) {
        w.main.findChild<QLineEdit*>(QLatin1String(name))->setText(text);
    };
    const auto shown = [](const QAbstractItemView* list) {
        QStringList out;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            out << list->model()->index(i, 0).data().toString();
        return out;
    };
    // What the records use is read by the pool: a filter finds by it once that arrives.
    const auto shownSoon = [&](const QAbstractItemView* list, const QStringList& expected) {
        (void)QTest::qWaitFor([&] { return shown(list) == expected; });
        return shown(list);
    };
    filter("TxtFindSpe", QStringLiteral("我的坦克"));
    EXPECT_EQ(shownSoon(w.LstSpe, {"TF-1"}), QStringList{"TF-1"});
    filter("TxtFindFig", "mytank");
    EXPECT_EQ(shownSoon(w.LstFig, {"TM-1"}), QStringList{"TM-1"});
    filter("TxtFindRoot", QStringLiteral("坦克"));
    EXPECT_EQ(shownSoon(w.LstRoot, {"AT-1=a"}), QStringList{"AT-1=a"});
    filter("TxtFindScr", "plant"); // 46,65537: MYPLANT
    EXPECT_EQ(shownSoon(w.LstScr, {"SC-1"}), QStringList{"SC-1"});
    // A saved task force is found by what it holds now.
    filter("TxtFindSpe", "");
    clickRow(w.LstSpe, 1);
    clickRow(w.LvwSpe, 0);
    replaceText(w.CboSpeE, "MYTANK");
    click(w.CmdSaveSpe);
    filter("TxtFindSpe", "mytank");
    EXPECT_EQ(shownSoon(w.LstSpe, {"TF-1", "TF-2"}), (QStringList{"TF-1", "TF-2"}));
    filter("TxtFindSpe", QStringLiteral("我的坦克"));
    w.mNoModRules->trigger();
    EXPECT_TRUE(shown(w.LstSpe).isEmpty());
}

// Typing into a choice box offers every entry holding the text anywhere, in its name or ID;
// the one chosen is set as if chosen from the box's list, a shared name by its own entry.
TEST(ModUnits, TypingIntoAChoiceBoxOffersEveryEntryHoldingTheText) {
    Editor e;
    Window& w = *e.w;
    e.dir.write(
        "mod/rulesmd.ini",
        crlf({"[VehicleTypes]", "0=XHEAVY", "1=XMEDIUM", "2=XLIGHT", "[BuildingTypes]", "0=XWFA",
              "1=XWFB", "[XHEAVY]", "Name=Heavy Tank", "[XMEDIUM]", "Name=Medium Tank", "[XLIGHT]",
              "Name=Light Tank", "[XWFA]", "Name=War Factory", "[XWFB]", "Name=War Factory"}));
    e.open(e.dir.write("mod/aimd.ini", kAi + kTeams));
    clickRow(w.LstSpe, 0);
    clickRow(w.LvwSpe, 0);
    const auto offers = [](QComboBox* box) {
        QStringList out;
        const QAbstractItemModel* m = box->completer()->completionModel();
        for (int i = 0; i < m->rowCount(); ++i)
            out << m->index(i, 0).data().toString();
        return out;
    };
    const auto chooseOffer = [](QComboBox* box, int downs) {
        QAbstractItemView* popup = box->completer()->popup();
        ASSERT_TRUE(popup->isVisible());
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    };
    replaceText(w.CboSpeC, "ank"); // inside the names
    EXPECT_EQ(offers(w.CboSpeC), (QStringList{"Heavy Tank", "Medium Tank", "Light Tank"}));
    chooseOffer(w.CboSpeC, 2);
    EXPECT_EQ(w.CboSpeE->currentText(), "XMEDIUM");
    EXPECT_EQ(cell(w.LvwSpe, 0, 2).toString(), "XMEDIUM");

    replaceText(w.CboSpeE, "light"); // an ID box finds by name too, and shows it
    EXPECT_EQ(offers(w.CboSpeE), QStringList{QStringLiteral("XLIGHT　Light Tank")});
    chooseOffer(w.CboSpeE, 1);
    EXPECT_EQ(w.CboSpeE->currentText(), "XLIGHT");
    EXPECT_EQ(w.CboSpeC->currentText(), "Light Tank");

    clickRow(w.LstRoot, 0);
    replaceText(w.CboUnitC, "wfb"); // inside an ID: the shared name's own entry
    EXPECT_EQ(offers(w.CboUnitC), QStringList{QStringLiteral("War Factory（XWFB）")});
    chooseOffer(w.CboUnitC, 1);
    EXPECT_EQ(w.CboUnit->currentText(), "XWFB");
    replaceText(w.CboCountry, "SSI");
    EXPECT_EQ(offers(w.CboCountry), QStringList{"Russians"});
}
