#pragma once

#include "document/RulesDocument.h"
#include "records/Forecast.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTableWidget;

namespace tarvok {

class PanelKit;
class PredictModel;

// The window "推演电脑的选择": the moment of a game is described on the left (the computer's
// country and level, the enemy, what each side owns, the teams alive), and the forecast of
// the computer's next choice follows every change on the right: each trigger with its result,
// weight and chance. Double-clicking a row hands its trigger to the main window.
class FrmPredict : public QWidget {
    Q_OBJECT

  public:
    FrmPredict(PanelKit& kit, RulesDocument& doc, QWidget* parent);
    ~FrmPredict() override;

    using Choose = std::function<void(const QString& triggerId)>;
    void setOnChoose(Choose choose) { choose_ = std::move(choose); }

    // Reads the open file and the mod in use again, then forecasts.
    void follow();
    // The state the controls describe, and putting one on show.
    forecast::State state() const;
    void showState(const forecast::State& state);
    const forecast::Result& result() const { return result_; }

    void CmdPredOpen_Click();
    void CmdPredSave_Click();
    void CmdPredFill_Click();

  private:
    void createControls();
    void fillChoices();
    void forecastNow();
    // A row of a count table was edited: keeps one empty row at its end.
    void keepEmptyRow(QTableWidget* table);

    PanelKit& kit_;
    RulesDocument& doc_;
    Choose choose_;
    std::shared_ptr<const RulesIndex> index_;
    buildrule::World world_;
    std::unique_ptr<forecast::Forecaster> forecaster_;
    forecast::Result result_;
    QMap<QString, double> weights_; // from a state file; the window does not edit them
    bool showing_ = false;          // controls being filled: no forecast per change

    QComboBox* CboPredCountry = nullptr;
    QComboBox* CboPredLevel = nullptr;
    QCheckBox* ChkPredSkirmish = nullptr;
    QLineEdit* TxtPredTech = nullptr;
    QCheckBox* ChkPredEnemy = nullptr;
    QComboBox* CboPredEnemy = nullptr;
    QLineEdit* TxtPredCredits = nullptr;
    QComboBox* CboPredPower = nullptr;
    QCheckBox* ChkPredSw1 = nullptr;
    QCheckBox* ChkPredSw3 = nullptr;
    QTableWidget* TblPredOwn = nullptr;
    QPushButton* CmdPredFill = nullptr;
    QTableWidget* TblPredTeams = nullptr;
    QPushButton* CmdPredOpen = nullptr;
    QPushButton* CmdPredSave = nullptr;
    QLabel* LblPredSummary = nullptr;
    QTableView* TblPredict = nullptr;
    PredictModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
};

} // namespace tarvok
