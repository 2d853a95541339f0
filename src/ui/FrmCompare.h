#pragma once

#include "records/Compare.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvok {

class PanelKit;
class RulesDocument;

// The window "比较文件": the open file compared record by record with another AI file, or
// with a version the undo history keeps, read from that one to the open file (新增: only in
// the open file). The checked records are taken across into the open file in one write.
// Double-clicking a record hands it to the main window.
class FrmCompare : public QWidget {
    Q_OBJECT

  public:
    FrmCompare(PanelKit& kit, RulesDocument& doc, QWidget* parent);

    using Choose = std::function<void(compare::Kind kind, const QString& id)>;
    void setOnChoose(Choose choose) { choose_ = std::move(choose); }

    // The versions kept, newest first; the newest compared when there is one.
    void start();

    void CmdCompareFile_Click();
    void CboCompareVersion_Click(int index);
    void CmdCompareTake_Click();

  private:
    // Compares the open file as it is now with the other side, and shows the result.
    void compareNow();
    void showTree();
    void applyFilter();
    // The other side: its bytes and where they came from.
    void setOther(QByteArray bytes);

    PanelKit& kit_;
    RulesDocument& doc_;
    Choose choose_;
    std::shared_ptr<const RulesIndex> other_;
    std::vector<compare::Difference> differences_;
    // Of each difference, the values of a record only one side has, for the filter.
    std::vector<QStringList> ownValues_;

    QPushButton* CmdCompareFile = nullptr;
    QComboBox* CboCompareVersion = nullptr;
    QLineEdit* TxtCompareFind = nullptr;
    QCheckBox* ChkCompareSame = nullptr;
    QCheckBox* ChkCompareChain = nullptr;
    QTreeWidget* TvwCompare = nullptr;
    QPushButton* CmdCompareTake = nullptr;
};

} // namespace tarvok
