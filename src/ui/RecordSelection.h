#pragma once

#include "ui/Panels.h"

#include <QObject>

#include <functional>
#include <initializer_list>
#include <vector>

namespace tarvok {

class PanelKit;
class RegistryTabs;
class RulesDocument;

// What a selection puts on show. A user's selection in a registry list, in the trigger's
// team list or in the team type's task force and script lists first settles the records
// it replaces (auto-save, or with auto-save off the question), then shows the chosen
// record, and with a trigger or team type the records it names, in their panels.
class RecordSelection : public QObject {
    Q_OBJECT

  public:
    RecordSelection(PanelKit& kit, RulesDocument& doc, RegistryTabs& tabs, Panels panels,
                    std::function<bool()> autoSaveOn, QObject* parent);

    void LstRoot_Click();
    void LstFig_Click();
    void LstTeam_Click();
    void LstSpe_Click();
    void LstScr_Click();
    void LstSpeAdd_Click();
    void LstScrAdd_Click();

    // Before the given panels' records are replaced: their auto-save, or with auto-save
    // off the question; false when the user stays and the action must not go on.
    bool leaveRecords(std::initializer_list<RecordPanel*> panels);
    // The question for every edited panel, whatever auto-save says; false when the user
    // stays (Cancel, or a save that was refused or failed).
    bool settleEdits();

    // No record, no note, no hint: as the window starts, and after an opening, undo or redo.
    void showNothing();
    // Another program changed the file: the lists show it again, the records on show are
    // read again or emptied when gone; one the user is editing stays as it is.
    void showReloaded();
    // What uses the records on show, and what they use.
    void showReferences();

  private:
    // One question for the edited ones of panels, whose records are about to be
    // replaced: Yes saves them in turn; false when the user stays.
    bool askToSave(const std::vector<RecordPanel*>& panels);
    // A team type's task force and script, as it names them.
    void showTeamsRecords();
    // A selection in the task force or script registry list.
    void selectSection(references::Kind kind);

    PanelKit& kit_;
    RulesDocument& doc_;
    RegistryTabs& tabs_;
    Panels panels_;
    std::function<bool()> autoSaveOn_;
};

} // namespace tarvok
