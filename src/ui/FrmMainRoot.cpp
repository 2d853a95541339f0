// The trigger panel: the list of AI triggers, the trigger's field editors and the
// load and save of its [AITriggerTypes] line.
#include "ui/FrmMain.h"

#include "document/Lines.h"
#include "document/Rewrite.h"
#include "records/TriggerLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tarvok {
namespace {

const QString kBadInput = QStringLiteral("输入不合法！");
const QString kBadInputShort = QStringLiteral("输入不合法");
const QString kErrorTitle = QStringLiteral("错误");

QString keyDescription(const QString& value) {
    static const QStringList texts{
        QStringLiteral("目标敌方单位满足条件"), QStringLiteral("本方单位满足条件"),
        QStringLiteral("敌方电力黄"),           QStringLiteral("敌方电力红"),
        QStringLiteral("目标敌方金钱大于或等于"), QStringLiteral("本方铁幕装置就绪"),
        QStringLiteral("本方超时空传送就绪"),   QStringLiteral("平民单位满足条件")};
    if (value == QStringLiteral("-1"))
        return QStringLiteral("无");
    if (value.size() == 1 && value[0] >= QLatin1Char('0') && value[0] <= QLatin1Char('7'))
        return texts[value[0].unicode() - '0'];
    return {};
}

QString wayDescription(const QString& value) {
    static const QStringList texts{QStringLiteral("小于"),       QStringLiteral("小于或等于"),
                                   QStringLiteral("等于"),       QStringLiteral("大于或等于"),
                                   QStringLiteral("大于"),       QStringLiteral("不等于")};
    if (value.size() == 1 && value[0] >= QLatin1Char('0') && value[0] <= QLatin1Char('5'))
        return texts[value[0].unicode() - '0'];
    return {};
}

QString ownerDescription(const QString& value) {
    static const QStringList texts{QStringLiteral("盟军"),     QStringLiteral("苏联"),
                                   QStringLiteral("尤里"),     QStringLiteral("第四阵营"),
                                   QStringLiteral("第五阵营"), QStringLiteral("第六阵营")};
    if (value.size() == 1 && value[0] >= QLatin1Char('1') && value[0] <= QLatin1Char('6'))
        return texts[value[0].unicode() - '1'];
    return {};
}

// The single-digit check of the comparison and side boxes: an empty text passes.
bool outsideDigitRange(const QString& text, char low, char high) {
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    return c.unicode() > static_cast<ushort>(high) || c.unicode() < static_cast<ushort>(low) ||
           text.size() > 1;
}

bool isWeight(const QString& text) {
    static const QStringList weights{QStringLiteral("10"), QStringLiteral("20"),
                                     QStringLiteral("40"), QStringLiteral("50"),
                                     QStringLiteral("70"), QStringLiteral("500"),
                                     QStringLiteral("5000")};
    return weights.contains(text);
}

QLabel* label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QLineEdit* lineEdit(const QString& name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QCheckBox* checkBox(const QString& name, const QString& caption, QWidget* parent) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    return c;
}

} // namespace

// ---------------------------------------------------------------- the frame

void FrmMain::createRootFrame() {
    FraRoot = new QGroupBox(QStringLiteral("AI触发"));
    FraRoot->setObjectName(QStringLiteral("FraRoot"));
    QWidget* f = FraRoot;

    TxtRoot = lineEdit(QStringLiteral("TxtRoot"), QString(), f);
    TxtRoot->setEnabled(false); // the key is set only by selecting a trigger
    CmdRootCopy = button(QStringLiteral("CmdRootCopy"), QStringLiteral("复制"), f);
    CmdSaveRoot = button(QStringLiteral("CmdSaveRoot"), QStringLiteral("保存触发"), f);

    CboCountry = makeCombo(QStringLiteral("CboCountry"), f);
    CboCountry->setEditText(QStringLiteral("<all>"));
    CboTech = makeCombo(QStringLiteral("CboTech"), f);
    CboTech->setEditText(QStringLiteral("10"));
    CboKey = makeCombo(QStringLiteral("CboKey"), f);
    CboKey->setEditText(QStringLiteral("0"));
    TxtKey = lineEdit(QStringLiteral("TxtKey"), QString(), f);
    CboUnit = makeCombo(QStringLiteral("CboUnit"), f);
    CboUnit->setEditText(QStringLiteral("<none>"));
    CmdCE = button(QStringLiteral("CmdCE"), QStringLiteral(">"), f);
    CmdCE->setMaximumWidth(32);
    CboUnitC = makeCombo(QStringLiteral("CboUnitC"), f);
    CboUnitC->setEditText(QStringLiteral("无"));
    TxtKeyNum = lineEdit(QStringLiteral("TxtKeyNum"), QStringLiteral("00"), f);
    CboWay = makeCombo(QStringLiteral("CboWay"), f);
    CboWay->setEditText(QStringLiteral("0"));
    TxtWay = lineEdit(QStringLiteral("TxtWay"), QString(), f);
    CboBase = makeCombo(QStringLiteral("CboBase"), f);
    CboBase->setEditText(QStringLiteral("70"));
    CboMin = makeCombo(QStringLiteral("CboMin"), f);
    CboMin->setEditText(QStringLiteral("10"));
    CboMax = makeCombo(QStringLiteral("CboMax"), f);
    CboMax->setEditText(QStringLiteral("70"));
    CboOwner = makeCombo(QStringLiteral("CboOwner"), f);
    CboOwner->setEditText(QStringLiteral("1"));
    TxtOwner = lineEdit(QStringLiteral("TxtOwner"), QStringLiteral("盟军"), f);
    // The description boxes are written by the handlers only.
    for (QLineEdit* d : {TxtKey, TxtWay, TxtOwner})
        d->setReadOnly(true);

    ChkLow = checkBox(QStringLiteral("ChkLow"), QStringLiteral("简单敌人允许"), f);
    ChkMid = checkBox(QStringLiteral("ChkMid"), QStringLiteral("中等敌人允许"), f);
    ChkHigh = checkBox(QStringLiteral("ChkHigh"), QStringLiteral("冷酷敌人允许"), f);
    ChkRnd = checkBox(QStringLiteral("ChkRnd"), QStringLiteral("遭遇战有效"), f);

    LstTeam = new QListWidget(f);
    LstTeam->setObjectName(QStringLiteral("LstTeam"));
    LstTeam->setMaximumHeight(64);
    CmdTeam = button(QStringLiteral("CmdTeam"), QStringLiteral("添加小队"), f);
    CmdTeamDelete = button(QStringLiteral("CmdTeamDelete"), QStringLiteral("删除小队"), f);

    // One row of fields after another; rows do not share column widths, so the frame
    // stays as narrow as its widest row.
    auto* rows = new QVBoxLayout(f);
    rows->setSpacing(3);
    const auto row = [&](std::initializer_list<std::pair<QWidget*, int>> items) {
        auto* h = new QHBoxLayout;
        for (const auto& [w, stretch] : items)
            h->addWidget(w, stretch);
        rows->addLayout(h);
    };
    row({{TxtRoot, 1}, {CmdRootCopy, 0}, {CmdSaveRoot, 0}});
    row({{label(QStringLiteral("国家："), f), 0}, {CboCountry, 3},
         {label(QStringLiteral("科技等级："), f), 0}, {CboTech, 1}});
    row({{label(QStringLiteral("触发条件："), f), 0}, {CboKey, 1}, {TxtKey, 4}});
    row({{label(QStringLiteral("条件单位名："), f), 0}, {CboUnit, 2}, {CmdCE, 0}, {CboUnitC, 2}});
    row({{label(QStringLiteral("触发条件衡量的数量(两位):"), f), 0}, {TxtKeyNum, 1},
         {label(QStringLiteral("触发条件算法"), f), 0}, {CboWay, 1}, {TxtWay, 2}});
    row({{label(QStringLiteral("基础分量："), f), 0}, {CboBase, 1},
         {label(QStringLiteral("分量下限："), f), 0}, {CboMin, 1},
         {label(QStringLiteral("分量上限："), f), 0}, {CboMax, 1}});
    row({{label(QStringLiteral("所属方："), f), 0}, {CboOwner, 1}, {TxtOwner, 2}, {ChkRnd, 0}});
    row({{ChkLow, 1}, {ChkMid, 1}, {ChkHigh, 1}});
    auto* teams = new QGridLayout;
    teams->addWidget(LstTeam, 0, 0, 2, 1);
    teams->addWidget(CmdTeam, 0, 1);
    teams->addWidget(CmdTeamDelete, 1, 1);
    teams->setColumnStretch(0, 1);
    rows->addLayout(teams);
    rows->addStretch(1); // spare height goes below the fields, not between them
}

void FrmMain::connectRootHandlers() {
    onUserSelect(LstRoot, [this] { LstRoot_Click(); });
    connect(CmdAdd, &QPushButton::clicked, this, &FrmMain::CmdAdd_Click);
    connect(CmdKill, &QPushButton::clicked, this, &FrmMain::CmdKill_Click);
    connect(CmdSaveRoot, &QPushButton::clicked, this, &FrmMain::CmdSaveRoot_Click);
    connect(CmdRootCopy, &QPushButton::clicked, this, &FrmMain::CmdRootCopy_Click);
    connect(CmdCE, &QPushButton::clicked, this, &FrmMain::CmdCE_Click);

    connect(CboTech, &QComboBox::editTextChanged, this, &FrmMain::CboTech_Change);
    connect(CboKey, &QComboBox::editTextChanged, this, &FrmMain::CboKey_Change);
    connect(CboKey, &QComboBox::activated, this, &FrmMain::CboKey_Click);
    connect(CboUnitC, &QComboBox::editTextChanged, this, &FrmMain::CboUnitC_Change);
    connect(CboUnitC, &QComboBox::activated, this, &FrmMain::CboUnitC_Click);
    connect(TxtKeyNum, &QLineEdit::textChanged, this, &FrmMain::TxtKeyNum_Change);
    connect(CboWay, &QComboBox::editTextChanged, this, &FrmMain::CboWay_Change);
    connect(CboWay, &QComboBox::activated, this, &FrmMain::CboWay_Click);
    connect(CboOwner, &QComboBox::editTextChanged, this, &FrmMain::CboOwner_Change);
    connect(CboOwner, &QComboBox::activated, this, &FrmMain::CboOwner_Click);
    onFocusOut(CboOwner, [this] { CboOwner_LostFocus(); });
    onFocusOut(CboBase, [this] { CboBase_LostFocus(); });
    onFocusOut(CboMin, [this] { CboMin_LostFocus(); });
    onFocusOut(CboMax, [this] { CboMax_LostFocus(); });

    const std::pair<QWidget*, QString> focusHints[] = {
        {CboCountry, QStringLiteral("指定只有特定一个国家的电脑玩家才允许激活该触发.英语不错吧？！我就不翻译了")},
        {CboTech, QStringLiteral("如果电脑玩家的科技等级低于该水平那么这个AI触发就不会被激活.在原版遭遇战中这个是没有意义的，因为所有玩家的科技级别都是上限10，但是在任务地图以及用NP开启了调节科技等级功能的Mod里，这个就有必要认真考虑了")},
        {CboKey, QStringLiteral("0（目标敌方单位满足条件)1(本方单位满足条件)2(敌方电力黄)3(敌方电力红)4(目标敌方金钱大于或等于)5(本方铁幕装置就绪)6(本方超时空传送就绪)7(平民单位满足条件)")},
        {CboUnit, QStringLiteral("指定在触发条件里评估什么单位")},
        {TxtKeyNum, QStringLiteral("触发条件中衡量的数量为多少.其中作战单位评估其数量，金钱则除以1000后和该数值比较.")},
        {CboWay, QStringLiteral("控制触发条件用何种算法来比较.可以为0-5的任何一个值，这六个值的意思分别是0=小于、1=小于或等于、2=等于、3=大于或等于、4=大于、5=不等于.")},
        {CboBase, QStringLiteral("指定该触发在没有被执行时候的分量.据说只能用5000,500,70,50,40,20,10七个值（未验证，但是原版只有这七个值），个人以为这种东西稳健一些好")},
        {CboMin, QStringLiteral("指定该触发反复失败的所能减小到的分量下限")},
        {CboMax, QStringLiteral("指定该触发反复成功执行的所能增加到的分量上限")},
        {CboOwner, QStringLiteral("哪个作战方可以启动该AI触发.1代表盟军，2代表苏联，3代表尤里，4、5、6分别代表第四、五、六阵营")},
    };
    for (const auto& [w, text] : focusHints)
        onFocusIn(w, [this, text = text] { hint(text); });

    const std::pair<QCheckBox*, QString> clickHints[] = {
        {ChkLow, QStringLiteral("是否允许简单的敌人启动该AI触发")},
        {ChkMid, QStringLiteral("是否允许中等的敌人启动该AI触发")},
        {ChkHigh, QStringLiteral("是否允许冷酷的敌人启动该AI触发")},
        {ChkRnd, QStringLiteral("该触发在遭遇战中是否允许启动，疑似无效")},
    };
    for (const auto& [box, text] : clickHints)
        connect(box, &QCheckBox::toggled, this, [this, text = text](bool) { hint(text); });
}

// ---------------------------------------------------------------- load and save

void FrmMain::LoadTrigger(const QString& key) {
    const std::optional<RulesContent> rules = readRules();
    if (!rules)
        return;
    RecordFound = 0;
    const QByteArray wanted = rules->codec.encode(key);

    // Found on the raw bytes; only the matching lines are ever decoded.
    std::vector<QByteArrayView> found = trigger::findTriggerLines(rules->bytes, wanted);

    const TextCodec& codec = rules->codec;
    auto setCombo = [&codec](QComboBox* box, const std::optional<QByteArray>& v) {
        if (v)
            box->setEditText(codec.decode(*v));
    };
    auto setCheck = [](QCheckBox* box, std::optional<bool> v) {
        if (v)
            box->setChecked(*v);
    };
    // Of duplicates the last one is what stays on show. Only that one is shown: showing
    // each in turn ends the same way, but a file holding a key thousands of times with
    // values the checks refuse would raise thousands of message boxes, one after another.
    if (found.size() > 1)
        found.erase(found.begin(), found.end() - 1);
    for (QByteArrayView line : found) {
        RecordFound = -1;
        const trigger::TriggerView v = trigger::readTriggerLine(line);
        LstTeam->clear();
        for (const QByteArray& team : v.teams)
            LstTeam->addItem(codec.decode(team));
        setCombo(CboCountry, v.country);
        setCombo(CboTech, v.tech);
        setCombo(CboKey, v.condition);
        setCombo(CboUnit, v.unit);
        if (v.amount)
            TxtKeyNum->setText(codec.decode(*v.amount));
        setCombo(CboWay, v.way);
        setCombo(CboBase, v.base);
        setCombo(CboMin, v.min);
        setCombo(CboMax, v.max);
        setCombo(CboOwner, v.owner);
        setCheck(ChkLow, v.low);
        setCheck(ChkMid, v.mid);
        setCheck(ChkHigh, v.high);
    }
}

void FrmMain::SaveTrigger(const QString& key) {
    if (RulesFilePath.isEmpty())
        return;
    // The panel's values, encoded in the file's own encoding once the rewrite has it.
    auto editIn = [&](const TextCodec& codec) {
        auto text = [&codec](const QString& s) { return codec.encode(s); };
        trigger::TriggerEdit e;
        e.key = text(key);
        e.team1 = LstTeam->count() > 0 ? text(LstTeam->item(0)->text()) : "<none>";
        e.team2 = LstTeam->count() > 1 ? text(LstTeam->item(1)->text()) : "<none>";
        e.country = text(CboCountry->currentText());
        e.tech = text(CboTech->currentText());
        e.condition = text(CboKey->currentText());
        e.unit = text(CboUnit->currentText());
        e.amount = text(TxtKeyNum->text());
        e.way = text(CboWay->currentText());
        e.base = text(CboBase->currentText());
        e.min = text(CboMin->currentText());
        e.max = text(CboMax->currentText());
        e.owner = text(CboOwner->currentText());
        e.low = ChkLow->isChecked();
        e.mid = ChkMid->isChecked();
        e.high = ChkHigh->isChecked();
        return e;
    };
    // A line that cannot be written whole is not written at all. The check looks at
    // commas and digits only, which every encoding writes alike.
    if (trigger::checkEdit(editIn(TextCodec(Encoding::Utf8))) != trigger::EditProblem::None) {
        msg(kBadInput);
        return;
    }

    while (LstTeam->count() < 2)
        LstTeam->addItem(QStringLiteral("<none>"));
    const bool written = rewriteRules([&](const QByteArray& content, const TextCodec& codec) {
        const trigger::TriggerEdit e = editIn(codec);
        return rewriteLines(content, ReplaceTriggerLine(e.key, [&e](QByteArrayView old) {
                                return trigger::buildTriggerLine(e, old);
                            }));
    });
    if (written)
        msg(QStringLiteral("触发已保存！"));
}

// ---------------------------------------------------------------- list operations

void FrmMain::LstRoot_Click() {
    QListWidgetItem* item = LstRoot->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString entry = item->text();

    if (AutoSave == -1) {
        CmdSaveRoot_Click();
        CmdSaveFig_Click();
        CmdSaveSpe_Click();
        CmdSaveScr_Click();
    }
    TxtName->setText(entry);
    TxtNote->clear();
    TxtRoot->setText(entry);
    clearSelectionQuietly(LstFig);
    clearSelectionQuietly(LstSpe);
    clearSelectionQuietly(LstScr);
    CmdFind_Click();
    LoadTrigger(entry);
    CmdCE_Click();

    if (LstTeam->count() == 0)
        return; // the team, task force and script panels keep what they showed
    selectRowQuietly(LstTeam, 0);
    const QString team = LstTeam->item(0)->text();
    TxtTeam->setText(team);
    LoadTeamType(team);
    selectRowQuietly(LstSpeAdd, 0);
    selectRowQuietly(LstScrAdd, 0);
    const QString taskForce = LstSpeAdd->count() > 0 ? LstSpeAdd->item(0)->text() : QString();
    const QString script = LstScrAdd->count() > 0 ? LstScrAdd->item(0)->text() : QString();
    TxtSpe->setText(taskForce);
    TxtScr->setText(script);
    LoadTaskForce(taskForce);
    LoadScriptType(script);
    FillSpeEntryFields();
    FillScrLineFields();
}

void FrmMain::CmdAdd_Click() {
    const QString answer = dialogs().prompt(
        this, QStringLiteral("输入新增ID和名称（ID和名称用=分开|英文）"), QStringLiteral("新增"),
        QString());
    if (answer.isEmpty())
        return;
    // A comma would split the new trigger line.
    if (!answer.contains(QLatin1Char('=')) || answer.contains(QLatin1Char(','))) {
        msg(kBadInputShort, kErrorTitle);
        return;
    }
    const QString id = answer.left(answer.indexOf(QLatin1Char('=')));
    for (int i = 0; i < LstRoot->count(); ++i) {
        const QString entry = LstRoot->item(i)->text();
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        // An entry without "=" has no ID and equals none.
        if (eq >= 0 && entry.left(eq) == id) {
            msg(QStringLiteral("注册ID重复，请重新输入！"), kErrorTitle, MsgIcon::Information);
            return;
        }
    }
    LstRoot->insertItem(0, answer);
    if (RulesFilePath.isEmpty())
        return;
    const bool written = rewriteRules([&answer](const QByteArray& content, const TextCodec& codec) {
        return rewriteLines(content, InsertAfterHeader("AITriggerTypes",
                                                       trigger::newTriggerLine(codec.encode(answer))));
    });
    if (!written)
        delete LstRoot->takeItem(0); // the file does not have it
}

void FrmMain::CmdKill_Click() {
    QListWidgetItem* item = LstRoot->currentItem();
    if (!item || !item->isSelected())
        return;
    if (msg(QStringLiteral("确定删除？"), QStringLiteral("提示"), MsgIcon::Question,
            MsgButtons::YesNo) == MsgAnswer::No)
        return;
    const QString key = item->text();
    if (!RulesFilePath.isEmpty()) {
        const bool written = rewriteRules([&key](const QByteArray& content, const TextCodec& codec) {
            return rewriteLines(content, RemoveTriggerLines(codec.encode(key)));
        });
        if (!written)
            return;
    }
    delete LstRoot->takeItem(LstRoot->row(item));
}

void FrmMain::CmdSaveRoot_Click() {
    if (!TxtRoot->text().isEmpty())
        SaveTrigger(TxtRoot->text());
}

void FrmMain::CmdRootCopy_Click() { dialogs().setClipboardText(TxtRoot->text()); }

// ---------------------------------------------------------------- field editors

void FrmMain::CboTech_Change() {
    // Tech levels 0 to 10: the game's own triggers use 0. A text must start with a
    // number (after spaces), so letters are still refused.
    const QString text = CboTech->currentText();
    if (text.isEmpty())
        return;
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const bool hasNumber = i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
    const QByteArray bytes = text.toUtf8();
    if (text.size() > 2 || !hasNumber || lines::leadingNumber(bytes) > 10) {
        msg(kBadInputShort, kErrorTitle, MsgIcon::Information);
        CboTech->setEditText(QString());
    }
}

void FrmMain::CboKey_Change() {
    const QString text = CboKey->currentText();
    if (text.isEmpty())
        return;
    TxtKey->clear();
    TxtKey->setText(keyDescription(text));
    if (TxtKey->text().isEmpty())
        msg(kBadInput);
}

void FrmMain::CboKey_Click() { TxtKey->setText(keyDescription(CboKey->currentText())); }

void FrmMain::CboUnitC_Change() {
    // An empty name (">" for a unit the table lacks) keeps the condition unit.
    const QString name = CboUnitC->currentText();
    if (name.isEmpty())
        return;
    CboUnit->setEditText(LookupUnitId(name));
}

void FrmMain::CboUnitC_Click() { CboUnitC_Change(); }

void FrmMain::CmdCE_Click() { CboUnitC->setEditText(LookupUnitName(CboUnit->currentText())); }

void FrmMain::TxtKeyNum_Change() {
    // The amount is a byte: up to three digits, at most 255.
    const QString text = TxtKeyNum->text();
    bool allDigits = !text.isEmpty();
    for (QChar c : text)
        allDigits = allDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (text.size() > 3 || (allDigits && text.toInt() > 255)) {
        msg(kBadInputShort);
        TxtKeyNum->setText(text.left(2));
        return;
    }
    digitFilter(TxtKeyNum, kBadInput);
}

void FrmMain::CboWay_Change() {
    const QString text = CboWay->currentText();
    if (outsideDigitRange(text, '0', '5')) {
        msg(kBadInput, kErrorTitle, MsgIcon::Information);
        CboWay->setEditText(QString());
        return;
    }
    CboWay_Click();
}

void FrmMain::CboWay_Click() {
    const QString d = wayDescription(CboWay->currentText());
    if (!d.isEmpty())
        TxtWay->setText(d);
}

void FrmMain::CboOwner_Change() {
    const QString text = CboOwner->currentText();
    if (outsideDigitRange(text, '1', '6')) {
        msg(kBadInput, kErrorTitle, MsgIcon::Information);
        CboOwner->setEditText(QString());
        return;
    }
    CboOwner_Click();
}

void FrmMain::CboOwner_Click() {
    const QString d = ownerDescription(CboOwner->currentText());
    if (!d.isEmpty())
        TxtOwner->setText(d);
}

void FrmMain::CboOwner_LostFocus() {
    // Only what the user typed is checked: a loaded value passes through untouched.
    if (!userEditedSinceFocus(CboOwner))
        return;
    if (outsideDigitRange(CboOwner->currentText(), '1', '6')) {
        msg(kBadInput, kErrorTitle, MsgIcon::Information);
        CboOwner->setEditText(QString());
    }
}

void FrmMain::CboBase_LostFocus() { checkWeightOnLeave(CboBase); }
void FrmMain::CboMin_LostFocus() { checkWeightOnLeave(CboMin); }
void FrmMain::CboMax_LostFocus() { checkWeightOnLeave(CboMax); }

void FrmMain::checkWeightOnLeave(QComboBox* box) {
    // Real files hold weights such as 600 or 1000: a loaded value is never erased.
    if (!userEditedSinceFocus(box))
        return;
    const QString text = box->currentText();
    if (!text.isEmpty() && !isWeight(text)) {
        msg(kBadInput, kErrorTitle, MsgIcon::Information);
        box->setEditText(QString());
    }
}

} // namespace tarvok
