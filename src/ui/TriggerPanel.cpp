// The trigger panel: the list of AI triggers, the trigger's field editors and the
// load and save of its [AITriggerTypes] line.
#include "ui/TriggerPanel.h"

#include "records/FieldRules.h"
#include "ui/ChoiceSearch.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/RegistryLists.h"
#include "ui/WidgetMaking.h"
#include "ui/WindowLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace tarvok {
namespace {

using namespace messages;
namespace rules = fieldrules;

QLineEdit* lineEdit(const QString& name, const QString& text, QWidget* parent) {
    return named(new QLineEdit(text, parent), name);
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    return named(new QPushButton(caption, parent), name);
}

QCheckBox* checkBox(const QString& name, const QString& caption, QWidget* parent) {
    return named(new QCheckBox(caption, parent), name);
}

} // namespace

// ---------------------------------------------------------------- the frame

TriggerPanel::TriggerPanel(PanelKit& kit, RulesDocument& doc, QAbstractItemView* teamTypes,
                           QWidget* parent)
    : RecordPanel(kit, doc, kTriggerNotInFile, parent), teamTypes_(teamTypes) {
    createControls();
    holdFrame(this, FraRoot);
}

void TriggerPanel::compact() {
    windowlayout::compactFrame(FraRoot);
    windowlayout::fitDropDowns({CboCountry, CboTech, CboKey, CboUnit, CboUnitC, CboWay, CboBase,
                                CboMin, CboMax, CboOwner});
}

QString TriggerPanel::key() const {
    return TxtRoot->text();
}
void TriggerPanel::setKey(const QString& key) {
    TxtRoot->setText(key);
}

void TriggerPanel::setUnitChoices(const QStringList& ids, UnitChoices names) {
    replaceItemsKeepingText(CboUnit, ids);
    unitNames_->setChoices(std::move(names));
}

void TriggerPanel::createControls() {
    FraRoot = new QGroupBox(QStringLiteral("AI触发"));
    FraRoot->setObjectName(QStringLiteral("FraRoot"));
    QWidget* f = FraRoot;

    TxtRoot = lineEdit(QStringLiteral("TxtRoot"), QString(), f);
    TxtRoot->setEnabled(false); // the key is set only by selecting a trigger
    CmdRootCopy = button(QStringLiteral("CmdRootCopy"), QStringLiteral("复制"), f);
    CmdRootClone = button(QStringLiteral("CmdRootClone"), QStringLiteral("复制整套"), f);
    CmdRootClone->setToolTip(QStringLiteral("复制此触发及其作战小队、特遣小队和脚本"));
    CmdSaveRoot = button(QStringLiteral("CmdSaveRoot"), QStringLiteral("保存触发"), f);

    CboCountry = FieldHelpers::makeCombo(QStringLiteral("CboCountry"), f);
    CboCountry->setEditText(QStringLiteral("<all>"));
    CboTech = FieldHelpers::makeCombo(QStringLiteral("CboTech"), f);
    CboTech->setEditText(QStringLiteral("10"));
    CboKey = FieldHelpers::makeCombo(QStringLiteral("CboKey"), f);
    CboKey->setEditText(QStringLiteral("0"));
    TxtKey = lineEdit(QStringLiteral("TxtKey"), QString(), f);
    CboUnit = FieldHelpers::makeCombo(QStringLiteral("CboUnit"), f);
    replaceItemsKeepingText(CboUnit, {}); // the model the search follows, filled at each opening
    CboUnit->setEditText(QStringLiteral("<none>"));
    searchInside(CboUnit, [this](const QString& id) { return kit_.catalogues().displayName(id); });
    CmdCE = button(QStringLiteral("CmdCE"), QStringLiteral(">"), f);
    CmdCE->setMaximumWidth(32);
    CboUnitC = FieldHelpers::makeCombo(QStringLiteral("CboUnitC"), f);
    CboUnitC->setEditText(QStringLiteral("无"));
    unitNames_ = std::make_unique<UnitChoiceBox>(CboUnitC);
    TxtKeyNum = lineEdit(QStringLiteral("TxtKeyNum"), QStringLiteral("00"), f);
    CboWay = FieldHelpers::makeCombo(QStringLiteral("CboWay"), f);
    CboWay->setEditText(QStringLiteral("0"));
    TxtWay = lineEdit(QStringLiteral("TxtWay"), QString(), f);
    CboBase = FieldHelpers::makeCombo(QStringLiteral("CboBase"), f);
    CboBase->setEditText(QStringLiteral("70"));
    CboMin = FieldHelpers::makeCombo(QStringLiteral("CboMin"), f);
    CboMin->setEditText(QStringLiteral("10"));
    CboMax = FieldHelpers::makeCombo(QStringLiteral("CboMax"), f);
    CboMax->setEditText(QStringLiteral("70"));
    CboOwner = FieldHelpers::makeCombo(QStringLiteral("CboOwner"), f);
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
    // A trigger names two team types at most: two rows, no more.
    LstTeam->setFixedHeight(2 * (LstTeam->fontMetrics().height() + 4) + 2 * LstTeam->frameWidth());
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
    row({{TxtRoot, 1}, {CmdRootCopy, 0}, {CmdRootClone, 0}, {CmdSaveRoot, 0}});
    row({{label(QStringLiteral("国家："), f), 0},
         {CboCountry, 3},
         {label(QStringLiteral("科技等级："), f), 0},
         {CboTech, 1}});
    row({{label(QStringLiteral("触发条件："), f), 0}, {CboKey, 1}, {TxtKey, 4}});
    row({{label(QStringLiteral("条件单位名："), f), 0}, {CboUnit, 2}, {CmdCE, 0}, {CboUnitC, 2}});
    row({{label(QStringLiteral("触发条件衡量的数量(两位):"), f), 0},
         {TxtKeyNum, 1},
         {label(QStringLiteral("触发条件算法"), f), 0},
         {CboWay, 1},
         {TxtWay, 2}});
    row({{label(QStringLiteral("基础分量："), f), 0},
         {CboBase, 1},
         {label(QStringLiteral("分量下限："), f), 0},
         {CboMin, 1},
         {label(QStringLiteral("分量上限："), f), 0},
         {CboMax, 1}});
    row({{label(QStringLiteral("所属方："), f), 0}, {CboOwner, 1}, {TxtOwner, 2}, {ChkRnd, 0}});
    row({{ChkLow, 1}, {ChkMid, 1}, {ChkHigh, 1}});
    auto* teams = new QHBoxLayout;
    teams->addWidget(LstTeam, 1);
    teams->addWidget(CmdTeam, 0, Qt::AlignTop);
    teams->addWidget(CmdTeamDelete, 0, Qt::AlignTop);
    rows->addLayout(teams);
    rows->addStretch(1); // spare height goes below the fields, not between them

    searchInside(CboCountry);
    addItemsKeepingText(CboCountry, {QStringLiteral("<all>"), QStringLiteral("Russians"),
                                     QStringLiteral("Confederation"), QStringLiteral("Africans"),
                                     QStringLiteral("Arabs"), QStringLiteral("YuriCountry"),
                                     QStringLiteral("British"), QStringLiteral("French"),
                                     QStringLiteral("Germans"), QStringLiteral("Americans"),
                                     QStringLiteral("Alliance")});
    addItemsKeepingText(CboTech, numberRange(1, 10));
    addItemsKeepingText(CboKey, QStringList{QStringLiteral("-1")} + numberRange(0, 7));
    addItemsKeepingText(CboWay, numberRange(0, 5));
    const QStringList weights{QStringLiteral("5000"), QStringLiteral("500"), QStringLiteral("70"),
                              QStringLiteral("50"),   QStringLiteral("40"),  QStringLiteral("20"),
                              QStringLiteral("10")};
    addItemsKeepingText(CboBase, weights);
    addItemsKeepingText(CboMin, weights);
    addItemsKeepingText(CboMax, weights);
    addItemsKeepingText(CboOwner, numberRange(0, 6));
}

void TriggerPanel::connectHandlers() {
    connect(CmdTeam, &QPushButton::clicked, this, &TriggerPanel::CmdTeam_Click);
    connect(CmdTeamDelete, &QPushButton::clicked, this, &TriggerPanel::CmdTeamDelete_Click);
    connect(CmdSaveRoot, &QPushButton::clicked, this, &TriggerPanel::CmdSaveRoot_Click);
    connect(CmdRootCopy, &QPushButton::clicked, this, &TriggerPanel::CmdRootCopy_Click);
    connect(CmdCE, &QPushButton::clicked, this, &TriggerPanel::CmdCE_Click);

    connect(CboTech, &QComboBox::editTextChanged, this, &TriggerPanel::CboTech_Change);
    connect(CboKey, &QComboBox::editTextChanged, this, &TriggerPanel::CboKey_Change);
    connect(CboKey, &QComboBox::activated, this, &TriggerPanel::CboKey_Click);
    connect(CboUnitC, &QComboBox::editTextChanged, this, &TriggerPanel::CboUnitC_Change);
    connect(CboUnitC, &QComboBox::activated, this, &TriggerPanel::CboUnitC_Click);
    connect(TxtKeyNum, &QLineEdit::textChanged, this, &TriggerPanel::TxtKeyNum_Change);
    connect(CboWay, &QComboBox::editTextChanged, this, &TriggerPanel::CboWay_Change);
    connect(CboWay, &QComboBox::activated, this, &TriggerPanel::CboWay_Click);
    connect(CboOwner, &QComboBox::editTextChanged, this, &TriggerPanel::CboOwner_Change);
    connect(CboOwner, &QComboBox::activated, this, &TriggerPanel::CboOwner_Click);
    kit_.focus().onFocusOut(CboOwner, [this] { CboOwner_LostFocus(); });
    kit_.focus().onFocusOut(CboBase, [this] { CboBase_LostFocus(); });
    kit_.focus().onFocusOut(CboMin, [this] { CboMin_LostFocus(); });
    kit_.focus().onFocusOut(CboMax, [this] { CboMax_LostFocus(); });

    const std::pair<QWidget*, QString> focusHints[] = {
        {CboCountry,
         QStringLiteral(
             "指定只有特定一个国家的电脑玩家才允许激活该触发.英语不错吧？！我就不翻译了")},
        {CboTech,
         QStringLiteral("如果电脑玩家的科技等级低于该水平那么这个AI触发就不会被激活."
                        "在原版遭遇战中这个是没有意义的，因为所有玩家的科技级别都是上限10，但是在任"
                        "务地图以及用NP开启了调节科技等级功能的Mod里，这个就有必要认真考虑了")},
        {CboKey,
         QStringLiteral(
             "-1（无条件）0（目标敌方单位满足条件)1(本方单位满足条件)2(敌方电力黄)3(敌方电力红)4("
             "目标敌方金钱大于或等于)5(本方铁幕装置就绪)6(本方超时空传送就绪)7(平民单位满足条件)")},
        {CboUnit, QStringLiteral("指定在触发条件里评估什么单位")},
        {TxtKeyNum,
         QStringLiteral(
             "触发条件中衡量的数量为多少.其中作战单位评估其数量，金钱则除以1000后和该数值比较.")},
        {CboWay,
         QStringLiteral("控制触发条件用何种算法来比较.可以为0-5的任何一个值，这六个值的意思分别是0="
                        "小于、1=小于或等于、2=等于、3=大于或等于、4=大于、5=不等于.")},
        {CboBase, QStringLiteral("指定该触发在没有被执行时候的分量。可填 0 "
                                 "或任意正整数；下拉列表是原版最常用的七个值")},
        {CboMin, QStringLiteral("指定该触发反复失败的所能减小到的分量下限")},
        {CboMax, QStringLiteral("指定该触发反复成功执行的所能增加到的分量上限")},
        {CboOwner,
         QStringLiteral("哪个作战方可以启动该AI触发."
                        "1代表盟军，2代表苏联，3代表尤里，4、5、6分别代表第四、五、六阵营")},
    };
    for (const auto& [w, text] : focusHints)
        kit_.focus().onFocusIn(w, [this, text = text] { kit_.messages().hint(text); });

    const std::pair<QCheckBox*, QString> clickHints[] = {
        {ChkLow, QStringLiteral("是否允许简单的敌人启动该AI触发")},
        {ChkMid, QStringLiteral("是否允许中等的敌人启动该AI触发")},
        {ChkHigh, QStringLiteral("是否允许冷酷的敌人启动该AI触发")},
        {ChkRnd, QStringLiteral("该触发在遭遇战中是否允许启动，疑似无效")},
    };
    for (const auto& [box, text] : clickHints)
        connect(box, &QCheckBox::toggled, this,
                [this, text = text](bool) { kit_.messages().hint(text); });

    watchFrames({{FraRoot, [this] { return fields() != loaded_; }}});
}

QStringList TriggerPanel::countryChoices() const {
    QStringList out;
    for (int i = 0; i < CboCountry->count(); ++i)
        out << CboCountry->itemText(i);
    return out;
}

// ---------------------------------------------------------------- load and save

void TriggerPanel::setFields(const records::TriggerFields& f) {
    // Values as the file has them are never refused while they load.
    const QScopedValueRollback<bool> loading(loading_, true);
    LstTeam->clear();
    LstTeam->addItems(f.teams);
    CboCountry->setEditText(f.country);
    CboTech->setEditText(f.tech);
    CboKey->setEditText(f.condition);
    CboUnit->setEditText(f.unit);
    TxtKeyNum->setText(f.amount);
    CboWay->setEditText(f.way);
    CboBase->setEditText(f.base);
    CboMin->setEditText(f.min);
    CboMax->setEditText(f.max);
    CboOwner->setEditText(f.owner);
    ChkLow->setChecked(f.low);
    ChkMid->setChecked(f.mid);
    ChkHigh->setChecked(f.high);
}

records::TriggerFields TriggerPanel::fields() const {
    records::TriggerFields f;
    for (int i = 0; i < LstTeam->count(); ++i)
        f.teams << LstTeam->item(i)->text();
    f.country = CboCountry->currentText();
    f.tech = CboTech->currentText();
    f.condition = CboKey->currentText();
    f.unit = CboUnit->currentText();
    f.amount = TxtKeyNum->text();
    f.way = CboWay->currentText();
    f.base = CboBase->currentText();
    f.min = CboMin->currentText();
    f.max = CboMax->currentText();
    f.owner = CboOwner->currentText();
    f.low = ChkLow->isChecked();
    f.mid = ChkMid->isChecked();
    f.high = ChkHigh->isChecked();
    return f;
}

void TriggerPanel::LoadTrigger(const QString& key) {
    const std::shared_ptr<const RulesIndex> rules = doc_.index();
    if (!rules)
        return;
    put(records::LoadTrigger(*rules, key));
}

void TriggerPanel::put(const records::TriggerRecord& r) {
    setFields(r.fields);
    setLoaded(r.found, r.decodes);
    captureBaseline();
}

void TriggerPanel::show(const QString& key) {
    const std::shared_ptr<const RulesIndex> rules = doc_.index();
    // Read once: whether it is there, and its values.
    const records::TriggerRecord r =
        rules ? records::LoadTrigger(*rules, key) : records::TriggerRecord{};
    if (!r.found) {
        // No values of another record: the panel is empty, and says why.
        clear();
        setKey(key);
        setAbsence(key.isEmpty() ? Absence::NoRecord : Absence::NotInFile);
        return;
    }
    setKey(key);
    put(r);
    setAbsence(Absence::None);
    CmdCE_Click();
}

void TriggerPanel::clear() {
    setKey(QString());
    restoreStart();
    setLoaded(false, true);
    setAbsence(Absence::None);
    captureBaseline();
}

void TriggerPanel::captureBaseline() {
    loaded_ = fields();
    refreshEdited();
}

RecordPanel::Saved TriggerPanel::save(SaveMode mode) {
    const QString key = TxtRoot->text();
    if (!saveable(key))
        return Saved::Nothing;
    if (const Saved s = checkLoaded(mode); s != Saved::Done)
        return s;
    const records::RecordSave saved = records::SaveTrigger(doc_, key, loaded_, fields());
    // The list shows what the line holds: a slot without a team reads "<none>".
    if (!saved.refused)
        while (LstTeam->count() < 2)
            LstTeam->addItem(QStringLiteral("<none>"));
    return finishSave(mode, saved, kTriggerSaved);
}

// ---------------------------------------------------------------- list operations

void TriggerPanel::CmdSaveRoot_Click() {
    save(SaveMode::Button);
}

void TriggerPanel::CmdRootCopy_Click() {
    kit_.messages().dialogs().setClipboardText(TxtRoot->text());
}

// ---------------------------------------------------------------- field editors

void TriggerPanel::CboTech_Change() {
    // Tech levels 0 to 10: the game's own triggers use 0. A text must start with a
    // number (after spaces), so letters are still refused.
    if (!loading_ && !rules::triggerTechAccepted(CboTech->currentText())) {
        kit_.messages().msg(kBadInputShort, kErrorTitle, MsgIcon::Information);
        CboTech->setEditText(QString());
    }
}

void TriggerPanel::CboKey_Change() {
    const QString text = CboKey->currentText();
    // "-" is where typing "-1" (no condition) begins.
    if ((text.isEmpty() || text == QLatin1String("-")) && !loading_)
        return;
    TxtKey->clear();
    TxtKey->setText(rules::conditionDescription(text));
    if (TxtKey->text().isEmpty() && !loading_)
        kit_.messages().msg(kBadInput);
}

void TriggerPanel::CboKey_Click() {
    TxtKey->setText(rules::conditionDescription(CboKey->currentText()));
}

void TriggerPanel::CboUnitC_Change() {
    // An empty name (">" for a unit the table lacks) keeps the condition unit.
    // A name that several types share sets nothing: the status bar asks for an entry with
    // its ID.
    if (CboUnitC->currentText().isEmpty())
        return;
    if (const std::optional<QString> id = unitNames_->chosenId(kit_, CboUnit->currentText()))
        CboUnit->setEditText(*id);
}

void TriggerPanel::CboUnitC_Click() {
    CboUnitC_Change();
}

void TriggerPanel::CmdCE_Click() {
    CboUnitC->setEditText(unitNames_->labelOf(kit_, CboUnit->currentText()));
}

void TriggerPanel::TxtKeyNum_Change() {
    // The amount is a byte: up to three digits, at most 255.
    const QString text = TxtKeyNum->text();
    if (rules::amountTooLarge(text)) {
        kit_.messages().msg(kBadInputShort);
        TxtKeyNum->setText(rules::amountKept(text));
        return;
    }
    kit_.fields().digitFilter(TxtKeyNum, kBadInput);
}

void TriggerPanel::CboWay_Change() {
    const QString text = CboWay->currentText();
    if (loading_) {
        TxtWay->setText(rules::comparisonDescription(text));
        return;
    }
    if (!rules::comparisonAccepted(text)) {
        kit_.messages().msg(kBadInput, kErrorTitle, MsgIcon::Information);
        CboWay->setEditText(QString());
        return;
    }
    CboWay_Click();
}

void TriggerPanel::CboWay_Click() {
    const QString d = rules::comparisonDescription(CboWay->currentText());
    if (!d.isEmpty())
        TxtWay->setText(d);
}

void TriggerPanel::CboOwner_Change() {
    const QString text = CboOwner->currentText();
    if (loading_) {
        // A side the box cannot describe stays as the file has it, and is written back only
        // when the user changes it.
        const QString d = rules::sideDescription(text);
        TxtOwner->setText(d);
        if (d.isEmpty())
            kit_.messages().status(QStringLiteral("触发 %1 的所属方 %2 不在 0 到 6 之间")
                                       .arg(rules::triggerId(TxtRoot->text()), text));
        return;
    }
    if (!rules::sideAccepted(text)) {
        kit_.messages().msg(kBadInput, kErrorTitle, MsgIcon::Information);
        CboOwner->setEditText(QString());
        return;
    }
    CboOwner_Click();
}

void TriggerPanel::CmdTeam_Click() {
    const std::optional<QString> id = registrylists::selectedEntry(teamTypes_);
    if (!id)
        return;
    // A "<none>" entry is an empty slot: the team type takes the first one.
    for (int i = 0; i < LstTeam->count(); ++i)
        if (LstTeam->item(i)->text() == QStringLiteral("<none>")) {
            LstTeam->item(i)->setText(*id);
            return;
        }
    if (LstTeam->count() < 2)
        LstTeam->addItem(*id);
}

void TriggerPanel::CmdTeamDelete_Click() {
    QListWidgetItem* item = LstTeam->currentItem();
    if (!item || !item->isSelected())
        return;
    if (kit_.messages().msg(kConfirmDelete, kQuestionTitle, MsgIcon::Information,
                            MsgButtons::YesNo) == MsgAnswer::No)
        return;
    delete LstTeam->takeItem(LstTeam->row(item));
    kit_.focus().clearSelectionQuietly(LstTeam); // no neighbour takes the deleted entry's place
}

void TriggerPanel::CboOwner_Click() {
    const QString d = rules::sideDescription(CboOwner->currentText());
    if (!d.isEmpty())
        TxtOwner->setText(d);
}

void TriggerPanel::CboOwner_LostFocus() {
    // Only what the user typed is checked: a loaded value passes through untouched.
    if (!kit_.focus().userEditedSinceFocus(CboOwner))
        return;
    if (!rules::sideAccepted(CboOwner->currentText())) {
        kit_.messages().msg(kBadInput, kErrorTitle, MsgIcon::Information);
        CboOwner->setEditText(QString());
    }
}

void TriggerPanel::CboBase_LostFocus() {
    checkWeightOnLeave(CboBase);
}
void TriggerPanel::CboMin_LostFocus() {
    checkWeightOnLeave(CboMin);
}
void TriggerPanel::CboMax_LostFocus() {
    checkWeightOnLeave(CboMax);
}

void TriggerPanel::checkWeightOnLeave(QComboBox* box) {
    // Real files hold weights such as 600 or 1000: a loaded value is never erased.
    if (!kit_.focus().userEditedSinceFocus(box))
        return;
    const QString text = box->currentText();
    if (!text.isEmpty() && !rules::weightAccepted(text)) {
        // Emptied before the message takes the focus: leaving the box again for the
        // message finds nothing more to refuse.
        box->setEditText(QString());
        kit_.messages().msg(kBadInput, kErrorTitle, MsgIcon::Information);
    }
}

} // namespace tarvok
