// The forecast window's wiring: opened from the tools menu beside a mod, it forecasts from
// its controls, fills the buildings a country can build, hands a trigger to the main window
// and keeps its state in a file.
#include "support/WidgetDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

TEST(PredictWindow, ForecastsFromItsControlsAndKeepsItsState) {
    Editor e;
    e.dir.write("mod/rulesmd.ini", crlf({"[Countries]",
                                         "0=Americans",
                                         "1=Russians",
                                         "[Sides]",
                                         "GDI=Americans",
                                         "Nod=Russians",
                                         "[InfantryTypes]",
                                         "0=E1",
                                         "[BuildingTypes]",
                                         "0=NAHAND",
                                         "1=GAPILE",
                                         "[SuperWeaponTypes]",
                                         "0=LIGHT",
                                         "1=NUKE",
                                         "[NUKE]",
                                         "Name=Bomb",
                                         "[E1]",
                                         "TechLevel=1",
                                         "Owner=Russians,Americans",
                                         "[NAHAND]",
                                         "TechLevel=1",
                                         "Owner=Russians",
                                         "Factory=InfantryType",
                                         "[GAPILE]",
                                         "TechLevel=1",
                                         "Owner=Americans",
                                         "Factory=InfantryType"}));
    const QByteArray block = "00000000030000000" + QByteArray(47, '0');
    e.open(e.dir.write(
        "mod/aimd.ini",
        crlf({"[TeamTypes]", "0=TDEF", "1=TATK", "[TDEF]", "IsBaseDefense=yes", "TaskForce=TF",
              "[TATK]", "TaskForce=TF", "[TaskForces]", "0=TF", "[TF]", "0=1,E1",
              "[AITriggerTypes]",
              "ATK=Attack,TATK,<all>,0,-1,<none>," + block + ",70,0,100,1,0,0,0,<none>,1,1,1",
              "DEF=Guard,TDEF,<all>,0,1,NAHAND," + block + ",50,0,100,1,0,0,0,<none>,1,1,1"})));

    auto* mPredict = e.main->findChild<QAction*>(QStringLiteral("mPredict"));
    ASSERT_TRUE(mPredict);
    EXPECT_EQ(mPredict->shortcut(), QKeySequence(Qt::Key_F8));
    mPredict->trigger();
    auto* frm = e.main->findChild<QWidget*>(QStringLiteral("FrmPredict"));
    ASSERT_TRUE(frm);
    const auto find = [frm]<class T>(T*, const char* name) {
        T* found = frm->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    };
    auto* country = find((QComboBox*)nullptr, "CboPredCountry");
    auto* summary = find((QLabel*)nullptr, "LblPredSummary");
    auto* table = find((QTableView*)nullptr, "TblPredict");
    auto* own = find((QTableWidget*)nullptr, "TblPredOwn");
    EXPECT_EQ(find((QCheckBox*)nullptr, "ChkPredSw1")->text(), "Bomb（NUKE）");
    EXPECT_EQ(find((QComboBox*)nullptr, "CboPredLevel")->count(), 3);

    // No enemy yet and no barracks: nothing can be picked.
    chooseItem(country, 1); // Russians
    EXPECT_TRUE(summary->text().startsWith("0 个触发可选；尚未选定敌人"))
        << summary->text().toStdString();
    click(find((QPushButton*)nullptr, "CmdPredFill"));
    EXPECT_EQ(cell(own, 0, 0).toString(), "NAHAND"); // GAPILE is the other country's
    EXPECT_EQ(rowCount(own), 2);                     // and an empty row to add one
    EXPECT_TRUE(summary->text().startsWith("1 个触发可选")) << summary->text().toStdString();
    // Highest chance first.
    const auto shown = [table](int row, int column) {
        return table->model()->index(row, column).data().toString();
    };
    EXPECT_EQ(shown(0, 0), "DEF");
    EXPECT_EQ(shown(0, 4), "100.0 %");

    click(find((QCheckBox*)nullptr, "ChkPredEnemy"));
    EXPECT_TRUE(summary->text().startsWith("1 个触发可选；防守小队不足（0/1）"));
    auto* teams = find((QTableWidget*)nullptr, "TblPredTeams");
    setCell(teams, 0, 0, "TDEF");
    setCell(teams, 0, 1, "1");
    EXPECT_TRUE(summary->text().startsWith("2 个触发可选")) << summary->text().toStdString();
    EXPECT_EQ(shown(0, 0), "ATK");

    // A double-click selects the trigger in the main window.
    const QModelIndex def = table->model()->index(1, 0);
    table->doubleClicked(def);
    EXPECT_TRUE(items(e.w->LstRoot).value(currentRow(e.w->LstRoot)).startsWith("DEF"));

    // The state goes to a file and comes back from it; a bad one changes nothing.
    const QString saved = e.dir.path() + "/state.json";
    e.dialogs.files.push_back(saved);
    click(find((QPushButton*)nullptr, "CmdPredSave"));
    EXPECT_TRUE(test::readBytes(saved).contains("\"Russians\""));
    chooseItem(country, 0);
    e.dialogs.files.push_back(saved);
    click(find((QPushButton*)nullptr, "CmdPredOpen"));
    EXPECT_EQ(country->currentText(), "Russians");
    e.dialogs.files.push_back(e.dir.write("bad.json", R"({"country": "Americans"})"));
    click(find((QPushButton*)nullptr, "CmdPredOpen"));
    EXPECT_EQ(e.dialogs.texts().value(e.dialogs.texts().size() - 1), "状态缺少 level");
    EXPECT_EQ(country->currentText(), "Russians");
}
