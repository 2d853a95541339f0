#pragma once

#include "ui/SectionPanel.h"
#include "ui/UnitChoiceBox.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace tarvok {

// The script frame FraScr: the script on show keyed by TxtScr, its steps, and the
// script line editor that explains a step's action and parameter from the action
// catalogue and the building tables (ScriptLineEditor.cpp).
class ScriptPanel : public SectionPanel {
    Q_OBJECT

  public:
    void compact() override;
    ScriptPanel(PanelKit& kit, RulesDocument& doc, QWidget* parent);

    void LoadScriptType(const QString& id) { loadSection(id); }
    void CmdSaveScr_Click() { saveClicked(); }
    void CmdScrCopy_Click() { copyClicked(); }
    void CmdScrTypeAdd_Click() { addRowClicked(); }
    void CmdScrTypeKill_Click() { removeRowClicked(); }
    void LvwScr_Click() { rowClicked(); }
    // Shows the selected step in TxtScrID, TxtAct and TxtNumber (when it has rows), then
    // the building rule: TxtScrUnitE is emptied unless the action is 46, 47, 56 or 58.
    void FillScrLineFields();
    void fillEntryFields() override { FillScrLineFields(); }
    void entryFieldsEmptied() override;
    // Its steps, and the lists of actions and their numbers.
    void setTextColour(const QColor& colour) override;

    // ---- the script line editor
    void LstScrAct_Click();
    void LstScrNumber_Click();
    void TxtAct_Change();
    void TxtAct_LostFocus();
    void TxtNumber_Change();
    void TxtNumber_LostFocus();
    void TxtScrID_Change();
    void TxtScrUnitE_Change();
    void Command1_Click();
    void LoadActionParameters(const QString& actionName);
    void ListBuildingNames();

    // The entries of the building name box, filled again at each opening: every unit and
    // building (the shipped table's, or the mod's), and the buildings a building action's
    // parameter counts in, which it lists while such an action is on show.
    void setUnitChoices(UnitChoices all, UnitChoices buildings);
    void connectHandlers();

  protected:
    QString rowNote(const SectionRow& row) const override;

  private:
    void createControls();
    // The building name box lists what fits the action on show.
    void followActionKind();

    QGroupBox* FraScr = nullptr;
    QLineEdit* TxtScr = nullptr;
    QLineEdit* TxtScrName = nullptr;
    QTreeView* LvwScr = nullptr;
    QListWidget* LstScrAct = nullptr;
    QListWidget* LstScrNumber = nullptr;
    QLineEdit* TxtScrID = nullptr;
    QLineEdit* TxtAct = nullptr;
    QLineEdit* TxtNumber = nullptr;
    QLineEdit* TxtScrAct = nullptr;
    QLineEdit* TxtScrUnitE = nullptr;
    QComboBox* TxtScrUnitC = nullptr;
    std::unique_ptr<UnitChoiceBox> unitNames_; // TxtScrUnitC's entries
    UnitChoices allUnits_, buildings_;
    bool listsBuildings_ = false;
    QPushButton* Command1 = nullptr;
    QLineEdit* TxtScrOther = nullptr;
    QPushButton* CmdSaveScr = nullptr;
    QPushButton* CmdScrTypeAdd = nullptr;
    QPushButton* CmdScrTypeKill = nullptr;
    QPushButton* CmdScrUp = nullptr;
    QPushButton* CmdScrDown = nullptr;
    QPushButton* CmdScrCopy = nullptr;
};

} // namespace tarvok
