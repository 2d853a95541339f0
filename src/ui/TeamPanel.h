#pragma once

#include "records/RecordOps.h"

#include "ui/RecordPanel.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QAbstractItemView;
class QListWidget;
class QPushButton;

namespace tarvok {

class PanelKit;

// The team type editor: the frames FraTeam and FraFig1 and the button CmdSaveFig, the
// team type on show keyed by TxtTeam, and the load and save of its section.
class TeamPanel : public RecordPanel {
    Q_OBJECT

  public:
    // CmdFigChange and CmdBaseChange take the selected entry of these registry lists.
    TeamPanel(PanelKit& kit, RulesDocument& doc, QAbstractItemView* taskForces,
              QAbstractItemView* scripts, QWidget* parent);

    QPushButton* cloneButton() const { return CmdTeamClone; }
    QString id() const;
    QString name() const override;
    void setId(const QString& id);
    // The team type's task force and script (entry 0 of LstSpeAdd and LstScrAdd).
    QListWidget* taskForceList() const { return LstSpeAdd; }
    QListWidget* scriptList() const { return LstScrAdd; }
    QString taskForce() const;
    QString script() const;

    void LoadTeamType(const QString& id);
    void show(const QString& id) override;
    void clear() override;
    Saved save(SaveMode mode) override;
    void compact() override;
    void captureBaseline() override;
    void CmdSaveFig_Click();
    void CmdTeamCopy_Click();
    void CmdFigChange_Click();
    void CmdBaseChange_Click();
    void ChkAble_Click();
    void TxtPriority_Change();
    void TxtTeamCount_Change();
    void CboTeamTech_Change();
    void CboAction_Change();
    void CboAction_Click();

    void connectHandlers();
    QString recordKey() const override { return id(); }

  private:
    void createControls();
    QCheckBox* flag(int key) const { return flags_[static_cast<size_t>(key)]; }
    void setFields(const records::TeamFields& fields);
    void put(const records::TeamTypeRecord& record); // a record as read, on show
    records::TeamFields fields() const;
    void setTextControl(int key, const QString& text);
    // What a key's control holds, as the file writes it ("yes"/"no" for a flag).
    QString valueOf(int key) const;
    QString textOfControl(int key) const;

    QAbstractItemView* taskForces_;
    QAbstractItemView* scripts_;

    QGroupBox* FraTeam = nullptr;
    QGroupBox* FraFig1 = nullptr;
    QPushButton* CmdSaveFig = nullptr;
    QLineEdit* TxtTeam = nullptr;
    QLineEdit* TxtTeamName = nullptr;
    QLineEdit* TxtPriority = nullptr;
    QLineEdit* TxtTeamCount = nullptr;
    QComboBox* CboAction = nullptr;
    QLineEdit* TxtAction = nullptr;
    QListWidget* LstSpeAdd = nullptr;
    QListWidget* LstScrAdd = nullptr;
    QPushButton* CmdFigChange = nullptr;
    QPushButton* CmdBaseChange = nullptr;
    QPushButton* CmdTeamCopy = nullptr;
    QPushButton* CmdTeamClone = nullptr;
    QCheckBox* ChkAble = nullptr;
    QComboBox* CboTeamTech = nullptr;
    // The 21 flag boxes (ChkSuicide, ChkAggressive …), by the key each one writes.
    std::array<QCheckBox*, teamtype::kKeyCount> flags_{};
    records::TeamFields loaded_; // the values right after the load
};

} // namespace tarvok
