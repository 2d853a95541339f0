#include "ui/FrmTable.h"

#include "document/RulesDocument.h"
#include "records/FieldRules.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"
#include "ui/WindowRules.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace tarvok {

namespace tt = triggertable;

// ---------------------------------------------------------------- the model

int TriggerTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int TriggerTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : tt::ColumnCount;
}

QVariant TriggerTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = shown_[index.row()];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return tt::isTick(column) ? QVariant() : QVariant(table_.text(row, column));
    case Qt::CheckStateRole:
        if (!tt::isTick(column))
            return {};
        return table_.text(row, column) == QStringLiteral("1") ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
        if (table_.isEdited(row, column))
            return QColor(255, 236, 160);
        return {};
    case Qt::FontRole:
        if (table_.isEdited(row, column)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (tt::isWeight(column))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ToolTipRole:
        if (column == tt::Condition || column == tt::Team1 || column == tt::Team2)
            return table_.text(row, column);
        return {};
    default:
        return {};
    }
}

QVariant TriggerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return tt::header(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TriggerTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (tt::isWeight(index.column()))
        f |= Qt::ItemIsEditable;
    if (tt::isTick(index.column()))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool TriggerTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid())
        return false;
    const int column = index.column();
    QString typed;
    if (role == Qt::CheckStateRole && tt::isTick(column))
        typed = value.toInt() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
    else if (role == Qt::EditRole && tt::isWeight(column))
        typed = value.toString();
    else
        return false;
    if (!table_.set(shown_[index.row()], column, typed))
        return false;
    emit dataChanged(index, index);
    emit editsChanged();
    return true;
}

void TriggerTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= tt::ColumnCount)
        return;
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged();
    order_ = table_.order(column, order == Qt::AscendingOrder);
    refilter();
    emit layoutChanged();
}

int TriggerTableModel::reload(const RulesIndex& index, const tt::UnitName& unitName,
                              const QString& file) {
    beginResetModel();
    const int dropped = table_.read(index, unitName, file);
    if (sortColumn_ >= 0) {
        order_ = table_.order(sortColumn_, sortOrder_ == Qt::AscendingOrder);
    } else {
        order_.resize(table_.size());
        for (int i = 0; i < table_.size(); ++i)
            order_[i] = i;
    }
    refilter();
    endResetModel();
    emit editsChanged();
    return dropped;
}

void TriggerTableModel::setFilter(const QString& text) {
    const QString key = fieldrules::searchKey(text);
    if (key == filter_)
        return;
    beginResetModel();
    filter_ = key;
    refilter();
    endResetModel();
}

void TriggerTableModel::refilter() {
    shown_.clear();
    shown_.reserve(order_.size());
    for (const int row : order_)
        if (filter_.isEmpty() || table_.matches(row, filter_))
            shown_.push_back(row);
}

bool TriggerTableModel::setMany(const std::vector<int>& rows, int column, const QString& typed) {
    // Every row takes the value, or none: a factor that one row cannot take is refused.
    for (const int row : rows)
        if (!table_.valueFor(row, column, typed))
            return false;
    for (const int row : rows)
        table_.set(row, column, typed);
    changedAll();
    return true;
}

void TriggerTableModel::changedAll() {
    if (!shown_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, tt::ColumnCount - 1));
    emit editsChanged();
}

// ---------------------------------------------------------------- the window

FrmTable::FrmTable(PanelKit& kit, RulesDocument& doc, QWidget* parent)
    : QWidget(parent, Qt::Window), kit_(kit), doc_(doc) {
    setObjectName(QStringLiteral("FrmTable"));
    TxtTableFind = new QLineEdit(this);
    TxtTableFind->setObjectName(QStringLiteral("TxtTableFind"));
    TxtTableFind->setPlaceholderText(QStringLiteral("筛选：ID、名称、国家、所属方或小队"));
    TxtTableFind->setClearButtonEnabled(true);
    CboTableField = new QComboBox(this);
    CboTableField->setObjectName(QStringLiteral("CboTableField"));
    for (int c = tt::Base; c <= tt::Hard; ++c)
        CboTableField->addItem(tt::header(c), c);
    TxtTableValue = new QLineEdit(this);
    TxtTableValue->setObjectName(QStringLiteral("TxtTableValue"));
    TxtTableValue->setPlaceholderText(QStringLiteral("值，或 ×1.5"));
    TxtTableValue->setMaximumWidth(110);
    CmdTableSet = new QPushButton(QStringLiteral("设置"), this);
    CmdTableSet->setObjectName(QStringLiteral("CmdTableSet"));
    CmdTableSave = new QPushButton(QStringLiteral("保存"), this);
    CmdTableSave->setObjectName(QStringLiteral("CmdTableSave"));
    CmdTableRevert = new QPushButton(QStringLiteral("放弃修改"), this);
    CmdTableRevert->setObjectName(QStringLiteral("CmdTableRevert"));

    TblTriggers = new QTableView(this);
    TblTriggers->setObjectName(QStringLiteral("TblTriggers"));
    TblTriggers->setModel(&model_);
    // File order until the user clicks a header.
    TblTriggers->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    TblTriggers->setSortingEnabled(true);
    TblTriggers->setSelectionBehavior(QAbstractItemView::SelectRows);
    TblTriggers->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    TblTriggers->setWordWrap(false);
    // Fixed row heights and column widths: tens of thousands of rows are laid out at once.
    TblTriggers->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TblTriggers->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    TblTriggers->verticalHeader()->hide();
    const int widths[] = {90, 190, 80, 70, 260, 70, 70, 70, 44, 44, 44, 170, 170, 110};
    for (int c = 0; c < tt::ColumnCount; ++c)
        TblTriggers->setColumnWidth(c, widths[c]);
    TblTriggers->horizontalHeader()->setStretchLastSection(true);

    auto* tools = new QHBoxLayout;
    tools->addWidget(new QLabel(QStringLiteral("筛选："), this));
    tools->addWidget(TxtTableFind, 2);
    tools->addSpacing(12);
    tools->addWidget(new QLabel(QStringLiteral("选中行的"), this));
    tools->addWidget(CboTableField);
    tools->addWidget(TxtTableValue, 1);
    tools->addWidget(CmdTableSet);
    tools->addStretch(1);
    tools->addWidget(CmdTableRevert);
    tools->addWidget(CmdTableSave);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(TblTriggers);

    connect(TxtTableFind, &QLineEdit::textChanged, &model_, &TriggerTableModel::setFilter);
    connect(CmdTableSet, &QPushButton::clicked, this, &FrmTable::CmdTableSet_Click);
    connect(TxtTableValue, &QLineEdit::returnPressed, this, &FrmTable::CmdTableSet_Click);
    connect(CmdTableSave, &QPushButton::clicked, this, [this] { CmdTableSave_Click(); });
    connect(CmdTableRevert, &QPushButton::clicked, this, &FrmTable::CmdTableRevert_Click);
    connect(&model_, &TriggerTableModel::editsChanged, this, &FrmTable::showTitle);
    connect(TblTriggers, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (choose_ && !tt::isEditable(index.column()))
            choose_(model_.table().rows()[model_.tableRow(index.row())].key);
    });
    reload();
}

void FrmTable::follow(const DocumentChange& change) {
    if (change.cause != DocumentChange::Cause::Written) {
        model_.table().forgetSaves();
        reload();
        return;
    }
    reload();
    // A panel saved a field this table saved before: the panel's value stays.
    QStringList notes;
    for (const tt::Overwritten& o : model_.table().takeLaterSaves())
        notes << QStringLiteral("触发 %1 的 %2：保留了面板中的值 %3").arg(o.id, o.field, o.value);
    if (!notes.isEmpty())
        kit_.messages().status(notes.join(QStringLiteral("；")));
}

// As large as the main window: the table has thirteen columns to show.
QSize FrmTable::sizeHint() const {
    return windowrules::kRoomyContent;
}

void FrmTable::reload() {
    const std::shared_ptr<const RulesIndex> index = doc_.index();
    if (!index)
        return;
    const Catalogues& catalogues = kit_.catalogues();
    dropped_ = model_.reload(
        *index, [&catalogues](const QString& unit) { return catalogues.displayName(unit); },
        doc_.path());
    TblTriggers->setColumnHidden(tt::File, doc_.files().size() < 2);
    showTitle();
}

void FrmTable::showTitle() {
    QString title = QStringLiteral("触发总表");
    if (model_.table().editedRows() > 0)
        title += QStringLiteral(" *");
    if (dropped_ > 0)
        title += QStringLiteral("（%1 个触发已不在文件中，其修改已放弃）").arg(dropped_);
    setWindowTitle(title);
    CmdTableSave->setEnabled(model_.table().editedRows() > 0);
    CmdTableRevert->setEnabled(model_.table().editedRows() > 0);
}

void FrmTable::CmdTableSet_Click() {
    std::set<int> rows;
    for (const QModelIndex& index : TblTriggers->selectionModel()->selectedIndexes())
        rows.insert(model_.tableRow(index.row()));
    if (rows.empty()) {
        kit_.messages().msg(QStringLiteral("请先选中要设置的触发"), messages::kQuestionTitle,
                            MsgIcon::Information);
        return;
    }
    const int column = CboTableField->currentData().toInt();
    if (!model_.setMany({rows.begin(), rows.end()}, column, TxtTableValue->text()))
        kit_.messages().msg(messages::kBadInput, messages::kErrorTitle, MsgIcon::Information);
}

bool FrmTable::CmdTableSave_Click() {
    const tt::TableSave saved = model_.table().save(doc_);
    if (!kit_.messages().reportWrite(saved.write))
        return false;
    QStringList notes;
    for (const tt::Overwritten& o : saved.overwritten)
        notes << QStringLiteral("触发 %1 的 %2：保留了总表中的值 %3").arg(o.id, o.field, o.value);
    if (!saved.missing.isEmpty())
        notes << QStringLiteral("文件中已没有：%1").arg(saved.missing.join(QStringLiteral("、")));
    if (!saved.refused.isEmpty())
        notes << QStringLiteral("未保存（触发行不完整）：%1")
                     .arg(saved.refused.join(QStringLiteral("、")));
    if (!notes.isEmpty())
        kit_.messages().status(notes.join(QStringLiteral("；")));
    else
        kit_.messages().status(QStringLiteral("已保存 %1 个触发").arg(saved.written));
    model_.changedAll();
    return true;
}

void FrmTable::CmdTableRevert_Click() {
    model_.table().revert();
    dropped_ = 0;
    model_.changedAll();
}

bool FrmTable::leave() {
    if (model_.table().editedRows() == 0)
        return true;
    switch (kit_.messages().msg(QStringLiteral("当前记录已修改，是否保存？"),
                                messages::kQuestionTitle, MsgIcon::Question,
                                MsgButtons::YesNoCancel)) {
    case MsgAnswer::No:
        CmdTableRevert_Click();
        return true;
    case MsgAnswer::Yes:
        return CmdTableSave_Click() && model_.table().editedRows() == 0;
    default:
        return false;
    }
}

void FrmTable::closeEvent(QCloseEvent* event) {
    if (leave())
        event->accept();
    else
        event->ignore();
}

} // namespace tarvok
