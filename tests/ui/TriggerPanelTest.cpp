#include "support/WidgetDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kError = QStringLiteral("错误");
const QString kSaved = QStringLiteral("触发已保存！");

QByteArray zeros(int n) {
    return QByteArray(n, '0');
}

// A block with the amount in positions 1-2, the comparison in 10 and fill elsewhere.
QByteArray block(QByteArrayView amount, char way, char fill = '0') {
    QByteArray b(64, fill);
    b[0] = amount[0];
    b[1] = amount[1];
    b[9] = way;
    return b;
}

const QByteArray kA1 = "A1=Old raid,TM-1,<all>,5,1,E1," + block("0A", '2') +
                       ",75.000000,10.000000,600.000000,0,3,2,4,TM-2,1,0,1";
const QByteArray kAB = "AB=x,<none>,Russians,0,7,<none>," + block("FF", '3', '9') +
                       ",70.000000,10.000000,70.000000,1,0,3,0,<none>,0,0,0";
const QByteArray kCAB =
    "CAB=x,TM-3,<all>,10,0,<none>," + zeros(64) + ",70.000000,10.000000,70.000000,1,0,1,0,,0,0,0";

QByteArray gbkLine() {
    return gbk(QStringLiteral("G1=中文触发")) + ",,<all>,10,0,<none>," + block("0C", '4') +
           ",50.000000,10.000000,500.000000,1,0,6,0,,1,1,1";
}

QByteArray rules() {
    return crlf({"; my notes", "[AITriggerTypes]", kA1, kAB, kCAB, gbkLine(), "", "[TeamTypes]",
                 "0=TM-1", "1=TM-2", "", "[TM-1]", "Name=One"});
}

struct TriggerEditor : Editor {
    TriggerEditor() : Editor(true) {
        path = dir.write(QStringLiteral("aimd.ini"), rules());
        open(path);
    }
    void select(const QString& key) {
        const int r = items(w->LstRoot).indexOf(key);
        ASSERT_GE(r, 0) << key.toStdString() << " in "
                        << items(w->LstRoot).join(QLatin1Char('|')).toStdString();
        clickRow(w->LstRoot, r);
    }
    QByteArray bytes() const { return readBytes(path); }
    QString path;
};

} // namespace

TEST(TriggerPanel, StartsWithTheInitialValuesAndNothingToSave) {
    Editor e;
    Window& w = *e.w;
    EXPECT_FALSE(w.TxtRoot->isEnabled());
    EXPECT_EQ(w.TxtRoot->text(), "");
    EXPECT_EQ(w.CboCountry->currentText(), "<all>");
    EXPECT_EQ(w.CboTech->currentText(), "10");
    EXPECT_EQ(w.CboKey->currentText(), "0");
    EXPECT_EQ(w.TxtKey->text(), "");
    EXPECT_EQ(w.CboUnit->currentText(), "<none>");
    EXPECT_EQ(w.CboUnitC->currentText(), QStringLiteral("无"));
    EXPECT_EQ(w.TxtKeyNum->text(), "00");
    EXPECT_EQ(w.CboWay->currentText(), "0");
    EXPECT_EQ(w.TxtWay->text(), "");
    EXPECT_EQ(w.CboBase->currentText(), "70");
    EXPECT_EQ(w.CboMin->currentText(), "10");
    EXPECT_EQ(w.CboMax->currentText(), "70");
    EXPECT_EQ(w.CboOwner->currentText(), "1");
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("盟军"));
    EXPECT_EQ(w.CmdSaveRoot->text(), QStringLiteral("保存触发"));
    EXPECT_EQ(w.CmdRootCopy->text(), QStringLiteral("复制"));
    EXPECT_EQ(w.CmdTeam->text(), QStringLiteral("添加小队"));
    EXPECT_EQ(w.CmdTeamDelete->text(), QStringLiteral("删除小队"));
    EXPECT_EQ(w.ChkRnd->text(), QStringLiteral("遭遇战有效"));
    EXPECT_FALSE(w.ChkLow->isChecked());
    EXPECT_EQ(w.FraRoot->objectName(), "FraRoot");
    EXPECT_EQ(w.FraRoot->findChild<QComboBox*>("CboOwner"), w.CboOwner);
    EXPECT_EQ(w.FraRoot->findChild<QListWidget*>("LstTeam"), w.LstTeam);

    // Nothing on show and no file: the save button does nothing, the add only lists.
    click(w.CmdSaveRoot);
    EXPECT_TRUE(e.dialogs.messages.empty());
    e.dialogs.promptAnswers.push_back(QStringLiteral("N1=New"));
    click(w.CmdAdd);
    EXPECT_EQ(items(w.LstRoot), QStringList{"N1=New"});
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(TriggerPanel, SelectingShowsTheTriggerWithItsDescriptions) {
    TriggerEditor e;
    Window& w = *e.w;
    e.select("A1=Old raid");
    EXPECT_TRUE(e.dialogs.messages.empty()) << e.dialogs.texts().join('|').toStdString();
    EXPECT_EQ(w.TxtRoot->text(), "A1=Old raid");
    EXPECT_EQ(w.TxtName->text(), "A1=Old raid");
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-1", "TM-2"}));
    EXPECT_EQ(w.CboTech->currentText(), "5");
    EXPECT_EQ(w.CboKey->currentText(), "1");
    EXPECT_EQ(w.TxtKey->text(), QStringLiteral("本方单位满足条件"));
    EXPECT_EQ(w.CboUnit->currentText(), "E1");
    EXPECT_EQ(w.TxtKeyNum->text(), "10"); // hexadecimal 0A
    EXPECT_EQ(w.CboWay->currentText(), "2");
    EXPECT_EQ(w.TxtWay->text(), QStringLiteral("等于"));
    EXPECT_EQ(w.CboBase->currentText(), "75");
    EXPECT_EQ(w.CboMax->currentText(), "600");
    EXPECT_EQ(w.CboOwner->currentText(), "2");
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("苏联"));
    EXPECT_TRUE(w.ChkLow->isChecked());
    EXPECT_FALSE(w.ChkMid->isChecked());
    EXPECT_TRUE(w.ChkHigh->isChecked());
    EXPECT_EQ(w.TxtTeam->text(), "TM-1");
    EXPECT_EQ(w.RecordFound(), -1);

    // Tech level 0 and the amount FF (255) load without a refusal; "<none>" teams give
    // an empty LstTeam and an empty team panel.
    e.select("AB=x");
    EXPECT_TRUE(e.dialogs.messages.empty()) << e.dialogs.texts().join('|').toStdString();
    EXPECT_EQ(w.CboTech->currentText(), "0");
    EXPECT_EQ(w.TxtKeyNum->text(), "255");
    EXPECT_EQ(w.CboCountry->currentText(), "Russians");
    EXPECT_EQ(w.TxtKey->text(), QStringLiteral("平民单位满足条件"));
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("尤里"));
    EXPECT_EQ(w.LstTeam->count(), 0);
    EXPECT_EQ(w.TxtTeam->text(), "");
    EXPECT_FALSE(w.ChkLow->isChecked());
    EXPECT_FALSE(w.ChkHigh->isChecked());

    // A GBK key is found and shown.
    e.select(QStringLiteral("G1=中文触发"));
    EXPECT_EQ(w.TxtRoot->text(), QStringLiteral("G1=中文触发"));
    EXPECT_EQ(w.TxtKeyNum->text(), "12");
    EXPECT_EQ(w.CboOwner->currentText(), "6");
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("第六阵营"));
}

TEST(TriggerPanel, LoadingAKeyThatIsNotThereShowsANewTrigger) {
    TriggerEditor e;
    Window& w = *e.w;
    e.select("A1=Old raid");
    w.LoadTrigger(QStringLiteral("A1=Old"));
    EXPECT_EQ(w.RecordFound(), 0);
    EXPECT_EQ(items(w.LstTeam), QStringList{});
    EXPECT_EQ(w.CboTech->currentText(), "10");
}

TEST(TriggerPanel, SavingUnchangedKeepsEveryOtherByte) {
    TriggerEditor e;
    Window& w = *e.w;
    e.select("A1=Old raid");
    click(w.CmdSaveRoot);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(kSaved)});
    // The hidden fields 10, 11, 13 and block positions stay; the amount is written back
    // as the same hexadecimal byte.
    EXPECT_EQ(e.bytes(), rules());

    e.select(QStringLiteral("G1=中文触发"));
    e.dialogs.clear();
    click(w.CmdSaveRoot);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(kSaved)});
    // An unchanged save writes nothing, empty team fields included; LstTeam shows them
    // as "<none>".
    EXPECT_EQ(e.bytes(), rules());
    EXPECT_EQ(items(w.LstTeam), (QStringList{"<none>", "<none>"}));
}

TEST(TriggerPanel, SavingWritesTheEditedValues) {
    TriggerEditor e;
    Window& w = *e.w;
    e.select("AB=x");
    replaceText(w.TxtKeyNum, "12");
    replaceText(w.CboWay, "5");
    chooseItem(w.CboCountry, 3);
    w.ChkMid->setChecked(true);
    ASSERT_TRUE(e.dialogs.messages.empty()) << e.dialogs.texts().join('|').toStdString();
    click(w.CmdSaveRoot);
    QByteArray expected = rules();
    expected.replace(kAB, "AB=x,<none>,Africans,0,7,<none>," + block("0C", '5', '9') +
                              ",70.000000,10.000000,70.000000,1,0,3,0,<none>,0,1,0");
    EXPECT_EQ(e.bytes(), expected);
}

TEST(TriggerPanel, SaveIsRefusedWithoutAComparison) {
    TriggerEditor e;
    Window& w = *e.w;
    e.select("CAB=x");
    replaceText(w.CboWay, "");
    e.dialogs.clear();
    click(w.CmdSaveRoot);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法！"))});
    EXPECT_EQ(e.bytes(), rules());
    EXPECT_EQ(items(w.LstTeam), QStringList{"TM-3"});

    // A comma typed into a field would split the line: refused the same way.
    replaceText(w.CboWay, "1");
    replaceText(w.CboCountry, "A,B");
    e.dialogs.clear();
    click(w.CmdSaveRoot);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法！"))});
    EXPECT_EQ(e.bytes(), rules());
}

TEST(TriggerPanel, AddPutsTheTriggerFirstAndRefusesBadAnswers) {
    TriggerEditor e;
    Window& w = *e.w;
    auto add = [&](const QString& answer) {
        e.dialogs.clear();
        e.dialogs.promptAnswers.push_back(answer);
        click(w.CmdAdd);
    };
    add(QString());
    EXPECT_TRUE(e.dialogs.messages.empty());
    ASSERT_EQ(e.dialogs.prompts.size(), 1u);
    EXPECT_EQ(e.dialogs.prompts[0].text,
              QStringLiteral("输入新增ID和名称（ID和名称用=分开|英文）"));
    EXPECT_EQ(e.dialogs.prompts[0].title, QStringLiteral("新增"));
    EXPECT_EQ(e.dialogs.prompts[0].defaultText, "");

    const std::vector<ShownMessage> bad{
        ShownMessage{QStringLiteral("输入不合法"), kError, MsgIcon::None, MsgButtons::Ok}};
    add(QStringLiteral("NoEquals"));
    EXPECT_EQ(e.dialogs.messages, bad);
    add(QStringLiteral("A5=a,b"));
    EXPECT_EQ(e.dialogs.messages, bad);
    add(QStringLiteral("A1=New rush"));
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("注册ID重复，请重新输入！"), kError)});
    EXPECT_EQ(e.bytes(), rules());
    EXPECT_EQ(rowCount(w.LstRoot), 4);

    // IDs are compared whole; names are not compared at all.
    add(QStringLiteral("A10=New rush"));
    EXPECT_TRUE(e.dialogs.messages.empty());
    add(QStringLiteral("ab=x"));
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(items(w.LstRoot).mid(0, 3), (QStringList{"ab=x", "A10=New rush", "A1=Old raid"}));
    EXPECT_EQ(w.TxtRoot->text(), ""); // the new trigger is not shown
    const QByteArray added = rules().replace(
        "[AITriggerTypes]\r\n",
        "[AITriggerTypes]\r\nab=x,<none>,<all>,10,0,<none>," + zeros(64) +
            ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0\r\nA10=New rush,<none>,<all>,10,"
            "0,<none>," +
            zeros(64) + ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0\r\n");
    EXPECT_EQ(e.bytes(), added);

    e.open(e.path);
    EXPECT_EQ(items(w.LstRoot).first(), "ab=x");
    // The new trigger loads with the panel's start values.
    e.select("A1=Old raid");
    e.select("A10=New rush");
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.LstTeam->count(), 0);
    EXPECT_EQ(w.CboTech->currentText(), "10");
    EXPECT_EQ(w.TxtKeyNum->text(), "00");
    EXPECT_EQ(w.TxtKey->text(), QStringLiteral("目标敌方单位满足条件"));
}

TEST(TriggerPanel, DeleteRemovesOnlyTheSelectedKey) {
    TriggerEditor e;
    Window& w = *e.w;
    click(w.CmdKill); // nothing selected
    EXPECT_TRUE(e.dialogs.messages.empty());

    e.select("AB=x");
    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::No);
    click(w.CmdKill);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{question(QStringLiteral("确定删除？"),
                                                                     QStringLiteral("提示"))});
    EXPECT_EQ(e.bytes(), rules());
    EXPECT_EQ(rowCount(w.LstRoot), 4);

    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    click(w.CmdKill);
    EXPECT_EQ(e.dialogs.messages.size(), 1u);
    EXPECT_EQ(e.bytes(), rules().replace(kAB + "\r\n", ""));
    EXPECT_FALSE(items(w.LstRoot).contains("AB=x"));
    EXPECT_TRUE(items(w.LstRoot).contains("CAB=x"));
    EXPECT_EQ(w.TxtRoot->text(), "AB=x"); // still on show

    // Saving the deleted trigger changes nothing and says so.
    e.dialogs.clear();
    const QByteArray before = e.bytes();
    click(w.CmdSaveRoot);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{info(
                                      QStringLiteral("文件中没有这个触发，未保存！"), kError)});
    EXPECT_EQ(e.bytes(), before);
}

TEST(TriggerPanel, AutoSaveSavesTheTriggerOnShowBeforeTheNextOneIsShown) {
    TriggerEditor e;
    Window& w = *e.w;
    e.select("CAB=x");
    replaceText(w.CboTech, "7");
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    w.mYes->trigger();
    e.dialogs.clear();
    e.select("A1=Old raid");
    EXPECT_EQ(e.dialogs.messages.front(), plain(kSaved));
    // Only the tech level changed: only its field is written, and the empty second team
    // slot as the game writes it.
    EXPECT_EQ(e.bytes(),
              rules().replace(kCAB, "CAB=x,TM-3,<all>,7,0,<none>," + zeros(64) +
                                        ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0"));
    EXPECT_EQ(w.TxtRoot->text(), "A1=Old raid");
    EXPECT_EQ(w.CboTech->currentText(), "5");
}

TEST(TriggerPanel, CopyPutsTheKeyOnTheClipboard) {
    TriggerEditor e;
    e.select("CAB=x");
    click(e.w->CmdRootCopy);
    EXPECT_EQ(e.dialogs.clipboard, QStringList{"CAB=x"});
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(TriggerFields, ComparisonAndSideAcceptOnlyTheirDigits) {
    Editor e;
    Window& w = *e.w;
    const ShownMessage refused = info(QStringLiteral("输入不合法！"), kError);

    replaceText(w.CboWay, "7");
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{refused});
    EXPECT_EQ(w.CboWay->currentText(), "");
    e.dialogs.clear();
    typeText(w.CboWay, "12");
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{refused});
    EXPECT_EQ(w.CboWay->currentText(), "");
    EXPECT_EQ(w.TxtWay->text(), QStringLiteral("小于或等于")); // from the "1" typed first
    e.dialogs.clear();
    chooseItem(w.CboWay, 3);
    EXPECT_EQ(w.TxtWay->text(), QStringLiteral("大于或等于"));
    EXPECT_TRUE(e.dialogs.messages.empty());

    replaceText(w.CboOwner, "7");
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{refused});
    EXPECT_EQ(w.CboOwner->currentText(), "");
    e.dialogs.clear();
    typeText(w.CboOwner, "6");
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("第六阵营"));
    chooseItem(w.CboOwner, 3);
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("尤里"));
    chooseItem(w.CboOwner, 0);
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("所有阵营"));
    leave(w.CboOwner);
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(TriggerFields, ConditionDescribesItsDigitsAndMinusOne) {
    Editor e;
    Window& w = *e.w;
    replaceText(w.CboKey, "9");
    EXPECT_EQ(w.TxtKey->text(), "");
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法！"))});
    EXPECT_EQ(w.CboKey->currentText(), "9");
    e.dialogs.clear();
    replaceText(w.CboKey, "-1"); // typed key by key: "-" is not refused on the way
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.TxtKey->text(), QStringLiteral("无"));
    chooseItem(w.CboKey, 5);
    EXPECT_EQ(w.TxtKey->text(), QStringLiteral("目标敌方金钱大于或等于"));
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(TriggerFields, AmountTakesUpTo255) {
    Editor e;
    Window& w = *e.w;
    replaceText(w.TxtKeyNum, "255");
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.TxtKeyNum->text(), "255");
    replaceText(w.TxtKeyNum, "256");
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法"))});
    EXPECT_EQ(w.TxtKeyNum->text(), "25");
    e.dialogs.clear();
    typeText(w.TxtKeyNum, "12"); // "2512": too long, its first three digits stay
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法"))});
    EXPECT_EQ(w.TxtKeyNum->text(), "251");
    e.dialogs.clear();
    replaceText(w.TxtKeyNum, "1a");
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("输入不合法！"), kError)});
    EXPECT_EQ(w.TxtKeyNum->text(), "1");
    // Pasted text: each bad character gets its own message.
    e.dialogs.clear();
    w.TxtKeyNum->setText(QStringLiteral("x5y"));
    EXPECT_EQ(e.dialogs.messages.size(), 2u);
    EXPECT_EQ(w.TxtKeyNum->text(), "5");
}

TEST(TriggerFields, TechLevelTakesZeroToTen) {
    Editor e;
    Window& w = *e.w;
    const ShownMessage refused = info(QStringLiteral("输入不合法"), kError);
    for (const char* ok : {"0", "1", "10", "1a"}) {
        e.dialogs.clear();
        replaceText(w.CboTech, QString::fromLatin1(ok));
        EXPECT_TRUE(e.dialogs.messages.empty()) << ok;
        EXPECT_EQ(w.CboTech->currentText(), QString::fromLatin1(ok));
    }
    for (const char* bad : {"11", "a", "-1"}) {
        e.dialogs.clear();
        w.CboTech->setEditText(QString());
        w.CboTech->setEditText(QString::fromLatin1(bad));
        EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{refused}) << bad;
        EXPECT_EQ(w.CboTech->currentText(), "") << bad;
    }
    // Leading spaces are skipped, as a load may set them.
    e.dialogs.clear();
    w.CboTech->setEditText(QStringLiteral(" 5"));
    EXPECT_TRUE(e.dialogs.messages.empty());
    e.dialogs.clear();
    replaceText(w.CboTech, "100"); // "10" passes, "100" is too long
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{refused});
    EXPECT_EQ(w.CboTech->currentText(), "");
}

TEST(TriggerFields, WeightsAreCheckedOnlyAfterTheUserTyped) {
    TriggerEditor e;
    Window& w = *e.w;
    e.select("A1=Old raid"); // base 75, maximum 600
    focusOn(w.CboBase);
    leave(w.CboBase);
    focusOn(w.CboMax);
    leave(w.CboMax);
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.CboBase->currentText(), "75");
    EXPECT_EQ(w.CboMax->currentText(), "600");

    replaceText(w.CboBase, "60"); // any whole number the game reads
    leave(w.CboBase);
    EXPECT_TRUE(e.dialogs.messages.empty());
    replaceText(w.CboBase, "7a");
    EXPECT_TRUE(e.dialogs.messages.empty()); // not on typing
    leave(w.CboBase);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("输入不合法！"), kError)});
    EXPECT_EQ(w.CboBase->currentText(), "");
    e.dialogs.clear();
    replaceText(w.CboMin, "5000");
    leave(w.CboMin);
    chooseItem(w.CboMax, 1);
    leave(w.CboMax);
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.CboMax->currentText(), "500");
}

TEST(TriggerFields, HintsFollowTheFocusAndTheDifficultyBoxes) {
    Editor e;
    Window& w = *e.w;
    focusOn(w.CboUnit);
    EXPECT_EQ(w.LblMsg->text(), QStringLiteral("指定在触发条件里评估什么单位"));
    focusOn(w.CboMin);
    EXPECT_EQ(w.LblMsg->text(), QStringLiteral("指定该触发反复失败的所能减小到的分量下限"));
    // A mouse click into the combo box's text gives the box the focus.
    QTest::mouseClick(w.CboOwner->lineEdit(), Qt::LeftButton);
    EXPECT_TRUE(w.LblMsg->text().startsWith(QStringLiteral("哪个作战方可以启动该AI触发")));
    focusOn(w.TxtKeyNum);
    EXPECT_TRUE(w.LblMsg->text().startsWith(QStringLiteral("触发条件中衡量的数量为多少")));
    click(w.ChkHigh);
    EXPECT_TRUE(w.ChkHigh->isChecked());
    EXPECT_EQ(w.LblMsg->text(), QStringLiteral("是否允许冷酷的敌人启动该AI触发"));
    click(w.ChkRnd);
    EXPECT_EQ(w.LblMsg->text(), QStringLiteral("该触发在遭遇战中是否允许启动，疑似无效"));
}

TEST(TriggerFields, UnitNameLookupNeverEmptiesTheUnit) {
    Editor e;
    Window& w = *e.w;
    w.CboUnit->setEditText(QStringLiteral("E1"));
    click(w.CmdCE);
    EXPECT_EQ(w.CboUnitC->currentText(), QStringLiteral("美国大兵"));
    EXPECT_EQ(w.CboUnit->currentText(), "E1");
    // The table has no name for this unit: the name box empties and the unit stays.
    w.CboUnit->setEditText(QStringLiteral("MODUNIT1"));
    click(w.CmdCE);
    EXPECT_EQ(w.CboUnitC->currentText(), "");
    EXPECT_EQ(w.CboUnit->currentText(), "MODUNIT1");
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(TriggerPanel, DeletingAnEntryWithoutAKeyLeavesTheFile) {
    Editor e;
    const QByteArray content = crlf({"[AITriggerTypes]", "=,keyless,<all>", kCAB, ""});
    const QString path = e.dir.write(QStringLiteral("ai.ini"), content);
    e.open(path);
    ASSERT_EQ(items(e.w->LstRoot), (QStringList{"=", "CAB=x"}));
    clickRow(e.w->LstRoot, 0);
    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    click(e.w->CmdKill);
    EXPECT_EQ(readBytes(path), content);
    EXPECT_EQ(items(e.w->LstRoot), (QStringList{"=", "CAB=x"}));
    EXPECT_TRUE(e.dialogs.messages.empty()); // nothing names it: nothing is asked
}
