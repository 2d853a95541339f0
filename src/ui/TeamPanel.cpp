#include "ui/TeamPanel.h"

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
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace tarvok {
namespace {

namespace tt = teamtype;

// The 21 flag boxes: the key each one writes, its caption and the hint its click shows.
struct FlagBox {
    int key;
    const char* objectName;
    const char* caption;
    const char* hintText;
};

const FlagBox kFlagBoxes[] = {
    {tt::Aggressive, "ChkAggressive", "侵略小队",
     "侵略性的，电脑在防御达到一定数量之后再开始建造该小队"},
    {tt::Annoyance, "ChkAnnoyance", "烦恼效果", "烦恼效果，作用不明"},
    {tt::AreTeamMembersRecruitable, "ChkAreTeamMembersRecruitable", "小队重组",
     "小队成员是否允许重组"},
    {tt::Autocreate, "ChkAutocreate", "自动建造", "自动建造……"},
    {tt::AvoidThreats, "ChkAvoidThreats", "规避威胁",
     "规避威胁，小队成员在移动的过程中将会试图规避途中可能遭遇的敌方单位"},
    {tt::Droppod, "ChkDroppod", "使用空降舱", "使用空降舱进入战区，作用不明"},
    {tt::Full, "ChkFull", "运载工具内部",
     "创建小队成员的时候，如果小队中有运载工具，其他成员是否应该位于运载工具的内部，作用不明"},
    {tt::GuardSlower, "ChkGuardSlower", "降低反应速度", "降低反应速度，作用不明"},
    {tt::IonImmune, "ChkIonImmune", "离子风暴免疫", "离子风暴免疫，作用不明"},
    {tt::IsBaseDefense, "ChkIsBaseDefense", "基地防御小队", "基地防御小队"},
    {tt::Loadable, "ChkLoadable", "可装载", "可装载，作用不明"},
    {tt::LooseRecruit, "ChkLooseRecruit", "解散新兵", "解散新兵，作用不明"},
    {tt::OnlyTargetHouseEnemy, "ChkOnlyTargetHouseEnemy", "只攻击敌方", "只攻击敌方单位，作用不明"},
    {tt::OnTransOnly, "ChkOnTransOnly", "只能运输", "只能运输，作用不明"},
    {tt::Prebuild, "ChkPrebuild", "预先建造", "预先建造，作用不明"},
    {tt::Recruiter, "ChkRecruiter", "强制重组",
     "强制重组优先级较低的小队的成员，如果它们是可以重组的"},
    {tt::Reinforce, "ChkReinforce", "增援部队", "增援部队，作用不明"},
    {tt::Suicide, "ChkSuicide", "自毁攻击", "自毁式攻击，受到攻击不允许还击"},
    {tt::TransportsReturnOnUnload, "ChkTransportsReturnOnUnload", "运载工具返回",
     "运载工具卸载后返回基地"},
    {tt::UseTransportOrigin, "ChkUseTransportOrigin", "原始运载工具",
     "使用原始的运载工具,作用不明"},
    {tt::Whiner, "ChkWhiner", "哀叫效果", "哀叫效果，作用不明"},
};

const FlagBox* flagOfKey(int key) {
    for (const FlagBox& f : kFlagBoxes) {
        if (f.key == key)
            return &f;
    }
    return nullptr;
}

// Flag boxes as the two frames show them, in their order.
const int kTeamFrameFlags[] = {
    tt::IsBaseDefense,
    tt::AreTeamMembersRecruitable,
    tt::TransportsReturnOnUnload,
    tt::AvoidThreats,
    tt::Suicide,
    tt::Aggressive,
    tt::Autocreate,
    tt::Recruiter,
};
const int kFig1Flags[] = {
    tt::OnlyTargetHouseEnemy,
    tt::IonImmune,
    tt::OnTransOnly,
    tt::Droppod,
    tt::Prebuild,
    tt::Full,
    tt::Loadable,
    tt::LooseRecruit,
    tt::Whiner,
    tt::UseTransportOrigin,
    tt::Reinforce,
    tt::GuardSlower,
    tt::Annoyance,
};

// Entry 0 of LstSpeAdd / LstScrAdd: the team type's task force and script.
QString entry0(const QListWidget* list) {
    return list->count() > 0 ? list->item(0)->text() : QString();
}

void setEntry0(QListWidget* list, const QString& text) {
    if (list->count() == 0)
        list->addItem(text);
    else
        list->item(0)->setText(text);
}

// A list box that shows its single entry in one row.
void makeSingleEntryList(QListWidget* list) {
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int h = list->fontMetrics().height() + 2 * list->frameWidth() + 6;
    list->setFixedHeight(h);
}

} // namespace

// ---------------------------------------------------------------- building the frames

TeamPanel::TeamPanel(PanelKit& kit, RulesDocument& doc, QAbstractItemView* taskForces,
                     QAbstractItemView* scripts, QWidget* parent)
    : RecordPanel(kit, doc, messages::kTeamTypeNotInFile, parent), taskForces_(taskForces),
      scripts_(scripts) {
    createControls();
    // The team type's frame, and beside it a narrow column: the rarely used flags above,
    // the save at the foot.
    auto* column = new QVBoxLayout;
    column->addWidget(FraFig1);
    column->addStretch(1);
    column->addWidget(CmdSaveFig);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FraTeam, 4);
    layout->addLayout(column, 2);
}

void TeamPanel::compact() {
    windowlayout::compactFrame(FraTeam);
    windowlayout::compactFrame(FraFig1);
    windowlayout::fitDropDowns({CboAction, CboTeamTech});
}

QString TeamPanel::id() const {
    return TxtTeam->text();
}
void TeamPanel::setId(const QString& id) {
    TxtTeam->setText(id);
}
QString TeamPanel::name() const {
    return TxtTeamName->text();
}
QString TeamPanel::taskForce() const {
    return entry0(LstSpeAdd);
}
QString TeamPanel::script() const {
    return entry0(LstScrAdd);
}

void TeamPanel::createControls() {
    FraTeam = new QGroupBox(QStringLiteral("作战小队"));
    FraTeam->setObjectName(QStringLiteral("FraTeam"));

    auto makeCheck = [this](int key, QWidget* parent) {
        const FlagBox* f = flagOfKey(key);
        auto* box = named(new QCheckBox(QString::fromUtf8(f->caption), parent),
                          QLatin1String(f->objectName));
        box->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        flags_[static_cast<size_t>(key)] = box;
        return box;
    };

    ChkAble = named(new QCheckBox(QStringLiteral("作战小队(作用不明)可用"), FraTeam),
                    QStringLiteral("ChkAble"));
    ChkAble->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    for (int key : kTeamFrameFlags)
        makeCheck(key, FraTeam);

    TxtTeam = named(new QLineEdit(FraTeam), QStringLiteral("TxtTeam"));
    TxtTeam->setEnabled(false); // set only by the selections
    TxtTeamName = named(new QLineEdit(FraTeam), QStringLiteral("TxtTeamName"));
    TxtPriority = named(new QLineEdit(QStringLiteral("5"), FraTeam), QStringLiteral("TxtPriority"));
    TxtTeamCount =
        named(new QLineEdit(QStringLiteral("1"), FraTeam), QStringLiteral("TxtTeamCount"));
    TxtAction = named(new QLineEdit(QStringLiteral("自动"), FraTeam), QStringLiteral("TxtAction"));
    TxtAction->setReadOnly(true); // a description, nothing reads it
    CboAction = FieldHelpers::makeCombo(QStringLiteral("CboAction"), FraTeam);
    CboAction->setEditText(QStringLiteral("0"));
    CmdBaseChange = named(new QPushButton(QStringLiteral("更改脚本"), FraTeam),
                          QStringLiteral("CmdBaseChange"));
    CmdFigChange = named(new QPushButton(QStringLiteral("更改特遣小队"), FraTeam),
                         QStringLiteral("CmdFigChange"));
    CmdTeamCopy =
        named(new QPushButton(QStringLiteral("复制"), FraTeam), QStringLiteral("CmdTeamCopy"));
    CmdTeamClone =
        named(new QPushButton(QStringLiteral("复制整套"), FraTeam), QStringLiteral("CmdTeamClone"));
    CmdTeamClone->setToolTip(QStringLiteral("复制此作战小队及其特遣小队和脚本"));
    LstSpeAdd = named(new QListWidget(FraTeam), QStringLiteral("LstSpeAdd"));
    makeSingleEntryList(LstSpeAdd);
    LstScrAdd = named(new QListWidget(FraTeam), QStringLiteral("LstScrAdd"));
    makeSingleEntryList(LstScrAdd);

    auto* g = new QGridLayout(FraTeam);
    g->addWidget(TxtTeam, 0, 0, 1, 2);
    g->addWidget(CmdTeamCopy, 0, 2);
    g->addWidget(CmdTeamClone, 0, 3);
    g->addWidget(label(QStringLiteral("名称(注释)"), FraTeam), 1, 0);
    g->addWidget(TxtTeamName, 1, 1, 1, 3);
    g->addWidget(label(QStringLiteral("优先级:"), FraTeam), 2, 0);
    g->addWidget(TxtPriority, 2, 1);
    g->addWidget(label(QStringLiteral("小队个数:"), FraTeam), 2, 2);
    g->addWidget(TxtTeamCount, 2, 3);
    g->addWidget(label(QStringLiteral("遭心灵控制后的动作："), FraTeam), 3, 0);
    g->addWidget(CboAction, 3, 1);
    g->addWidget(TxtAction, 3, 2, 1, 2);
    g->addWidget(label(QStringLiteral("特遣小队:"), FraTeam), 4, 0);
    g->addWidget(LstSpeAdd, 4, 1, 1, 2);
    g->addWidget(CmdFigChange, 4, 3);
    g->addWidget(label(QStringLiteral("脚本:"), FraTeam), 5, 0);
    g->addWidget(LstScrAdd, 5, 1, 1, 2);
    g->addWidget(CmdBaseChange, 5, 3);
    // The flags in a grid of their own, three a row and ChkAble after them, so that
    // they do not widen the columns of the fields above.
    auto* flagGrid = new QGridLayout;
    int i = 0;
    for (int key : kTeamFrameFlags) {
        flagGrid->addWidget(flag(key), i / 3, i % 3);
        ++i;
    }
    flagGrid->addWidget(ChkAble, 2, 2, 1, 2);
    g->addLayout(flagGrid, 6, 0, 1, 4);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    FraFig1 = new QGroupBox(QStringLiteral("作战小队(作用不明)"));
    FraFig1->setObjectName(QStringLiteral("FraFig1"));
    CboTeamTech = FieldHelpers::makeCombo(QStringLiteral("CboTeamTech"), FraFig1);
    CboTeamTech->setEditText(QStringLiteral("0"));
    for (int key : kFig1Flags)
        makeCheck(key, FraFig1);
    auto* f = new QGridLayout(FraFig1);
    f->addWidget(label(QStringLiteral("以下不建议使用，不建议改动!"), FraFig1), 0, 0, 1, 2);
    f->addWidget(label(QStringLiteral("科技等级:"), FraFig1), 1, 0);
    f->addWidget(CboTeamTech, 1, 1);
    i = 0;
    for (int key : kFig1Flags) {
        f->addWidget(flag(key), 2 + i / 2, i % 2); // two columns: the frame stands narrow
        ++i;
    }
    FraFig1->setEnabled(false); // until ChkAble is ticked

    // The flags a new team type starts with.
    for (int key : {tt::Autocreate, tt::AvoidThreats, tt::TransportsReturnOnUnload, tt::Whiner})
        flag(key)->setChecked(true);

    CmdSaveFig =
        named(new QPushButton(QStringLiteral("保存作战小队")), QStringLiteral("CmdSaveFig"));

    LstSpeAdd->addItem(QString());
    LstScrAdd->addItem(QString());
    addItemsKeepingText(CboTeamTech, numberRange(1, 10));
    addItemsKeepingText(CboAction, numberRange(0, 5));
}

void TeamPanel::connectHandlers() {
    connect(CmdSaveFig, &QPushButton::clicked, this, &TeamPanel::CmdSaveFig_Click);
    connect(CmdTeamCopy, &QPushButton::clicked, this, &TeamPanel::CmdTeamCopy_Click);
    connect(CmdFigChange, &QPushButton::clicked, this, &TeamPanel::CmdFigChange_Click);
    connect(CmdBaseChange, &QPushButton::clicked, this, &TeamPanel::CmdBaseChange_Click);
    connect(ChkAble, &QCheckBox::toggled, this, &TeamPanel::ChkAble_Click);
    for (const FlagBox& f : kFlagBoxes) {
        const QString text = QString::fromUtf8(f.hintText);
        connect(flag(f.key), &QCheckBox::toggled, this,
                [this, text](bool) { kit_.messages().hint(text); });
    }

    connect(TxtPriority, &QLineEdit::textChanged, this, &TeamPanel::TxtPriority_Change);
    connect(TxtTeamCount, &QLineEdit::textChanged, this, &TeamPanel::TxtTeamCount_Change);
    connect(CboTeamTech, &QComboBox::editTextChanged, this, &TeamPanel::CboTeamTech_Change);
    connect(CboAction, &QComboBox::editTextChanged, this, &TeamPanel::CboAction_Change);
    connect(CboAction, &QComboBox::activated, this, &TeamPanel::CboAction_Click);

    const std::pair<QWidget*, QString> focusHints[] = {
        {TxtTeamName, QStringLiteral("名称(注释用),好像可以填写汉字，但还是填写英文保险")},
        {TxtPriority, QStringLiteral("优先级.填写数值，建议不大于50")},
        {TxtTeamCount,
         QStringLiteral("同一作战方至多允许同时存在的该类型小队个数.填写数值，建议不大于3")},
        {CboTeamTech, QStringLiteral("科技等级，疑似无效")},
        {CboAction, QStringLiteral("遭心灵控制后的动作，0=自动，1=加入控制者作战小队，2=送入部"
                                   "队回收厂，3=送入生化反应炉，4=搜索敌人，5=什么也不做")},
    };
    for (const auto& [w, text] : focusHints)
        kit_.focus().onFocusIn(w, [this, text = text] { kit_.messages().hint(text); });

    // Each frame is marked for the keys it shows.
    const auto differs = [this](bool fig1) {
        for (int k = 0; k < tt::kKeyCount; ++k) {
            const bool onFig1 =
                k == tt::TechLevel ||
                std::find(std::begin(kFig1Flags), std::end(kFig1Flags), k) != std::end(kFig1Flags);
            if (tt::kKeys[k].kind != tt::KeyKind::Fixed && onFig1 == fig1 &&
                valueOf(k) != loaded_[k])
                return true;
        }
        return false;
    };
    watchFrames({{FraTeam, [differs] { return differs(false); }},
                 {FraFig1, [differs] { return differs(true); }}});
}

// ---------------------------------------------------------------- controls and values

// A text of the team controls: its key's control gets it as typing would set it.
void TeamPanel::setTextControl(int key, const QString& text) {
    switch (key) {
    case tt::Name:
        TxtTeamName->setText(text);
        break;
    case tt::MindControlDecision:
        CboAction->setEditText(text);
        break;
    case tt::Priority:
        TxtPriority->setText(text);
        break;
    case tt::Max:
        TxtTeamCount->setText(text);
        break;
    case tt::TechLevel:
        CboTeamTech->setEditText(text);
        break;
    case tt::Script:
        setEntry0(LstScrAdd, text);
        break;
    case tt::TaskForce:
        setEntry0(LstSpeAdd, text);
        break;
    default:
        break;
    }
}

QString TeamPanel::textOfControl(int key) const {
    switch (key) {
    case tt::Name:
        return TxtTeamName->text();
    case tt::MindControlDecision:
        return CboAction->currentText();
    case tt::Priority:
        return TxtPriority->text();
    case tt::Max:
        return TxtTeamCount->text();
    case tt::TechLevel:
        return CboTeamTech->currentText();
    case tt::Script:
        return entry0(LstScrAdd);
    case tt::TaskForce:
        return entry0(LstSpeAdd);
    default:
        return QString();
    }
}

void TeamPanel::setFields(const records::TeamFields& f) {
    for (int k = 0; k < tt::kKeyCount; ++k) {
        switch (tt::kKeys[k].kind) {
        case tt::KeyKind::Fixed:
            break;
        case tt::KeyKind::Flag:
            flag(k)->setChecked(f[k] == QStringLiteral("yes"));
            break;
        case tt::KeyKind::Text:
            setTextControl(k, f[k]);
            break;
        }
    }
}

records::TeamFields TeamPanel::fields() const {
    records::TeamFields f;
    for (int k = 0; k < tt::kKeyCount; ++k)
        if (tt::kKeys[k].kind != tt::KeyKind::Fixed)
            f[k] = valueOf(k);
    return f;
}

// ---------------------------------------------------------------- load and save

void TeamPanel::LoadTeamType(const QString& id) {
    const std::shared_ptr<const RulesIndex> rules = doc_.index();
    if (!rules)
        return;
    put(records::LoadTeamType(*rules, id));
}

void TeamPanel::put(const records::TeamTypeRecord& r) {
    setFields(r.fields);
    setLoaded(r.found, r.decodes);
    captureBaseline();
}

void TeamPanel::show(const QString& id) {
    const std::shared_ptr<const RulesIndex> rules = doc_.index();
    // Read once: whether it is there, and its values.
    const records::TeamTypeRecord r =
        id.isEmpty() || !rules ? records::TeamTypeRecord{} : records::LoadTeamType(*rules, id);
    if (!r.found) {
        // No values of another record: the panel is empty, and says why.
        clear();
        setId(id);
        setAbsence(id.isEmpty() ? Absence::NoRecord : Absence::NotInFile);
        return;
    }
    setId(id);
    put(r);
    setAbsence(Absence::None);
    // Its task force and script: the one entry of each list.
    kit_.focus().selectRowQuietly(LstSpeAdd, 0);
    kit_.focus().selectRowQuietly(LstScrAdd, 0);
}

void TeamPanel::clear() {
    setId(QString());
    restoreStart();
    ChkAble_Click();
    setLoaded(false, true);
    setAbsence(Absence::None);
    captureBaseline();
}

QString TeamPanel::valueOf(int key) const {
    if (tt::kKeys[key].kind == tt::KeyKind::Flag)
        return flag(key)->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
    return textOfControl(key);
}

void TeamPanel::captureBaseline() {
    loaded_ = fields();
    refreshEdited();
}

RecordPanel::Saved TeamPanel::save(SaveMode mode) {
    const QString id = TxtTeam->text();
    if (!saveable(id))
        return Saved::Nothing;
    if (const Saved s = checkLoaded(mode); s != Saved::Done)
        return s;
    return finishSave(mode, records::SaveTeamType(doc_, id, loaded_, fields()),
                      messages::kTeamTypeSaved);
}

// ---------------------------------------------------------------- buttons

void TeamPanel::CmdSaveFig_Click() {
    save(SaveMode::Button);
}

void TeamPanel::CmdTeamCopy_Click() {
    kit_.messages().dialogs().setClipboardText(TxtTeam->text());
}

void TeamPanel::CmdFigChange_Click() {
    if (const std::optional<QString> id = registrylists::selectedEntry(taskForces_))
        setEntry0(LstSpeAdd, *id);
}

void TeamPanel::CmdBaseChange_Click() {
    if (const std::optional<QString> id = registrylists::selectedEntry(scripts_))
        setEntry0(LstScrAdd, *id);
}

// ---------------------------------------------------------------- field editors

void TeamPanel::ChkAble_Click() {
    FraFig1->setEnabled(ChkAble->isChecked());
}

void TeamPanel::TxtPriority_Change() {
    kit_.fields().digitFilter(TxtPriority, QStringLiteral("优先级输入不合法！"));
}

void TeamPanel::TxtTeamCount_Change() {
    kit_.fields().digitFilter(TxtTeamCount, QStringLiteral("小队个数输入不合法！"));
}

void TeamPanel::CboTeamTech_Change() {
    if (tt::techLevelAccepted(CboTeamTech->currentText()))
        return;
    kit_.messages().msg(QStringLiteral("科技等级输入不合法！"), messages::kErrorTitle,
                        MsgIcon::Information);
    CboTeamTech->setEditText(QString());
}

void TeamPanel::CboAction_Change() {
    if (!tt::mindControlAccepted(CboAction->currentText())) {
        kit_.messages().msg(QStringLiteral("动作输入不合法！"), messages::kErrorTitle,
                            MsgIcon::Information);
        CboAction->setEditText(QString()); // the description stays as it was
        return;
    }
    CboAction_Click();
}

void TeamPanel::CboAction_Click() {
    if (const std::optional<QString> d = tt::mindControlDescription(CboAction->currentText()))
        TxtAction->setText(*d);
}

} // namespace tarvok
