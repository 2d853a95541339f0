#include "ui/UnitChoiceBox.h"

#include "ui/ChoiceSearch.h"
#include "ui/PanelKit.h"
#include "ui/WidgetMaking.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace tarvok {

void UnitChoiceModel::setChoices(UnitChoices choices) {
    beginResetModel();
    choices_ = std::move(choices);
    endResetModel();
}

int UnitChoiceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(choices_.size());
}

QVariant UnitChoiceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= choices_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return choices_.labels()[index.row()];
    case Qt::UserRole:
        return choices_.ids()[index.row()];
    default:
        return {};
    }
}

UnitChoiceBox::UnitChoiceBox(QComboBox* box) : box_(box), model_(new UnitChoiceModel(box)) {
    const QSignalBlocker quiet(box_);
    const QString text = box_->currentText();
    box_->setModel(model_);
    box_->setEditText(text);
    searchInside(box_);
}

void UnitChoiceBox::setChoices(UnitChoices choices) {
    const QSignalBlocker quiet(box_);
    const QString text = box_->currentText();
    model_->setChoices(std::move(choices));
    box_->setEditText(text);
    fitPopupWidth(box_, model_->choices().labels());
}

std::optional<QString> UnitChoiceBox::chosenId(PanelKit& kit, const QString& shownId) const {
    std::optional<QString> id = chosenIdAsListed(kit);
    if (id && !shownId.isEmpty() && id->compare(shownId, Qt::CaseInsensitive) == 0)
        return shownId;
    return id;
}

std::optional<QString> UnitChoiceBox::chosenIdAsListed(PanelKit& kit) const {
    const QString text = box_->currentText();
    if (choices().size() == 0) // no table and no mod: the look-up says what is missing
        return kit.fields().LookupUnitId(text);
    const int index = box_->currentIndex();
    if (index >= 0 && box_->itemText(index) == text)
        return box_->itemData(index, Qt::UserRole).toString();
    const UnitChoices::Match m = choices().match(text);
    if (m.sharing > 1) {
        kit.messages().status(QStringLiteral("名称 %1 对应 %2 个类型，请选择带 ID 的条目")
                                  .arg(text.trimmed())
                                  .arg(m.sharing));
        return std::nullopt;
    }
    return m.id;
}

QString UnitChoiceBox::labelOf(PanelKit& kit, const QString& id) const {
    const QString label = choices().labelOf(id);
    return label.isEmpty() ? kit.fields().LookupUnitName(id) : label;
}

} // namespace tarvok
