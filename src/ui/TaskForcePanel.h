#pragma once

#include "ui/SectionPanel.h"
#include "ui/UnitChoiceBox.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace tarvok {

// The task force frame FraSpe: the task force on show keyed by TxtSpe, its rows of unit
// count and unit type, and the unit name shown beside the selected row's unit.
class TaskForcePanel : public SectionPanel {
    Q_OBJECT

  public:
    void compact() override;
    TaskForcePanel(PanelKit& kit, RulesDocument& doc, QWidget* parent);

    void LoadTaskForce(const QString& id) { loadSection(id); }
    void CmdSaveSpe_Click() { saveClicked(); }
    void CmdSpeCopy_Click() { copyClicked(); }
    void CmdSpeTypeAdd_Click() { addRowClicked(); }
    void CmdSpeTypeKill_Click() { removeRowClicked(); }
    void LvwSpe_Click() { rowClicked(); }
    void TxtID_Change();
    void TxtSpeNum_Change();
    void CboSpeE_Change();
    void CboSpeE_Click();
    void CboSpeC_Click();
    void FillSpeEntryFields();
    void fillEntryFields() override { FillSpeEntryFields(); }

    // The choice lists of the unit boxes: the shipped table's, or the mod's, filled
    // again at each opening.
    void setUnitChoices(const QStringList& ids, UnitChoices names);
    void connectHandlers();

  protected:
    QString rowNote(const SectionRow& row) const override; // the unit's display name

  private:
    QGroupBox* FraSpe = nullptr;
    QLineEdit* TxtSpe = nullptr;
    QLineEdit* TxtSpeName = nullptr;
    QTreeView* LvwSpe = nullptr;
    QLineEdit* TxtID = nullptr;
    QLineEdit* TxtSpeNum = nullptr;
    QComboBox* CboSpeE = nullptr;
    QComboBox* CboSpeC = nullptr;
    QPushButton* CmdCE2 = nullptr;
    QPushButton* CmdSaveSpe = nullptr;
    QPushButton* CmdSpeTypeAdd = nullptr;
    QPushButton* CmdSpeTypeKill = nullptr;
    QPushButton* CmdSpeUp = nullptr;
    QPushButton* CmdSpeDown = nullptr;
    QPushButton* CmdSpeCopy = nullptr;
    std::unique_ptr<UnitChoiceBox> unitNames_; // CboSpeC's entries
};

} // namespace tarvok
