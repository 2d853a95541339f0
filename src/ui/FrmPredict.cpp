#include "ui/FrmPredict.h"

#include "catalogues/Catalogues.h"
#include "ui/ChoiceSearch.h"
#include "ui/FieldHelpers.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvok {

namespace {

const QString kTitle = QStringLiteral("推演电脑的选择");
const QString kStateFilter = QStringLiteral("推演状态 (*.json)|*.json");
constexpr int kSortRole = Qt::UserRole;
constexpr int kChanceRole = Qt::UserRole + 1;

enum Column { Id, Name, Outcome, Weight, Chance, AfterSuccess, AfterFailure, Team1, Team2, kCols };

QString weightText(double w) {
    return QString::number(w, 'f', w == std::floor(w) ? 0 : 2);
}

// A count cell's number; 0 for anything else.
long long countIn(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? std::max(0LL, item->text().trimmed().toLongLong()) : 0;
}

QString textIn(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

// The share of the draw drawn as a bar behind the number.
class ChanceBar : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const double chance = index.data(kChanceRole).toDouble();
        if (chance > 0) {
            QRect bar = option.rect.adjusted(1, 2, -1, -2);
            bar.setWidth(std::max(1, static_cast<int>(bar.width() * chance)));
            painter->fillRect(bar, QColor(120, 190, 120, 150));
        }
        QStyledItemDelegate::paint(painter, option, index);
    }
};

// A type cell: the mod's units and buildings to choose from, searched inside as the unit
// boxes are.
class TypeCell : public QStyledItemDelegate {
  public:
    TypeCell(std::function<QStringList()> ids, std::function<QString(const QString&)> nameOf,
             QObject* parent)
        : QStyledItemDelegate(parent), ids_(std::move(ids)), nameOf_(std::move(nameOf)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        QComboBox* box = FieldHelpers::makeCombo(QStringLiteral("CboPredType"), parent);
        box->addItems(ids_());
        searchInside(box, nameOf_);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText().trimmed());
    }

  private:
    std::function<QStringList()> ids_;
    std::function<QString(const QString&)> nameOf_;
};

} // namespace

// The forecast's rows, in file order; the view sorts them.
class PredictModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;
    void show(const forecast::Result* result) {
        beginResetModel();
        result_ = result;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !result_ ? 0 : static_cast<int>(result_->triggers.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kCols;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* names[kCols] = {"ID",     "名称",   "结果",  "分量", "概率",
                                           "成功后", "失败后", "小队1", "小队2"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString::fromUtf8(names[section]);
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const forecast::TriggerResult& t = result_->triggers[static_cast<size_t>(index.row())];
        if (role == kChanceRole)
            return t.chance;
        if (role == Qt::TextAlignmentRole && index.column() >= Weight &&
            index.column() <= AfterFailure)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::ForegroundRole && index.column() == Outcome &&
            t.gate == forecast::Gate::None)
            return QColor(Qt::darkGreen);
        if (role != Qt::DisplayRole && role != kSortRole)
            return {};
        const bool sort = role == kSortRole;
        switch (index.column()) {
        case Id:
            return t.id;
        case Name:
            return t.name;
        case Outcome:
            return t.reason;
        case Weight:
            return sort ? QVariant(t.weight) : QVariant(QString::number(t.weight));
        case Chance:
            return sort ? QVariant(t.chance)
                        : QVariant(QStringLiteral("%1 %").arg(t.chance * 100, 0, 'f', 1));
        case AfterSuccess:
            return sort ? QVariant(t.afterSuccess) : QVariant(weightText(t.afterSuccess));
        case AfterFailure:
            return sort ? QVariant(t.afterFailure) : QVariant(weightText(t.afterFailure));
        case Team1:
            return t.team1;
        default:
            return t.team2;
        }
    }

  private:
    const forecast::Result* result_ = nullptr;
};

FrmPredict::FrmPredict(PanelKit& kit, RulesDocument& doc, QWidget* parent)
    : QWidget(parent, Qt::Window), kit_(kit), doc_(doc) {
    setObjectName(QStringLiteral("FrmPredict"));
    setWindowTitle(kTitle);
    createControls();
    resize(1180, 620);
    follow();
}

FrmPredict::~FrmPredict() = default;

void FrmPredict::createControls() {
    auto* left = new QWidget;
    auto* form = new QFormLayout(left);
    const auto combo = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    CboPredCountry = combo("CboPredCountry");
    CboPredCountry->setEditable(true);
    CboPredLevel = combo("CboPredLevel");
    CboPredLevel->addItems({QStringLiteral("第 1 档（简单敌人允许）"),
                            QStringLiteral("第 2 档（中等敌人允许）"),
                            QStringLiteral("第 3 档（冷酷敌人允许）")});
    CboPredLevel->setToolTip(QStringLiteral(
        "一个档位同时决定触发读哪个难度开关（字段 15、16、17），以及 [General] 中按档位列出的值"
        "（TotalAITeamCap 等）取第几项；电脑的哪个难度对应哪个档位尚无定论"));
    ChkPredSkirmish = new QCheckBox(QStringLiteral("遭遇战"), this);
    ChkPredSkirmish->setObjectName(QStringLiteral("ChkPredSkirmish"));
    ChkPredSkirmish->setChecked(true);
    TxtPredTech = new QLineEdit(this);
    TxtPredTech->setObjectName(QStringLiteral("TxtPredTech"));
    TxtPredTech->setValidator(new QIntValidator(-1000000, 1000000, TxtPredTech));
    ChkPredEnemy = new QCheckBox(QStringLiteral("已选定敌人"), this);
    ChkPredEnemy->setObjectName(QStringLiteral("ChkPredEnemy"));
    CboPredEnemy = combo("CboPredEnemy");
    CboPredEnemy->setEditable(true);
    TxtPredCredits = new QLineEdit(QStringLiteral("0"), this);
    TxtPredCredits->setObjectName(QStringLiteral("TxtPredCredits"));
    TxtPredCredits->setValidator(new QIntValidator(TxtPredCredits));
    CboPredPower = combo("CboPredPower");
    CboPredPower->addItems(
        {QStringLiteral("正常"), QStringLiteral("低电"), QStringLiteral("断电")});
    ChkPredSw1 = new QCheckBox(this);
    ChkPredSw1->setObjectName(QStringLiteral("ChkPredSw1"));
    ChkPredSw3 = new QCheckBox(this);
    ChkPredSw3->setObjectName(QStringLiteral("ChkPredSw3"));

    TblPredOwn = new QTableWidget(0, 4, this);
    TblPredOwn->setObjectName(QStringLiteral("TblPredOwn"));
    TblPredOwn->setHorizontalHeaderLabels({QStringLiteral("类型"), QStringLiteral("己方"),
                                           QStringLiteral("敌人"), QStringLiteral("中立")});
    TblPredOwn->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    TblPredOwn->setItemDelegateForColumn(
        0, new TypeCell(
               [this] {
                   const ModWorld& mod = kit_.catalogues().mod();
                   return mod.unitIds() + mod.buildingIds();
               },
               [this](const QString& id) { return kit_.catalogues().mod().nameOf(id); }, this));
    CmdPredFill = new QPushButton(QStringLiteral("填入可建造的建筑"), this);
    CmdPredFill->setObjectName(QStringLiteral("CmdPredFill"));
    TblPredTeams = new QTableWidget(0, 2, this);
    TblPredTeams->setObjectName(QStringLiteral("TblPredTeams"));
    TblPredTeams->setHorizontalHeaderLabels({QStringLiteral("小队类型"), QStringLiteral("数量")});
    TblPredTeams->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    TblPredTeams->setItemDelegateForColumn(
        0, new TypeCell([this] { return forecaster_ ? forecaster_->teamTypes() : QStringList(); },
                        {}, this));
    CmdPredOpen = new QPushButton(QStringLiteral("打开状态…"), this);
    CmdPredOpen->setObjectName(QStringLiteral("CmdPredOpen"));
    CmdPredSave = new QPushButton(QStringLiteral("保存状态…"), this);
    CmdPredSave->setObjectName(QStringLiteral("CmdPredSave"));

    form->addRow(QStringLiteral("电脑的国家"), CboPredCountry);
    form->addRow(QStringLiteral("档位"), CboPredLevel);
    auto* techRow = new QHBoxLayout;
    techRow->addWidget(ChkPredSkirmish);
    techRow->addWidget(new QLabel(QStringLiteral("科技等级")));
    techRow->addWidget(TxtPredTech);
    form->addRow(techRow);
    form->addRow(ChkPredEnemy, CboPredEnemy);
    auto* enemyRow = new QHBoxLayout;
    enemyRow->addWidget(new QLabel(QStringLiteral("资金")));
    enemyRow->addWidget(TxtPredCredits);
    enemyRow->addWidget(new QLabel(QStringLiteral("电力")));
    enemyRow->addWidget(CboPredPower);
    form->addRow(enemyRow);
    form->addRow(QStringLiteral("超级武器就绪"), ChkPredSw1);
    form->addRow(QString(), ChkPredSw3);
    form->addRow(TblPredOwn);
    form->addRow(CmdPredFill);
    form->addRow(TblPredTeams);
    auto* files = new QHBoxLayout;
    files->addWidget(CmdPredOpen);
    files->addWidget(CmdPredSave);
    form->addRow(files);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    LblPredSummary = new QLabel(this);
    LblPredSummary->setObjectName(QStringLiteral("LblPredSummary"));
    LblPredSummary->setWordWrap(true);
    auto* note =
        new QLabel(QStringLiteral("推演不考虑地图上能否到达目标，也不计入电脑已有的单位。"), this);
    model_ = new PredictModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(kSortRole);
    TblPredict = new QTableView(this);
    TblPredict->setObjectName(QStringLiteral("TblPredict"));
    TblPredict->setModel(sorted_);
    TblPredict->setSortingEnabled(true);
    TblPredict->sortByColumn(Chance, Qt::DescendingOrder);
    TblPredict->setSelectionBehavior(QAbstractItemView::SelectRows);
    TblPredict->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TblPredict->verticalHeader()->hide();
    TblPredict->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    TblPredict->horizontalHeader()->setSectionResizeMode(Outcome, QHeaderView::Stretch);
    TblPredict->setItemDelegateForColumn(Chance, new ChanceBar(this));
    rightLayout->addWidget(LblPredSummary);
    rightLayout->addWidget(note);
    rightLayout->addWidget(TblPredict, 1);

    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);

    const auto changed = [this] {
        if (!showing_)
            forecastNow();
    };
    connect(CboPredCountry, &QComboBox::currentTextChanged, this, changed);
    connect(CboPredLevel, &QComboBox::currentIndexChanged, this, changed);
    connect(ChkPredSkirmish, &QCheckBox::toggled, this, changed);
    connect(TxtPredTech, &QLineEdit::textChanged, this, changed);
    connect(ChkPredEnemy, &QCheckBox::toggled, this, changed);
    connect(CboPredEnemy, &QComboBox::currentTextChanged, this, changed);
    connect(TxtPredCredits, &QLineEdit::textChanged, this, changed);
    connect(CboPredPower, &QComboBox::currentIndexChanged, this, changed);
    connect(ChkPredSw1, &QCheckBox::toggled, this, changed);
    connect(ChkPredSw3, &QCheckBox::toggled, this, changed);
    for (QTableWidget* table : {TblPredOwn, TblPredTeams})
        connect(table, &QTableWidget::cellChanged, this, [this, table, changed] {
            if (showing_)
                return;
            keepEmptyRow(table);
            changed();
        });
    connect(CmdPredFill, &QPushButton::clicked, this, &FrmPredict::CmdPredFill_Click);
    connect(CmdPredOpen, &QPushButton::clicked, this, &FrmPredict::CmdPredOpen_Click);
    connect(CmdPredSave, &QPushButton::clicked, this, &FrmPredict::CmdPredSave_Click);
    connect(TblPredict, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (choose_)
            choose_(sorted_->index(index.row(), Id).data().toString());
    });
}

void FrmPredict::keepEmptyRow(QTableWidget* table) {
    const int rows = table->rowCount();
    if (rows == 0 || !textIn(table, rows - 1, 0).isEmpty()) {
        const bool was = showing_;
        showing_ = true;
        table->insertRow(rows);
        showing_ = was;
    }
}

void FrmPredict::follow() {
    index_ = doc_.index();
    const ModWorld& mod = kit_.catalogues().mod();
    forecaster_.reset();
    if (index_ && mod.inUse()) {
        world_ = mod.world();
        forecaster_ =
            std::make_unique<forecast::Forecaster>(index_->text(), index_->codec(), world_);
    }
    fillChoices();
    forecastNow();
}

void FrmPredict::fillChoices() {
    const bool was = showing_;
    showing_ = true;
    const ModWorld& mod = kit_.catalogues().mod();
    for (QComboBox* box : {CboPredCountry, CboPredEnemy}) {
        const QString current = box->currentText();
        box->clear();
        box->addItems(world_.countries);
        box->setCurrentText(
            current.isEmpty() && !world_.countries.isEmpty() ? world_.countries.front() : current);
    }
    if (TxtPredTech->text().isEmpty())
        TxtPredTech->setPlaceholderText(QString::number(world_.maxTechLevel));
    const auto weaponName = [&](int i) {
        if (i >= world_.superWeapons.size())
            return QStringLiteral("第 %1 项（规则文件中没有）").arg(i);
        const QString id = world_.superWeapons[i];
        const QString name = mod.displayNameOf(id);
        return name.isEmpty() ? id : QStringLiteral("%1（%2）").arg(name, id);
    };
    ChkPredSw1->setText(weaponName(1));
    ChkPredSw3->setText(weaponName(3));
    keepEmptyRow(TblPredOwn);
    keepEmptyRow(TblPredTeams);
    showing_ = was;
}

forecast::State FrmPredict::state() const {
    forecast::State s;
    s.country = CboPredCountry->currentText().trimmed();
    s.level = CboPredLevel->currentIndex() + 1;
    s.skirmish = ChkPredSkirmish->isChecked();
    if (bool ok = false; !TxtPredTech->text().trimmed().isEmpty()) {
        const long long tech = TxtPredTech->text().trimmed().toLongLong(&ok);
        if (ok)
            s.techLevel = tech;
    }
    if (ChkPredEnemy->isChecked()) {
        forecast::Enemy e;
        e.country = CboPredEnemy->currentText().trimmed();
        e.credits = TxtPredCredits->text().trimmed().toLongLong();
        e.power = static_cast<forecast::Power>(std::max(0, CboPredPower->currentIndex()));
        s.enemy = e;
    }
    for (int row = 0; row < TblPredOwn->rowCount(); ++row) {
        const QString type = textIn(TblPredOwn, row, 0);
        if (type.isEmpty())
            continue;
        if (const long long n = countIn(TblPredOwn, row, 1))
            s.owns[type] += n;
        if (const long long n = countIn(TblPredOwn, row, 2); n && s.enemy)
            s.enemy->owns[type] += n;
        if (const long long n = countIn(TblPredOwn, row, 3))
            s.neutral[type] += n;
    }
    for (int row = 0; row < TblPredTeams->rowCount(); ++row)
        if (const QString team = textIn(TblPredTeams, row, 0); !team.isEmpty())
            s.teams[team] += countIn(TblPredTeams, row, 1);
    if (ChkPredSw1->isChecked())
        s.superWeaponsReady << 1;
    if (ChkPredSw3->isChecked())
        s.superWeaponsReady << 3;
    s.weights = weights_;
    return s;
}

void FrmPredict::showState(const forecast::State& s) {
    showing_ = true;
    CboPredCountry->setCurrentText(s.country);
    CboPredLevel->setCurrentIndex(s.level - 1);
    ChkPredSkirmish->setChecked(s.skirmish);
    TxtPredTech->setText(s.techLevel ? QString::number(*s.techLevel) : QString());
    ChkPredEnemy->setChecked(s.enemy.has_value());
    CboPredEnemy->setCurrentText(s.enemy ? s.enemy->country : QString());
    TxtPredCredits->setText(QString::number(s.enemy ? s.enemy->credits : 0));
    CboPredPower->setCurrentIndex(s.enemy ? static_cast<int>(s.enemy->power) : 0);
    ChkPredSw1->setChecked(s.superWeaponsReady.contains(1));
    ChkPredSw3->setChecked(s.superWeaponsReady.contains(3));
    // One row per type, in the order of the three maps.
    QStringList types = s.owns.keys();
    const auto add = [&types](const QMap<QString, long long>& counts) {
        for (const QString& t : counts.keys())
            if (!types.contains(t))
                types << t;
    };
    if (s.enemy)
        add(s.enemy->owns);
    add(s.neutral);
    TblPredOwn->setRowCount(0);
    for (const QString& type : types) {
        const int row = TblPredOwn->rowCount();
        TblPredOwn->insertRow(row);
        TblPredOwn->setItem(row, 0, new QTableWidgetItem(type));
        TblPredOwn->setItem(row, 1, new QTableWidgetItem(QString::number(s.owns.value(type))));
        TblPredOwn->setItem(
            row, 2, new QTableWidgetItem(QString::number(s.enemy ? s.enemy->owns.value(type) : 0)));
        TblPredOwn->setItem(row, 3, new QTableWidgetItem(QString::number(s.neutral.value(type))));
    }
    TblPredTeams->setRowCount(0);
    for (auto it = s.teams.begin(); it != s.teams.end(); ++it) {
        const int row = TblPredTeams->rowCount();
        TblPredTeams->insertRow(row);
        TblPredTeams->setItem(row, 0, new QTableWidgetItem(it.key()));
        TblPredTeams->setItem(row, 1, new QTableWidgetItem(QString::number(it.value())));
    }
    keepEmptyRow(TblPredOwn);
    keepEmptyRow(TblPredTeams);
    weights_ = s.weights;
    showing_ = false;
    forecastNow();
}

void FrmPredict::forecastNow() {
    if (!forecaster_) {
        result_ = {};
        model_->show(&result_);
        LblPredSummary->setText(index_ ? QStringLiteral("推演需要游戏规则文件") : QString());
        return;
    }
    result_ = forecaster_->run(state());
    model_->show(&result_);
    LblPredSummary->setText(result_.summary);
}

void FrmPredict::CmdPredFill_Click() {
    if (!forecaster_)
        return;
    const ModWorld& mod = kit_.catalogues().mod();
    const forecast::State s = state();
    const long long tech = s.techLevel.value_or(world_.maxTechLevel);
    QStringList have;
    for (int row = 0; row < TblPredOwn->rowCount(); ++row)
        have << forecast::foldName(textIn(TblPredOwn, row, 0));
    showing_ = true;
    for (const QString& id : mod.buildingIds()) {
        const auto rule = world_.types.find(id);
        if (rule == world_.types.end() || have.contains(forecast::foldName(id)) ||
            !forecast::buildRefusal(rule->second, s.country, tech).isEmpty())
            continue;
        have << forecast::foldName(id);
        int row = TblPredOwn->rowCount() - 1; // the empty row at the end
        if (row < 0 || !textIn(TblPredOwn, row, 0).isEmpty())
            TblPredOwn->insertRow(row = TblPredOwn->rowCount());
        TblPredOwn->setItem(row, 0, new QTableWidgetItem(id));
        TblPredOwn->setItem(row, 1, new QTableWidgetItem(QStringLiteral("1")));
        keepEmptyRow(TblPredOwn);
    }
    showing_ = false;
    forecastNow();
}

void FrmPredict::CmdPredOpen_Click() {
    const QString folder = doc_.isOpen() ? QFileInfo(doc_.path()).absolutePath() : QString();
    const QString path = kit_.messages().dialogs().openFile(this, kStateFilter, folder, {});
    if (path.isEmpty())
        return;
    const forecast::StateRead read = forecast::loadState(path);
    if (!read.state) {
        kit_.messages().dialogs().message(this, read.error, kTitle, MsgIcon::Information,
                                          MsgButtons::Ok);
        return;
    }
    showState(*read.state);
}

void FrmPredict::CmdPredSave_Click() {
    const QString folder = doc_.isOpen() ? QFileInfo(doc_.path()).absolutePath() : QString();
    const QString path = kit_.messages().dialogs().saveFile(this, kStateFilter, folder,
                                                            QStringLiteral("state.json"));
    if (path.isEmpty())
        return;
    const filestore::WriteResult written = forecast::saveState(path, state());
    if (written.result != filestore::Result::Ok)
        kit_.messages().dialogs().message(this, messages::writeFailure(written), kTitle,
                                          MsgIcon::Information, MsgButtons::Ok);
}

} // namespace tarvok
