#pragma once

#include "catalogues/Catalogues.h"

#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace tarvok {

class WindowMessages;

// What the fields of the panels share: the editor's data files and the look-ups in the
// catalogues as the user is told of a missing file, the digit filter of numeric boxes, and
// the choice box every panel makes.
class FieldHelpers {
  public:
    FieldHelpers(const Catalogues& catalogues, WindowMessages& messages)
        : catalogues_(catalogues), messages_(messages) {}

    // One of the program directory's data files as lines. When it is missing
    // "无法找到文件" (title "错误", information icon) is shown and nothing is returned.
    std::optional<QStringList> dataFile(const QString& name);

    // Look-ups in the mod's lists, then the unit name table NameTable.WQ and the building
    // tables ID.WQ and ID2.WQ, read anew each time; empty when not found. A missing file
    // is said. A building's parameter keeps the high bits of oldParameter.
    QString LookupUnitName(const QString& unitId);
    QString LookupUnitId(const QString& displayName);
    QString LookupBuildingName(const QString& parameter);
    QString LookupBuildingId(const QString& buildingName, const QString& oldParameter = {});

    // The digit filter of a numeric text box: at the first character that is not an
    // ASCII digit, the message (title "错误", information icon) and that character is
    // removed; the removal runs the box's change handler again on the rest. Returns
    // true when it removed a character (the nested handler has then done the work).
    bool digitFilter(QLineEdit* box, const QString& message);

    // An editable combo box as the panels use it: typed text is never added to the
    // items and never completed behind the user's back.
    static QComboBox* makeCombo(const QString& objectName, QWidget* parent);

  private:
    // A look-up's answer, the missing file said.
    QString told(const std::optional<QString>& found);

    const Catalogues& catalogues_;
    WindowMessages& messages_;
};

} // namespace tarvok
