#include "ui/FrmChain.h"

#include "records/FieldRules.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarvok {
namespace {

enum Column { KindColumn, OriginalColumn, NewIdColumn, NameColumn, CopyColumn };

} // namespace

FrmChain::FrmChain(QWidget* parent, const QString& title, std::vector<chain::ChainRow> rows,
                   const TextCodec& codec, bool copying)
    : QDialog(parent), rows_(std::move(rows)), copying_(copying) {
    setObjectName(QStringLiteral("FrmChain"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);

    LvwChain = new QTreeWidget(this);
    LvwChain->setObjectName(QStringLiteral("LvwChain"));
    LvwChain->setRootIsDecorated(false);
    LvwChain->setHeaderLabels({QStringLiteral("类型"), QStringLiteral("原 ID"),
                               QStringLiteral("新 ID"), QStringLiteral("名称"),
                               QStringLiteral("复制")});
    // Only the new ID and the name are typed: a double click or F2 opens them.
    LvwChain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const chain::ChainRow& r : rows_) {
        auto* item = new QTreeWidgetItem(LvwChain);
        item->setText(KindColumn, messages::kindCaption(r.kind));
        item->setText(OriginalColumn, copying ? codec.decode(r.id) : QString());
        item->setText(NewIdColumn, r.newId);
        item->setText(NameColumn, r.newName);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setCheckState(CopyColumn, r.copy ? Qt::Checked : Qt::Unchecked);
        if (!copying) // a new chain makes every record
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    }
    const auto edit = [this](QTreeWidgetItem* item, int column) {
        if (item && (column == NewIdColumn || column == NameColumn))
            LvwChain->editItem(item, column);
    };
    connect(LvwChain, &QTreeWidget::itemDoubleClicked, this, edit);
    named_.assign(rows_.size(), false);
    connect(LvwChain, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (naming_)
            return;
        if (column == NameColumn)
            named_[static_cast<size_t>(LvwChain->indexOfTopLevelItem(item))] = true;
        else if (column == CopyColumn)
            nameRows();
    });
    auto* f2 =
        new QShortcut(QKeySequence(Qt::Key_F2), LvwChain, nullptr, nullptr, Qt::WidgetShortcut);
    connect(f2, &QShortcut::activated, this, [this, edit] {
        const int column = LvwChain->currentColumn();
        edit(LvwChain->currentItem(), column == NameColumn ? NameColumn : NewIdColumn);
    });
    for (int c = 0; c < LvwChain->columnCount(); ++c)
        LvwChain->resizeColumnToContents(c);
    LvwChain->setColumnWidth(NewIdColumn, std::max(LvwChain->columnWidth(NewIdColumn), 140));
    LvwChain->setColumnWidth(NameColumn, std::max(LvwChain->columnWidth(NameColumn), 160));

    CmdChainOK = new QPushButton(QStringLiteral("确定"), this);
    CmdChainOK->setObjectName(QStringLiteral("CmdChainOK"));
    CmdChainOK->setDefault(true);
    CmdChainCancel = new QPushButton(QStringLiteral("取消"), this);
    CmdChainCancel->setObjectName(QStringLiteral("CmdChainCancel"));
    connect(CmdChainOK, &QPushButton::clicked, this, &FrmChain::chosen);
    connect(CmdChainCancel, &QPushButton::clicked, this, &QDialog::reject);

    // A copy's suffix tells it from its original in every list.
    TxtChainName = new QLineEdit(copying ? QStringLiteral(" 2") : QString(), this);
    TxtChainName->setObjectName(QStringLiteral("TxtChainName"));
    connect(TxtChainName, &QLineEdit::textChanged, this, &FrmChain::nameRows);
    auto* naming = new QHBoxLayout;
    naming->addWidget(
        new QLabel(copying ? QStringLiteral("名称后缀：") : QStringLiteral("名称："), this));
    naming->addWidget(TxtChainName, 1);
    nameRows();
    // A new chain's trigger is told who uses it and when, under its name; its rows are all
    // made, so the original IDs and the ticks have nothing to show.
    QHBoxLayout* firing = nullptr;
    if (!copying) {
        LvwChain->setColumnHidden(OriginalColumn, true);
        LvwChain->setColumnHidden(CopyColumn, true);
        const auto choice = [this](const char* name, const QStringList& items, bool editable) {
            auto* box = new QComboBox(this);
            box->setObjectName(QLatin1String(name));
            box->setEditable(editable);
            box->addItems(items);
            return box;
        };
        CboChainCountry = choice("CboChainCountry", {QStringLiteral("<all>")}, true);
        QStringList sides, conditions{QStringLiteral("-1")};
        for (int i = 0; i <= 7; ++i) {
            if (i <= 6)
                sides << QString::number(i);
            conditions << QString::number(i);
        }
        CboChainOwner = choice("CboChainOwner", sides, false);
        CboChainKey = choice("CboChainKey", conditions, false);
        const auto describe = [](QComboBox* box, QString (*text)(const QString&)) {
            for (int i = 0; i < box->count(); ++i)
                box->setItemText(i,
                                 box->itemText(i) + QStringLiteral("　") + text(box->itemText(i)));
        };
        describe(CboChainOwner, fieldrules::sideDescription);
        describe(CboChainKey, fieldrules::conditionDescription);
        firing = new QHBoxLayout;
        firing->addWidget(new QLabel(QStringLiteral("国家："), this));
        firing->addWidget(CboChainCountry, 2);
        firing->addWidget(new QLabel(QStringLiteral("所属方："), this));
        firing->addWidget(CboChainOwner, 2);
        firing->addWidget(new QLabel(QStringLiteral("触发条件："), this));
        firing->addWidget(CboChainKey, 3);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdChainOK);
    buttons->addWidget(CmdChainCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        copying ? QStringLiteral(
                      "双击“新 ID”或“名称”可修改；不勾选“复制”的记录不复制，副本仍使用原记录。")
                : QStringLiteral("双击“新 ID”或“名称”可修改。"),
        this));
    layout->addLayout(naming);
    if (firing)
        layout->addLayout(firing);
    layout->addWidget(LvwChain, 1);
    layout->addLayout(buttons);
    resize(620, 290);
    TxtChainName->setFocus(Qt::OtherFocusReason);
}

void FrmChain::nameRows() {
    naming_ = true;
    const QString text = TxtChainName->text();
    for (int i = 0; i < LvwChain->topLevelItemCount(); ++i) {
        const auto row = static_cast<size_t>(i);
        QTreeWidgetItem* item = LvwChain->topLevelItem(i);
        if (named_[row])
            continue;
        // A record without a name stays so: a suffix alone names nothing.
        const QString& original = rows_[row].newName;
        if (!copying_)
            item->setText(NameColumn, text);
        else
            item->setText(NameColumn,
                          item->checkState(CopyColumn) == Qt::Checked && !original.isEmpty()
                              ? original + text
                              : original);
    }
    naming_ = false;
}

QString FrmChain::namingText() const {
    return TxtChainName->text();
}

FrmChain::Firing FrmChain::firing() const {
    if (copying_)
        return {};
    // The side and condition boxes show each value with its description after it.
    const auto value = [](const QComboBox* box) {
        return box->currentText().section(QStringLiteral("　"), 0, 0);
    };
    return {CboChainCountry->currentText().trimmed(), value(CboChainOwner), value(CboChainKey)};
}

void FrmChain::setCountries(const QStringList& countries) {
    if (!CboChainCountry)
        return;
    const QString text = CboChainCountry->currentText();
    CboChainCountry->clear();
    CboChainCountry->addItems(countries);
    CboChainCountry->setEditText(text);
}

std::vector<chain::ChainRow> FrmChain::rows() const {
    std::vector<chain::ChainRow> out = rows_;
    for (int i = 0; i < LvwChain->topLevelItemCount() && i < static_cast<int>(out.size()); ++i) {
        const QTreeWidgetItem* item = LvwChain->topLevelItem(i);
        out[static_cast<size_t>(i)].newId = item->text(NewIdColumn);
        out[static_cast<size_t>(i)].newName = item->text(NameColumn);
        out[static_cast<size_t>(i)].copy = !copying_ || item->checkState(CopyColumn) == Qt::Checked;
    }
    return out;
}

} // namespace tarvok
