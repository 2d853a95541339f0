#include "ui/FieldHelpers.h"

#include "records/FieldRules.h"
#include "ui/Messages.h"
#include "ui/WindowMessages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWheelEvent>

#include <algorithm>

namespace tarvok {

std::optional<QStringList> FieldHelpers::dataFile(const QString& name) {
    std::optional<QStringList> lines = catalogues_.lines(name);
    if (!lines)
        messages_.msg(messages::kFileMissing, messages::kErrorTitle, MsgIcon::Information);
    return lines;
}

QString FieldHelpers::told(const std::optional<QString>& found) {
    if (!found)
        messages_.msg(messages::kFileMissing, messages::kErrorTitle, MsgIcon::Information);
    return found.value_or(QString());
}

QString FieldHelpers::LookupUnitName(const QString& unitId) {
    return told(catalogues_.unitName(unitId));
}

QString FieldHelpers::LookupUnitId(const QString& displayName) {
    return told(catalogues_.unitId(displayName));
}

QString FieldHelpers::LookupBuildingName(const QString& buildingId) {
    return told(catalogues_.buildingName(buildingId));
}

QString FieldHelpers::LookupBuildingId(const QString& buildingName, const QString& oldParameter) {
    return told(catalogues_.buildingParameter(buildingName, oldParameter));
}

bool FieldHelpers::digitFilter(QLineEdit* box, const QString& message) {
    const QString text = box->text();
    const std::optional<fieldrules::NonDigit> bad = fieldrules::firstNonDigit(text);
    if (!bad)
        return false;
    messages_.msg(message, messages::kErrorTitle, MsgIcon::Information);
    const int cursor = box->cursorPosition();
    QString rest = text;
    rest.remove(bad->index, bad->length);
    box->setText(rest); // runs the change handler again on the rest
    const QString now = box->text();
    const int removed = static_cast<int>(text.size() - now.size());
    box->setCursorPosition(std::clamp(cursor - removed, 0, static_cast<int>(now.size())));
    return true;
}

namespace {

// The wheel over a combo box that the user has not clicked into scrolls the window: it
// never changes a value the user did not mean to touch.
class FieldCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;

  protected:
    void wheelEvent(QWheelEvent* event) override {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore(); // to the window, which scrolls
    }
};

} // namespace

QComboBox* FieldHelpers::makeCombo(const QString& objectName, QWidget* parent) {
    auto* box = new FieldCombo(parent);
    box->setFocusPolicy(Qt::StrongFocus); // the wheel gives no focus either
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    return box;
}

} // namespace tarvok
