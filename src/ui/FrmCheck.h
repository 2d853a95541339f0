#pragma once

#include "records/FileCheck.h"

#include <QWidget>

#include <functional>
#include <vector>

class QTreeWidget;

namespace tarvok {

class Catalogues;
class RulesDocument;

// The window "检查文件": every problem the whole-file check finds in the open rules file,
// one row each (级别, 类型, 记录, 行, 说明) in the order of the file's lines. Double-clicking
// a row hands its record to the main window.
class FrmCheck : public QWidget {
    Q_OBJECT

  public:
    explicit FrmCheck(QWidget* parent);

    using Choose = std::function<void(filecheck::RecordKind kind, const QString& id)>;
    void setOnChoose(Choose choose) { choose_ = std::move(choose); }

    // Checks the file as it is now, against the mod's types when its rules file is in use,
    // else the unit name table, and lists the result.
    void checkFile(RulesDocument& doc, const Catalogues& known);
    void showProblems(const std::vector<filecheck::Problem>& problems);

  private:
    QTreeWidget* LvwCheck = nullptr;
    Choose choose_;
};

} // namespace tarvok
