#include "ui/FrmCompare.h"

#include "document/RulesDocument.h"
#include "records/FieldRules.h"
#include "records/References.h"
#include "records/TakeAcross.h"
#include "ui/Messages.h"
#include "ui/PanelKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarvok {
namespace {

using compare::Change;
using compare::Kind;

constexpr int kKindRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kSearchRole = Qt::UserRole + 2;
constexpr int kRecordRole = Qt::UserRole + 3; // true on a record's row

const QString kFilter =
    QStringLiteral("规则文件(*.ini)|*.ini|地图文件(*.map *.mpr)|*.map;*.mpr|所有文件(*)|*");

QString titleOf(const compare::Counts& c) {
    return QStringLiteral("比较：%1 处新增，%2 处删除，%3 处修改")
        .arg(c.added)
        .arg(c.removed)
        .arg(c.changed);
}

} // namespace

FrmCompare::FrmCompare(PanelKit& kit, RulesDocument& doc, QWidget* parent)
    : QWidget(parent, Qt::Window), kit_(kit), doc_(doc) {
    setObjectName(QStringLiteral("FrmCompare"));
    setWindowTitle(titleOf({}));
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    CmdCompareFile = named(new QPushButton(QStringLiteral("选择文件…"), this), "CmdCompareFile");
    CboCompareVersion = named(new QComboBox(this), "CboCompareVersion");
    CboCompareVersion->setMinimumContentsLength(14);
    TxtCompareFind = named(new QLineEdit(this), "TxtCompareFind");
    TxtCompareFind->setPlaceholderText(QStringLiteral("筛选（ID、名称或单位）"));
    TxtCompareFind->setClearButtonEnabled(true);
    ChkCompareSame = named(new QCheckBox(QStringLiteral("显示相同的记录"), this), "ChkCompareSame");
    ChkCompareChain = named(new QCheckBox(QStringLiteral("连同引用"), this), "ChkCompareChain");
    ChkCompareChain->setChecked(true);
    ChkCompareChain->setToolTip(
        QStringLiteral("同时采用所勾选记录使用的、当前文件中没有的作战小队、特遣小队和脚本"));
    TvwCompare = named(new QTreeWidget(this), "TvwCompare");
    TvwCompare->setHeaderHidden(true);
    TvwCompare->setUniformRowHeights(true);
    CmdCompareTake =
        named(new QPushButton(QStringLiteral("采用到当前文件"), this), "CmdCompareTake");

    auto* top = new QHBoxLayout;
    top->addWidget(CmdCompareFile);
    top->addWidget(CboCompareVersion, 1);
    auto* filters = new QHBoxLayout;
    filters->addWidget(TxtCompareFind, 1);
    filters->addWidget(ChkCompareSame);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ChkCompareChain);
    bottom->addStretch(1);
    bottom->addWidget(CmdCompareTake);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filters);
    layout->addWidget(TvwCompare, 1);
    layout->addLayout(bottom);
    resize(720, 520);

    connect(CmdCompareFile, &QPushButton::clicked, this, &FrmCompare::CmdCompareFile_Click);
    connect(CboCompareVersion, &QComboBox::activated, this, &FrmCompare::CboCompareVersion_Click);
    connect(CmdCompareTake, &QPushButton::clicked, this, &FrmCompare::CmdCompareTake_Click);
    connect(TxtCompareFind, &QLineEdit::textChanged, this, &FrmCompare::applyFilter);
    connect(ChkCompareSame, &QCheckBox::toggled, this, &FrmCompare::compareNow);
    connect(TvwCompare, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        if (item->data(0, kRecordRole).toBool() && choose_)
            choose_(static_cast<Kind>(item->data(0, kKindRole).toInt()),
                    item->data(0, kIdRole).toString());
    });
    // The open file changed (a take, a save, an undo): compared again.
    connect(&doc_, &RulesDocument::changed, this, [this] {
        if (isVisible() && other_)
            compareNow();
    });
}

void FrmCompare::start() {
    CboCompareVersion->clear();
    const History* history = doc_.history();
    if (history)
        for (const History::Version& v : history->all(History::Stack::Undo))
            CboCompareVersion->addItem(
                QStringLiteral("%1 的版本").arg(v.time.toString(QStringLiteral("HH:mm:ss"))),
                v.file);
    if (CboCompareVersion->count() > 0) {
        CboCompareVersion->setCurrentIndex(0);
        CboCompareVersion_Click(0);
    } else {
        CboCompareVersion->setCurrentIndex(-1);
        compareNow();
    }
}

void FrmCompare::setOther(QByteArray bytes) {
    other_ = std::make_shared<const RulesIndex>(std::move(bytes));
    compareNow();
}

void FrmCompare::CmdCompareFile_Click() {
    const QString start = doc_.isOpen() ? QFileInfo(doc_.path()).absolutePath() : QString();
    const QString path =
        kit_.messages().dialogs().openFile(this, kFilter, start, doc_.scratchPath());
    if (path.isEmpty())
        return;
    std::optional<RulesDocument::Joined> joined = RulesDocument::readJoined(path);
    if (!joined) {
        kit_.messages().msg(QStringLiteral("无法读取文件 %1").arg(path), messages::kErrorTitle);
        return;
    }
    if (!joined->problems.isEmpty())
        kit_.messages().status(joined->problems.join(QStringLiteral("；")));
    CboCompareVersion->setCurrentIndex(-1);
    setOther(std::move(joined->bytes));
}

void FrmCompare::CboCompareVersion_Click(int index) {
    const History* history = doc_.history();
    const std::optional<RulesDocument::Content> now = doc_.read();
    if (!history || !now || index < 0)
        return;
    const History::Version version{CboCompareVersion->itemData(index).toString(), {}, {}};
    const std::optional<QByteArray> bytes = history->read(version);
    const std::optional<QByteArray> whole =
        bytes ? compare::versionWithFilesNow(*bytes, now->bytes) : std::nullopt;
    if (!whole) {
        kit_.messages().status(QStringLiteral("无法读取所选版本"));
        return;
    }
    setOther(*whole);
}

void FrmCompare::compareNow() {
    const std::shared_ptr<const RulesIndex> mine = doc_.index();
    differences_.clear();
    ownValues_.clear();
    if (mine && other_) {
        const compare::Side old(*other_), now(*mine);
        differences_ = compare::compare(old, now, ChkCompareSame->isChecked());
        for (const compare::Difference& d : differences_) {
            QStringList values;
            const compare::Side& side = d.change == Change::Removed ? old : now;
            const TextCodec& codec = side.index().codec();
            if (d.change == Change::Added || d.change == Change::Removed)
                if (const compare::Record* r = side.find(d.kind, codec.encode(d.id)))
                    for (const compare::RawValue& v : compare::Side::values(*r))
                        values << codec.decode(v.value);
            ownValues_.push_back(std::move(values));
        }
    }
    setWindowTitle(titleOf(compare::countsOf(differences_)));
    showTree();
}

void FrmCompare::showTree() {
    TvwCompare->setUpdatesEnabled(false);
    TvwCompare->clear();
    QTreeWidgetItem* kinds[4] = {};
    const Catalogues& known = kit_.catalogues();
    for (size_t n = 0; n < differences_.size(); ++n) {
        const compare::Difference& d = differences_[n];
        QTreeWidgetItem*& parent = kinds[int(d.kind)];
        if (!parent) {
            parent = new QTreeWidgetItem(TvwCompare, QStringList{compare::kindText(d.kind)});
            parent->setExpanded(true);
        }
        QString text = d.name.isEmpty() ? d.id : d.id + QLatin1Char(' ') + d.name;
        if (d.change != Change::Same)
            text += QStringLiteral("（%1）").arg(compare::changeText(d.change));
        auto* record = new QTreeWidgetItem(parent, QStringList{text});
        record->setData(0, kKindRole, int(d.kind));
        record->setData(0, kIdRole, d.id);
        record->setData(0, kRecordRole, true);
        if (d.change != Change::Same)
            record->setCheckState(0, Qt::Unchecked);
        // What the filter finds: ID, name, and the units the values name, by ID or name.
        QString search = d.id + QLatin1Char('\n') + d.name;
        const auto searchIn = [&](const QString& value) {
            for (const QString& part : value.split(QLatin1Char(','))) {
                search += QLatin1Char('\n') + part;
                const QString name = known.displayName(part.trimmed());
                if (!name.isEmpty())
                    search += QLatin1Char('\n') + name;
            }
        };
        for (const compare::Value& v : d.values) {
            new QTreeWidgetItem(record, QStringList{compare::valueText(d.kind, v)});
            for (const std::optional<QString>& side : {v.old, v.now})
                if (side)
                    searchIn(*side);
        }
        for (const QString& value : ownValues_[n])
            searchIn(value);
        record->setData(0, kSearchRole, fieldrules::searchKey(search));
    }
    applyFilter();
    TvwCompare->setUpdatesEnabled(true);
}

void FrmCompare::applyFilter() {
    const QString key = fieldrules::searchKey(TxtCompareFind->text().trimmed());
    for (int k = 0; k < TvwCompare->topLevelItemCount(); ++k) {
        QTreeWidgetItem* kind = TvwCompare->topLevelItem(k);
        bool any = false;
        for (int i = 0; i < kind->childCount(); ++i) {
            QTreeWidgetItem* record = kind->child(i);
            const bool shown =
                key.isEmpty() || record->data(0, kSearchRole).toString().contains(key);
            record->setHidden(!shown);
            any = any || shown;
        }
        kind->setHidden(!any);
    }
}

void FrmCompare::CmdCompareTake_Click() {
    const std::shared_ptr<const RulesIndex> mine = doc_.index();
    if (!mine || !other_)
        return;
    std::vector<take::Pick> picks;
    for (int k = 0; k < TvwCompare->topLevelItemCount(); ++k) {
        QTreeWidgetItem* kind = TvwCompare->topLevelItem(k);
        for (int i = 0; i < kind->childCount(); ++i)
            if (kind->child(i)->checkState(0) == Qt::Checked)
                picks.push_back({static_cast<Kind>(kind->child(i)->data(0, kKindRole).toInt()),
                                 kind->child(i)->data(0, kIdRole).toString()});
    }
    if (picks.empty()) {
        kit_.messages().status(QStringLiteral("没有勾选任何记录"));
        return;
    }
    const bool chain = ChkCompareChain->isChecked();
    const take::Plan plan = take::plan(*mine, *other_, picks, chain);
    WindowMessages& m = kit_.messages();
    if (!plan.removals.empty()) {
        const references::RecordReferences refs(*mine);
        QStringList lines;
        for (const take::Pick& p : plan.removals) {
            const int users = refs.users(p.kind, doc_.read()->codec.encode(p.id));
            lines << compare::kindText(p.kind) + QLatin1Char(' ') + p.id +
                         (users > 0 ? QStringLiteral("（有 %1 处使用）").arg(users) : QString());
        }
        if (m.msg(QStringLiteral("以下记录将从当前文件中删除：\n%1\n确定删除？")
                      .arg(lines.join('\n')),
                  messages::kQuestionTitle, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            return;
    }
    QString note;
    const ModWorld& mod = kit_.catalogues().mod();
    if (!mod.inUse()) {
        note = QStringLiteral("未使用游戏规则文件，未检查类型是否已定义；");
    } else {
        QStringList undefined;
        for (const QString& type : plan.types)
            if (!mod.definedIds().contains(type) &&
                !mod.world().countries.contains(type, Qt::CaseInsensitive))
                undefined << type;
        if (!undefined.isEmpty() &&
            m.msg(QStringLiteral("以下类型在当前模组中未定义：%1，仍要采用吗？")
                      .arg(undefined.join(QStringLiteral("、"))),
                  messages::kQuestionTitle, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            return;
    }
    const take::Taken taken = take::TakeAcross(doc_, *other_, picks, chain);
    if (!m.reportWrite(taken.write))
        return;
    m.status(note + (taken.wrote ? take::takenText(taken.counts)
                                 : QStringLiteral("所勾选的记录与当前文件相同，未写入")));
}

} // namespace tarvok
