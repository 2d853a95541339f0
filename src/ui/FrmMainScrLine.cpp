// The script line editor: the action and parameter of one script step, their
// explanations and hints, and the selected step row kept in line with them.
#include "ui/FrmMain.h"

#include "records/ScriptActions.h"
#include "records/ScriptExplain.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

namespace tarvok {

namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

// The selected item of a list, if the user has one selected.
QListWidgetItem* selectedItem(const QListWidget* list) {
    QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

// Writes a column of the step row the user has selected. Rows only follow the fields
// while the step list is usable and a row is selected, so typing with no row selected
// (or while the list is disabled) never changes a step behind the user's back.
void updateSelectedStep(QTreeWidget* steps, int column, const QString& text) {
    if (!steps->isEnabled() || steps->topLevelItemCount() == 0)
        return;
    QTreeWidgetItem* item = steps->currentItem();
    if (!item || !item->isSelected()) {
        const QList<QTreeWidgetItem*> selected = steps->selectedItems();
        if (selected.isEmpty())
            return;
        item = selected.first();
    }
    item->setText(column, text);
}

} // namespace

void FrmMain::connectScrLineHandlers() {
    onUserSelect(LstScrAct, [this] { LstScrAct_Click(); });
    onUserSelect(LstScrNumber, [this] { LstScrNumber_Click(); });
    connect(TxtAct, &QLineEdit::textChanged, this, &FrmMain::TxtAct_Change);
    connect(TxtNumber, &QLineEdit::textChanged, this, &FrmMain::TxtNumber_Change);
    connect(TxtScrID, &QLineEdit::textChanged, this, &FrmMain::TxtScrID_Change);
    onFocusOut(TxtAct, [this] { TxtAct_LostFocus(); });
    onFocusOut(TxtNumber, [this] { TxtNumber_LostFocus(); });
}

void FrmMain::LstScrAct_Click() {
    const QListWidgetItem* item = selectedItem(LstScrAct);
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
        hint(u8(action->hint));
    }
    TxtScrAct->setText(name);
}

void FrmMain::LstScrNumber_Click() {
    const QListWidgetItem* actionItem = selectedItem(LstScrAct);
    if (!actionItem || LstScrAct->row(actionItem) <= 0)
        return;
    const QListWidgetItem* choiceItem = selectedItem(LstScrNumber);
    const QString choice = choiceItem ? choiceItem->text() : QString();
    const scripts::ChosenParameter chosen = scripts::chooseParameter(actionItem->text(), choice);
    switch (chosen.kind) {
    case scripts::ChosenParameter::Kind::Typed:
        return;
    case scripts::ChosenParameter::Kind::Building:
        if (!choice.isEmpty())
            TxtNumber->setText(LookupBuildingId(choice));
        return;
    case scripts::ChosenParameter::Kind::Number:
        TxtNumber->setText(chosen.number);
        if (chosen.hint)
            hint(*chosen.hint);
        return;
    }
}

void FrmMain::TxtAct_Change() {
    if (digitFilter(TxtAct, QStringLiteral("动作输入不合法！")))
        return; // the nested change has handled the corrected text
    const ScriptAction* action = scripts::actionByNumber(scripts::numericValue(TxtAct->text()));
    TxtScrAct->setText(action ? u8(action->name) : QString());
    updateSelectedStep(LvwScr, 1, TxtAct->text());
}

void FrmMain::TxtAct_LostFocus() {
    // A number the user did not type (a step loaded from the file with an action this
    // editor does not know) is the user's data and stays.
    if (!userEditedSinceFocus(TxtAct))
        return;
    if (!TxtAct->text().isEmpty() && TxtScrAct->text().isEmpty()) {
        msg(QStringLiteral("输入不合法"));
        TxtAct->setText(QString());
    }
}

void FrmMain::TxtNumber_Change() {
    if (digitFilter(TxtNumber, QStringLiteral("参数输入不合法！")))
        return;
    const QString parameter = TxtNumber->text();
    const scripts::ParameterExplanation ex =
        scripts::explainParameter(TxtAct->text(), parameter);
    if (ex.hint)
        hint(*ex.hint);
    if (ex.building)
        TxtScrUnitE->setText(LookupBuildingName(parameter));
    if (ex.other)
        TxtScrOther->setText(*ex.other);
    updateSelectedStep(LvwScr, 2, TxtNumber->text());
}

void FrmMain::TxtNumber_LostFocus() {
    if (!userEditedSinceFocus(TxtNumber))
        return;
    if (TxtNumber->text().isEmpty() || !TxtScrUnitE->text().isEmpty() ||
        !TxtScrOther->text().isEmpty())
        return;
    if (msg(QStringLiteral("未找到相应解释，是否继续？"), QStringLiteral("错误"),
            MsgIcon::Information, MsgButtons::YesNo) != MsgAnswer::Yes)
        TxtNumber->setText(QString());
}

void FrmMain::TxtScrID_Change() { digitFilter(TxtScrID, QStringLiteral("脚本ID输入不合法！")); }

} // namespace tarvok
