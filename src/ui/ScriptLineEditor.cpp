// The script line editor: the action and parameter of one script step, their
// explanations and hints, and the selected step row kept in line with them.
#include "ui/ScriptPanel.h"

#include "catalogues/ActionCatalogue.h"
#include "catalogues/UnitNameTable.h"
#include "records/FieldRules.h"
#include "records/ScriptActions.h"
#include "records/ScriptExplain.h"
#include "ui/PanelKit.h"
#include "ui/WidgetMaking.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tarvok {

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

void ScriptPanel::connectHandlers() {
    connectCommonHandlers();
    kit_.focus().onUserSelect(LstScrAct, [this] { LstScrAct_Click(); });
    kit_.focus().onUserSelect(LstScrNumber, [this] { LstScrNumber_Click(); });
    connect(TxtAct, &QLineEdit::textChanged, this, &ScriptPanel::TxtAct_Change);
    connect(TxtNumber, &QLineEdit::textChanged, this, &ScriptPanel::TxtNumber_Change);
    connect(TxtScrID, &QLineEdit::textChanged, this, &ScriptPanel::TxtScrID_Change);
    kit_.focus().onFocusOut(TxtAct, [this] { TxtAct_LostFocus(); });
    kit_.focus().onFocusOut(TxtNumber, [this] { TxtNumber_LostFocus(); });
    connect(TxtScrUnitE, &QLineEdit::textChanged, this, [this] { TxtScrUnitE_Change(); });
    connect(Command1, &QPushButton::clicked, this, &ScriptPanel::Command1_Click);
}

void ScriptPanel::LstScrAct_Click() {
    const QListWidgetItem* item = selectedEntry(LstScrAct);
    if (!item || LstScrAct->row(item) <= 0)
        return; // the empty first entry chooses no action
    const QString name = item->text();
    LoadActionParameters(name);
    const ScriptAction* action = scripts::actionByName(name);
    if (action && isBuildingAction(action->number))
        ListBuildingNames();
    if (action) {
        // Both assignments run their change handlers; the hint below has the last word.
        TxtAct->setText(QString::number(action->number));
        TxtNumber->setText(QString());
        kit_.messages().hint(u8(action->hint));
    }
    TxtScrAct->setText(name);
}

void ScriptPanel::LstScrNumber_Click() {
    const QListWidgetItem* actionItem = selectedEntry(LstScrAct);
    if (!actionItem || LstScrAct->row(actionItem) <= 0)
        return;
    const QListWidgetItem* choiceItem = selectedEntry(LstScrNumber);
    const QString choice = choiceItem ? choiceItem->text() : QString();
    const scripts::ChosenParameter chosen = scripts::chooseParameter(actionItem->text(), choice);
    switch (chosen.kind) {
    case scripts::ChosenParameter::Kind::Typed:
        return;
    case scripts::ChosenParameter::Kind::Building:
        if (!choice.isEmpty())
            TxtNumber->setText(kit_.fields().LookupBuildingId(choice, TxtNumber->text()));
        return;
    case scripts::ChosenParameter::Kind::Number:
        TxtNumber->setText(chosen.number);
        if (chosen.hint)
            kit_.messages().hint(*chosen.hint);
        return;
    }
}

void ScriptPanel::TxtAct_Change() {
    if (kit_.fields().digitFilter(TxtAct, QStringLiteral("动作输入不合法！")))
        return; // the nested change has handled the corrected text
    const ScriptAction* action = scripts::actionByNumber(scripts::numericValue(TxtAct->text()));
    TxtScrAct->setText(action ? u8(action->name) : QString());
    followActionKind();
    updateSelectedRow(1, TxtAct->text());
}

void ScriptPanel::TxtAct_LostFocus() {
    // A number the user did not type (a step loaded from the file with an action this
    // editor does not know) is the user's data and stays.
    if (!kit_.focus().userEditedSinceFocus(TxtAct))
        return;
    if (!TxtAct->text().isEmpty() && TxtScrAct->text().isEmpty()) {
        kit_.messages().msg(QStringLiteral("输入不合法"));
        TxtAct->setText(QString());
    }
}

void ScriptPanel::TxtNumber_Change() {
    if (kit_.fields().digitFilter(TxtNumber, QStringLiteral("参数输入不合法！")))
        return;
    const QString parameter = TxtNumber->text();
    const scripts::ParameterExplanation ex = scripts::explainParameter(TxtAct->text(), parameter);
    if (ex.hint)
        kit_.messages().hint(*ex.hint);
    if (ex.building)
        TxtScrUnitE->setText(kit_.fields().LookupBuildingName(parameter));
    if (ex.other)
        TxtScrOther->setText(*ex.other);
    updateSelectedRow(2, TxtNumber->text());
}

void ScriptPanel::TxtNumber_LostFocus() {
    if (!kit_.focus().userEditedSinceFocus(TxtNumber))
        return;
    if (TxtNumber->text().isEmpty() || !TxtScrUnitE->text().isEmpty() ||
        !TxtScrOther->text().isEmpty())
        return;
    if (kit_.messages().msg(QStringLiteral("未找到相应解释，是否继续？"), QStringLiteral("错误"),
                            MsgIcon::Information, MsgButtons::YesNo) != MsgAnswer::Yes)
        TxtNumber->setText(QString());
}

void ScriptPanel::TxtScrID_Change() {
    kit_.fields().digitFilter(TxtScrID, QStringLiteral("脚本ID输入不合法！"));
}

// ---------------------------------------------------------------- catalogues

void ScriptPanel::LoadActionParameters(const QString& actionName) {
    const std::optional<QStringList> lines = kit_.fields().dataFile(QStringLiteral("Scr.WQ"));
    if (!lines)
        return;
    // Without a block for the action the list keeps what it showed.
    const std::optional<QStringList> choices = catalogue::actionChoices(*lines, actionName);
    if (!choices)
        return;
    LstScrNumber->clear();
    LstScrNumber->addItems(*choices);
}

void ScriptPanel::ListBuildingNames() {
    if (const std::optional<QStringList> names = kit_.catalogues().buildingNames())
        LstScrNumber->addItems(*names);
    else
        kit_.fields().dataFile(QStringLiteral("ID.WQ")); // says that it is missing
}

void ScriptPanel::TxtScrUnitE_Change() {
    TxtScrUnitC->setEditText(unitNames_->labelOf(kit_, TxtScrUnitE->text()));
}

// The chosen entry's own building (or the one a typed ID or name stands for) becomes the
// parameter, its place in the building list with the high bits the parameter had.
void ScriptPanel::Command1_Click() {
    const std::optional<QString> chosen = unitNames_->chosenId(kit_, TxtScrUnitE->text());
    if (!chosen)
        return; // a name several types share: the status bar asks for an entry with its ID
    const QString& id = *chosen;
    if (TxtScrUnitE->text() != id) {
        TxtScrUnitE->setText(id); // its change handler shows the name of the ID
    } else {
        // The same text raises no change, yet the name box must follow the ID: an
        // unlisted name is emptied, a listed one shows its entry.
        TxtScrUnitC->setEditText(id.isEmpty() ? QString() : unitNames_->labelOf(kit_, id));
    }
    TxtNumber->setText(kit_.fields().LookupBuildingId(TxtScrUnitE->text(), TxtNumber->text()));
}

} // namespace tarvok
