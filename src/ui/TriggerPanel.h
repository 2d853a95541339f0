#pragma once

#include "records/RecordOps.h"
#include "ui/RecordPanel.h"
#include "ui/UnitChoiceBox.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QAbstractItemView;
class QListWidget;
class QPushButton;

namespace tarvok {

class PanelKit;

// The trigger frame FraRoot: the trigger on show, keyed by TxtRoot, its field editors,
// its team list, and the load and save of its [AITriggerTypes] line.
class TriggerPanel : public RecordPanel {
    Q_OBJECT

  public:
    // The countries the country box offers, "<all>" first.
    QStringList countryChoices() const;
    // teamTypes is the registry list CmdTeam takes the selected team type from.
    TriggerPanel(PanelKit& kit, RulesDocument& doc, QAbstractItemView* teamTypes, QWidget* parent);

    QString key() const;
    void setKey(const QString& key);
    QListWidget* teamList() const { return LstTeam; }
    QPushButton* cloneButton() const { return CmdRootClone; }
    void LoadTrigger(const QString& key);
    void show(const QString& key) override;
    void clear() override;
    Saved save(SaveMode mode) override;
    void compact() override;
    void captureBaseline() override;
    void CmdSaveRoot_Click();
    void CmdRootCopy_Click();
    void CmdTeam_Click();
    void CmdTeamDelete_Click();
    void CboTech_Change();
    void CboKey_Change();
    void CboKey_Click();
    void CboUnitC_Change();
    void CboUnitC_Click();
    void CmdCE_Click();
    void TxtKeyNum_Change();
    void CboWay_Change();
    void CboWay_Click();
    void CboOwner_Change();
    void CboOwner_Click();
    void CboOwner_LostFocus();
    void CboBase_LostFocus();
    void CboMin_LostFocus();
    void CboMax_LostFocus();

    // The choice lists of the unit boxes: the shipped table's, or the mod's, filled
    // again at each opening.
    void setUnitChoices(const QStringList& ids, UnitChoices names);
    // The handlers run from here on: the start-up lists are filled before.
    void connectHandlers();
    QString recordKey() const override { return key(); }

  private:
    void createControls();
    void checkWeightOnLeave(QComboBox* box);
    void setFields(const records::TriggerFields& fields);
    void put(const records::TriggerRecord& record); // a record as read, on show
    records::TriggerFields fields() const;

    QAbstractItemView* teamTypes_;
    records::TriggerFields loaded_; // the panel right after its load
    bool loading_ = false;          // setFields is putting a record's values on show

    QGroupBox* FraRoot = nullptr;
    QLineEdit* TxtRoot = nullptr;
    QPushButton* CmdRootCopy = nullptr;
    QPushButton* CmdRootClone = nullptr;
    QPushButton* CmdSaveRoot = nullptr;
    QListWidget* LstTeam = nullptr;
    QPushButton* CmdTeam = nullptr;
    QPushButton* CmdTeamDelete = nullptr;
    QComboBox* CboCountry = nullptr;
    QComboBox* CboTech = nullptr;
    QComboBox* CboKey = nullptr;
    QLineEdit* TxtKey = nullptr;
    QComboBox* CboUnit = nullptr;
    QComboBox* CboUnitC = nullptr;
    std::unique_ptr<UnitChoiceBox> unitNames_; // CboUnitC's entries
    QPushButton* CmdCE = nullptr;
    QLineEdit* TxtKeyNum = nullptr;
    QComboBox* CboWay = nullptr;
    QLineEdit* TxtWay = nullptr;
    QComboBox* CboBase = nullptr;
    QComboBox* CboMin = nullptr;
    QComboBox* CboMax = nullptr;
    QComboBox* CboOwner = nullptr;
    QLineEdit* TxtOwner = nullptr;
    QCheckBox* ChkLow = nullptr;
    QCheckBox* ChkMid = nullptr;
    QCheckBox* ChkHigh = nullptr;
    QCheckBox* ChkRnd = nullptr;
};

} // namespace tarvok
