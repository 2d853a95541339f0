// The team type panels: the team editor (FraTeam, FraFig1), the team list of the
// registry tab, the trigger's team list and the add, delete, save and copy buttons.
#include "ui/FrmMain.h"

#include "document/Lines.h"
#include "document/Rewrite.h"
#include "records/TeamTypeSection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarvok {
namespace {

namespace tt = teamtype;

// The 21 flag boxes: the key each one writes, its caption and the hint its click shows.
struct FlagBox {
    int key;
    QCheckBox* FrmMain::*box;
    const char* objectName;
    const char* caption;
    const char* hintText;
};

const FlagBox kFlagBoxes[] = {
    {tt::Aggressive, &FrmMain::ChkAggressive, "ChkAggressive", "侵略小队",
     "侵略性的，电脑在防御达到一定数量之后再开始建造该小队"},
    {tt::Annoyance, &FrmMain::ChkAnnoyance, "ChkAnnoyance", "烦恼效果", "烦恼效果，作用不明"},
    {tt::AreTeamMembersRecruitable, &FrmMain::ChkAreTeamMembersRecruitable,
     "ChkAreTeamMembersRecruitable", "小队重组", "小队成员是否允许重组"},
    {tt::Autocreate, &FrmMain::ChkAutocreate, "ChkAutocreate", "自动建造", "自动建造……"},
    {tt::AvoidThreats, &FrmMain::ChkAvoidThreats, "ChkAvoidThreats", "规避威胁",
     "规避威胁，小队成员在移动的过程中将会试图规避途中可能遭遇的敌方单位"},
    {tt::Droppod, &FrmMain::ChkDroppod, "ChkDroppod", "使用空降舱",
     "使用空降舱进入战区，作用不明"},
    {tt::Full, &FrmMain::ChkFull, "ChkFull", "运载工具内部",
     "创建小队成员的时候，如果小队中有运载工具，其他成员是否应该位于运载工具的内部，作用不明"},
    {tt::GuardSlower, &FrmMain::ChkGuardSlower, "ChkGuardSlower", "降低反应速度",
     "降低反应速度，作用不明"},
    {tt::IonImmune, &FrmMain::ChkIonImmune, "ChkIonImmune", "离子风暴免疫",
     "离子风暴免疫，作用不明"},
    {tt::IsBaseDefense, &FrmMain::ChkIsBaseDefense, "ChkIsBaseDefense", "基地防御小队",
     "基地防御小队"},
    {tt::Loadable, &FrmMain::ChkLoadable, "ChkLoadable", "可装载", "可装载，作用不明"},
    {tt::LooseRecruit, &FrmMain::ChkLooseRecruit, "ChkLooseRecruit", "解散新兵",
     "解散新兵，作用不明"},
    {tt::OnlyTargetHouseEnemy, &FrmMain::ChkOnlyTargetHouseEnemy, "ChkOnlyTargetHouseEnemy",
     "只攻击敌方", "只攻击敌方单位，作用不明"},
    {tt::OnTransOnly, &FrmMain::ChkOnTransOnly, "ChkOnTransOnly", "只能运输",
     "只能运输，作用不明"},
    {tt::Prebuild, &FrmMain::ChkPrebuild, "ChkPrebuild", "预先建造", "预先建造，作用不明"},
    {tt::Recruiter, &FrmMain::ChkRecruiter, "ChkRecruiter", "强制重组",
     "强制重组优先级较低的小队的成员，如果它们是可以重组的"},
    {tt::Reinforce, &FrmMain::ChkReinforce, "ChkReinforce", "增援部队", "增援部队，作用不明"},
    {tt::Suicide, &FrmMain::ChkSuicide, "ChkSuicide", "自毁攻击",
     "自毁式攻击，受到攻击不允许还击"},
    {tt::TransportsReturnOnUnload, &FrmMain::ChkTransportsReturnOnUnload,
     "ChkTransportsReturnOnUnload", "运载工具返回", "运载工具卸载后返回基地"},
    {tt::UseTransportOrigin, &FrmMain::ChkUseTransportOrigin, "ChkUseTransportOrigin",
     "原始运载工具", "使用原始的运载工具,作用不明"},
    {tt::Whiner, &FrmMain::ChkWhiner, "ChkWhiner", "哀叫效果", "哀叫效果，作用不明"},
};

const FlagBox* flagOfKey(int key) {
    for (const FlagBox& f : kFlagBoxes) {
        if (f.key == key)
            return &f;
    }
    return nullptr;
}

const FlagBox& flagOfBox(QCheckBox* FrmMain::*box) {
    for (const FlagBox& f : kFlagBoxes) {
        if (f.box == box)
            return f;
    }
    Q_UNREACHABLE();
}

// Flag boxes as the two frames show them, in their order.
QCheckBox* FrmMain::* const kTeamFrameFlags[] = {
    &FrmMain::ChkIsBaseDefense, &FrmMain::ChkAreTeamMembersRecruitable,
    &FrmMain::ChkTransportsReturnOnUnload, &FrmMain::ChkAvoidThreats, &FrmMain::ChkSuicide,
    &FrmMain::ChkAggressive, &FrmMain::ChkAutocreate, &FrmMain::ChkRecruiter,
};
QCheckBox* FrmMain::* const kFig1Flags[] = {
    &FrmMain::ChkOnlyTargetHouseEnemy, &FrmMain::ChkIonImmune, &FrmMain::ChkOnTransOnly,
    &FrmMain::ChkDroppod, &FrmMain::ChkPrebuild, &FrmMain::ChkFull, &FrmMain::ChkLoadable,
    &FrmMain::ChkLooseRecruit, &FrmMain::ChkWhiner, &FrmMain::ChkUseTransportOrigin,
    &FrmMain::ChkReinforce, &FrmMain::ChkGuardSlower, &FrmMain::ChkAnnoyance,
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

QString selectedText(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

bool hasSelection(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected();
}

// A list box that shows its single entry in one row.
void makeSingleEntryList(QListWidget* list) {
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int h = list->fontMetrics().height() + 2 * list->frameWidth() + 6;
    list->setFixedHeight(h);
}

QLabel* label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

// A text of the team controls: its key's control gets it as typing would set it.
void setTextControl(FrmMain& w, int key, const QString& text) {
    switch (key) {
    case tt::Name: w.TxtTeamName->setText(text); break;
    case tt::MindControlDecision: w.CboAction->setEditText(text); break;
    case tt::Priority: w.TxtPriority->setText(text); break;
    case tt::Max: w.TxtTeamCount->setText(text); break;
    case tt::TechLevel: w.CboTeamTech->setEditText(text); break;
    case tt::Script: setEntry0(w.LstScrAdd, text); break;
    case tt::TaskForce: setEntry0(w.LstSpeAdd, text); break;
    default: break;
    }
}

QString textOfControl(const FrmMain& w, int key) {
    switch (key) {
    case tt::Name: return w.TxtTeamName->text();
    case tt::MindControlDecision: return w.CboAction->currentText();
    case tt::Priority: return w.TxtPriority->text();
    case tt::Max: return w.TxtTeamCount->text();
    case tt::TechLevel: return w.CboTeamTech->currentText();
    case tt::Script: return entry0(w.LstScrAdd);
    case tt::TaskForce: return entry0(w.LstSpeAdd);
    default: return QString();
    }
}

void apply(FrmMain& w, const tt::Assignment& a, const TextCodec& codec) {
    if (tt::kKeys[a.key].kind == tt::KeyKind::Flag) {
        if (const FlagBox* f = flagOfKey(a.key))
            (w.*(f->box))->setChecked(a.on);
    } else {
        setTextControl(w, a.key, codec.decode(a.value));
    }
}

// The values of a new team type, in every loaded control.
void setDefaults(FrmMain& w) {
    const TextCodec latin(Encoding::Utf8); // the defaults are plain ASCII
    const tt::Values defaults = tt::defaultValues();
    for (int k = 0; k < tt::kKeyCount; ++k) {
        switch (tt::kKeys[k].kind) {
        case tt::KeyKind::Fixed: break;
        case tt::KeyKind::Flag: apply(w, {k, {}, defaults[k] == "yes"}, latin); break;
        case tt::KeyKind::Text: apply(w, {k, defaults[k], false}, latin); break;
        }
    }
}

} // namespace

// ---------------------------------------------------------------- building the frames

void FrmMain::createTeamFrames() {
    FraTeam = new QGroupBox(QStringLiteral("作战小队"));
    FraTeam->setObjectName(QStringLiteral("FraTeam"));

    auto makeCheck = [this](QCheckBox* FrmMain::*member, QWidget* parent) {
        const FlagBox& f = flagOfBox(member);
        auto* box = new QCheckBox(QString::fromUtf8(f.caption), parent);
        box->setObjectName(QLatin1String(f.objectName));
        box->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        this->*member = box;
        return box;
    };
    auto makeEdit = [](const char* name, QWidget* parent) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    auto makeButton = [](const char* name, const QString& caption, QWidget* parent) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        return b;
    };

    ChkAble = new QCheckBox(QStringLiteral("作战小队(作用不明)可用"), FraTeam);
    ChkAble->setObjectName(QStringLiteral("ChkAble"));
    ChkAble->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    for (QCheckBox* FrmMain::*m : kTeamFrameFlags)
        makeCheck(m, FraTeam);

    TxtTeamCount = makeEdit("TxtTeamCount", FraTeam);
    TxtTeamCount->setText(QStringLiteral("1"));
    TxtPriority = makeEdit("TxtPriority", FraTeam);
    TxtPriority->setText(QStringLiteral("5"));
    TxtTeamName = makeEdit("TxtTeamName", FraTeam);
    TxtTeam = makeEdit("TxtTeam", FraTeam);
    TxtTeam->setEnabled(false); // set only by the selections
    TxtAction = makeEdit("TxtAction", FraTeam);
    TxtAction->setText(QStringLiteral("自动"));
    TxtAction->setReadOnly(true); // a description, nothing reads it
    CboAction = makeCombo(QStringLiteral("CboAction"), FraTeam);
    CboAction->setEditText(QStringLiteral("0"));
    CmdBaseChange = makeButton("CmdBaseChange", QStringLiteral("更改脚本"), FraTeam);
    CmdFigChange = makeButton("CmdFigChange", QStringLiteral("更改特遣小队"), FraTeam);
    CmdTeamCopy = makeButton("CmdTeamCopy", QStringLiteral("复制"), FraTeam);
    LstScrAdd = new QListWidget(FraTeam);
    LstScrAdd->setObjectName(QStringLiteral("LstScrAdd"));
    makeSingleEntryList(LstScrAdd);
    LstSpeAdd = new QListWidget(FraTeam);
    LstSpeAdd->setObjectName(QStringLiteral("LstSpeAdd"));
    makeSingleEntryList(LstSpeAdd);

    auto* g = new QGridLayout(FraTeam);
    g->addWidget(TxtTeam, 0, 0, 1, 3);
    g->addWidget(CmdTeamCopy, 0, 3);
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
    int i = 0;
    for (QCheckBox* FrmMain::*m : kTeamFrameFlags) {
        g->addWidget(this->*m, 6 + i / 4, i % 4);
        ++i;
    }
    g->addWidget(ChkAble, 8, 0, 1, 2);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    FraFig1 = new QGroupBox(QStringLiteral("作战小队(作用不明)"));
    FraFig1->setObjectName(QStringLiteral("FraFig1"));
    CboTeamTech = makeCombo(QStringLiteral("CboTeamTech"), FraFig1);
    CboTeamTech->setEditText(QStringLiteral("0"));
    for (QCheckBox* FrmMain::*m : kFig1Flags)
        makeCheck(m, FraFig1);
    auto* f = new QGridLayout(FraFig1);
    f->addWidget(label(QStringLiteral("以下不建议使用，不建议改动!"), FraFig1), 0, 0, 1, 2);
    f->addWidget(label(QStringLiteral("科技等级:"), FraFig1), 1, 0);
    f->addWidget(CboTeamTech, 1, 1);
    i = 0;
    for (QCheckBox* FrmMain::*m : kFig1Flags) {
        f->addWidget(this->*m, 2 + i / 2, i % 2); // two columns: the frame stands narrow
        ++i;
    }
    FraFig1->setEnabled(false); // until ChkAble is ticked

    // The flags a new team type starts with.
    for (QCheckBox* box : {ChkAutocreate, ChkAvoidThreats, ChkTransportsReturnOnUnload, ChkWhiner})
        box->setChecked(true);

    CmdSaveFig = new QPushButton(QStringLiteral("保存作战小队"));
    CmdSaveFig->setObjectName(QStringLiteral("CmdSaveFig"));
}

void FrmMain::connectTeamHandlers() {
    // Tab moves through the team editor in the order it reads. The window holds every
    // frame by now, so the chain can cross from one frame to the next.
    std::vector<QWidget*> tabOrder{TxtTeamName, TxtPriority,  TxtTeamCount, CboAction,
                                   LstSpeAdd,   CmdFigChange, LstScrAdd,    CmdBaseChange};
    for (QCheckBox* FrmMain::*m : kTeamFrameFlags)
        tabOrder.push_back(this->*m);
    tabOrder.push_back(ChkAble);
    tabOrder.push_back(CboTeamTech);
    for (QCheckBox* FrmMain::*m : kFig1Flags)
        tabOrder.push_back(this->*m);
    tabOrder.push_back(CmdSaveFig);
    for (size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    onUserSelect(LstFig, [this] { LstFig_Click(); });
    onUserSelect(LstTeam, [this] { LstTeam_Click(); });
    connect(CmdSaveFig, &QPushButton::clicked, this, &FrmMain::CmdSaveFig_Click);
    connect(CmdTeamAdd, &QPushButton::clicked, this, &FrmMain::CmdTeamAdd_Click);
    connect(CmdTeamKill, &QPushButton::clicked, this, &FrmMain::CmdTeamKill_Click);
    connect(CmdTeam, &QPushButton::clicked, this, &FrmMain::CmdTeam_Click);
    connect(CmdTeamDelete, &QPushButton::clicked, this, &FrmMain::CmdTeamDelete_Click);
    connect(CmdTeamCopy, &QPushButton::clicked, this, &FrmMain::CmdTeamCopy_Click);
    connect(CmdFigChange, &QPushButton::clicked, this, &FrmMain::CmdFigChange_Click);
    connect(CmdBaseChange, &QPushButton::clicked, this, &FrmMain::CmdBaseChange_Click);
    connect(ChkAble, &QCheckBox::toggled, this, &FrmMain::ChkAble_Click);
    for (const FlagBox& f : kFlagBoxes) {
        const QString text = QString::fromUtf8(f.hintText);
        connect(this->*(f.box), &QCheckBox::toggled, this, [this, text](bool) { hint(text); });
    }

    connect(TxtPriority, &QLineEdit::textChanged, this, &FrmMain::TxtPriority_Change);
    connect(TxtTeamCount, &QLineEdit::textChanged, this, &FrmMain::TxtTeamCount_Change);
    connect(CboTeamTech, &QComboBox::editTextChanged, this, &FrmMain::CboTeamTech_Change);
    connect(CboAction, &QComboBox::editTextChanged, this, &FrmMain::CboAction_Change);
    connect(CboAction, &QComboBox::activated, this, &FrmMain::CboAction_Click);

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
        onFocusIn(w, [this, text = text] { hint(text); });
}

// ---------------------------------------------------------------- load and save

void FrmMain::LoadTeamType(const QString& id) {
    const std::optional<RulesContent> rules = readRules();
    if (!rules)
        return;
    const auto bodies = teamtype::findSectionBodies(rules->bytes, rules->codec.encode(id));
    if (bodies.empty())
        return;
    // A key the section lacks shows what a new team type has, never the value of the
    // team type shown before.
    setDefaults(*this);
    for (const auto& body : bodies) {
        for (const teamtype::Assignment& a : teamtype::parseBody(body))
            apply(*this, a, rules->codec);
    }
}

void FrmMain::SaveTeamType(const QString& id) {
    if (RulesFilePath.isEmpty())
        return;
    // The controls at the moment of the save; texts are encoded once the file's
    // encoding is known.
    std::array<QString, teamtype::kKeyCount> texts;
    teamtype::Values values;
    for (int k = 0; k < teamtype::kKeyCount; ++k) {
        switch (teamtype::kKeys[k].kind) {
        case teamtype::KeyKind::Fixed: break;
        case teamtype::KeyKind::Flag:
            values[k] = (this->*(flagOfKey(k)->box))->isChecked() ? "yes" : "no";
            break;
        case teamtype::KeyKind::Text: texts[k] = textOfControl(*this, k); break;
        }
    }
    const bool written = rewriteRules([&](const QByteArray& content, const TextCodec& codec) {
        teamtype::Values v = values;
        for (int k = 0; k < teamtype::kKeyCount; ++k) {
            if (teamtype::kKeys[k].kind == teamtype::KeyKind::Text)
                v[k] = codec.encode(texts[k]);
        }
        const auto makeBody = [&v](const std::vector<QByteArrayView>& oldBody) {
            return teamtype::buildBody(v, oldBody);
        };
        return rewriteLines(content, ReplaceSectionBody(codec.encode(id), makeBody));
    });
    if (written)
        msg(QStringLiteral("作战小队已保存！"));
}

bool FrmMain::DeleteTeamType(const QString& id) {
    if (id.isEmpty())
        return true; // no ID, nothing to delete
    return removeFromRegistry("TeamTypes", id, TeamTypeCount);
}

// ---------------------------------------------------------------- selections

void FrmMain::LstFig_Click() {
    if (!hasSelection(LstFig))
        return;
    const QString id = selectedText(LstFig);
    if (AutoSave == -1) {
        CmdSaveFig_Click();
        CmdSaveSpe_Click();
        CmdSaveScr_Click();
    }
    TxtName->setText(id);
    TxtNote->clear();
    TxtTeam->setText(id);
    clearSelectionQuietly(LstRoot);
    clearSelectionQuietly(LstSpe);
    clearSelectionQuietly(LstScr);
    CmdFind_Click();
    LoadTeamType(id);
    showTeamTaskForceAndScript();
}

void FrmMain::LstTeam_Click() {
    if (AutoSave == -1) {
        CmdSaveFig_Click();
        CmdSaveSpe_Click();
        CmdSaveScr_Click();
    }
    if (!hasSelection(LstTeam))
        return;
    const QString id = selectedText(LstTeam);
    TxtTeam->setText(id);
    LoadTeamType(id);
    showTeamTaskForceAndScript();
}

void FrmMain::showTeamTaskForceAndScript() {
    selectRowQuietly(LstSpeAdd, 0);
    selectRowQuietly(LstScrAdd, 0);
    TxtSpe->setText(entry0(LstSpeAdd));
    TxtScr->setText(entry0(LstScrAdd));
    LoadTaskForce(TxtSpe->text());
    LoadScriptType(TxtScr->text());
    if (LvwSpe->topLevelItemCount() > 0)
        FillSpeEntryFields();
    if (LvwScr->topLevelItemCount() > 0)
        FillScrLineFields();
}

// ---------------------------------------------------------------- buttons

void FrmMain::CmdSaveFig_Click() {
    if (!TxtTeam->text().isEmpty())
        SaveTeamType(TxtTeam->text());
}

void FrmMain::CmdTeamAdd_Click() {
    addRegistryRecord(QStringLiteral("输入新增作战小队名称（英文）"), LstFig,
                      QStringLiteral("作战小队名称重复，请重新输入！"), "TeamTypes", TeamTypeCount,
                      teamtype::defaultBlock());
}

void FrmMain::CmdTeamKill_Click() {
    killSelectedRecord(LstFig, [this](const QString& id) { return DeleteTeamType(id); });
}

void FrmMain::CmdTeam_Click() {
    if (!hasSelection(LstFig) || LstTeam->count() == 2)
        return;
    LstTeam->addItem(selectedText(LstFig));
}

void FrmMain::CmdTeamDelete_Click() {
    QListWidgetItem* item = LstTeam->currentItem();
    if (!item || !item->isSelected())
        return;
    if (msg(QStringLiteral("确定删除？"), QStringLiteral("提示"), MsgIcon::Information,
            MsgButtons::YesNo) == MsgAnswer::No)
        return;
    delete LstTeam->takeItem(LstTeam->row(item));
}

void FrmMain::CmdTeamCopy_Click() { dialogs().setClipboardText(TxtTeam->text()); }

void FrmMain::CmdFigChange_Click() {
    if (hasSelection(LstSpe))
        setEntry0(LstSpeAdd, selectedText(LstSpe));
}

void FrmMain::CmdBaseChange_Click() {
    if (hasSelection(LstScr))
        setEntry0(LstScrAdd, selectedText(LstScr));
}

// ---------------------------------------------------------------- field editors

void FrmMain::ChkAble_Click() { FraFig1->setEnabled(ChkAble->isChecked()); }

void FrmMain::TxtPriority_Change() {
    digitFilter(TxtPriority, QStringLiteral("优先级输入不合法！"));
}

void FrmMain::TxtTeamCount_Change() {
    digitFilter(TxtTeamCount, QStringLiteral("小队个数输入不合法！"));
}

void FrmMain::CboTeamTech_Change() {
    if (teamtype::techLevelAccepted(CboTeamTech->currentText()))
        return;
    msg(QStringLiteral("科技等级输入不合法！"), QStringLiteral("错误"), MsgIcon::Information);
    CboTeamTech->setEditText(QString());
}

void FrmMain::CboAction_Change() {
    if (!teamtype::mindControlAccepted(CboAction->currentText())) {
        msg(QStringLiteral("动作输入不合法！"), QStringLiteral("错误"), MsgIcon::Information);
        CboAction->setEditText(QString()); // the description stays as it was
        return;
    }
    CboAction_Click();
}

void FrmMain::CboAction_Click() {
    if (const std::optional<QString> d = teamtype::mindControlDescription(CboAction->currentText()))
        TxtAction->setText(*d);
}

} // namespace tarvok
