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
    // again at each opening; defined: the IDs of every type of the same source (the mod's
    // buildings too), which a new or changed row's unit must be one of to be saved.
    void setUnitChoices(const QStringList& ids, UnitChoices names, QStringList defined);
    void connectHandlers();

  protected:
    QString rowNote(const SectionRow& row) const override; // the unit's display name
    // A new or changed row whose count is not a whole number from 1 up, or whose unit is
    // not defined, names the first such row.
    std::optional<QString> rowsRefused() const override;

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
    QStringList definedUnits_;
};

} // namespace tarvok
