#include "ui/RegistryTabs.h"

#include "document/RulesDocument.h"
#include "records/FieldRules.h"
#include "ui/PanelKit.h"
#include "ui/ReferenceLists.h"
#include "ui/RegistryFilter.h"
#include "ui/RegistryListModel.h"
#include "ui/RegistryLists.h"
#include "ui/WidgetMaking.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <iterator>

namespace tarvok {
namespace {

struct TabText {
    const char* caption;
    const char* list;
    const char* filter;
    const char* add;
    const char* addCaption;
    const char* kill;
    const char* killCaption;
};

// In the kinds' order.
const TabText kTabs[] = {
    {"AI触发", "LstRoot", "TxtFindRoot", "CmdAdd", "新增", "CmdKill", "删除"},
    {"作战小队", "LstFig", "TxtFindFig", "CmdTeamAdd", "新增小队", "CmdTeamKill", "删除小队"},
    {"特遣小队", "LstSpe", "TxtFindSpe", "CmdSpeAdd", "新增特遣小队", "CmdSpeKill", "删除特遣"},
    {"脚本", "LstScr", "TxtFindScr", "CmdScrAdd", "新增脚本", "CmdScrKill", "删除脚本"},
};

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

RegistryTabs::RegistryTabs(PanelKit& kit, RulesDocument& doc, QWidget* window)
    : QObject(window), kit_(kit), doc_(doc),
      units_(std::make_unique<UnitFinder>(kit.catalogues(), doc, [this] { refilter(); })) {
    SSTab = new QTabWidget;
    SSTab->setObjectName(QStringLiteral("SSTab"));
    refs_ = new ReferenceLists(doc, window);
    for (size_t i = 0; i < std::size(kTabs); ++i) {
        const TabText& t = kTabs[i];
        auto* page = new QWidget;
        lists_[i] = registrylists::makeList(static_cast<Kind>(i), QLatin1String(t.list), page);
        filters_[i] = registrylists::makeFilter(lists_[i], QLatin1String(t.filter), page);
        static_cast<RegistryFilter*>(lists_[i]->model())->setUnitFinder(units_.get());
        registrylists::entriesOf(lists_[i])->setLatest([&doc] { return doc.index(); });
        filters_[i]->installEventFilter(this); // the focus starts reading what units are used
        adds_[i] = button(t.add, t.addCaption, page);
        kills_[i] = button(t.kill, t.killCaption, page);
        auto* l = new QGridLayout(page);
        // Tight around the list, which takes every spare pixel of the column's height.
        l->setContentsMargins(4, 4, 4, 4);
        l->setVerticalSpacing(4);
        l->setRowStretch(1, 1);
        l->addWidget(filters_[i], 0, 0, 1, 2);
        l->addWidget(lists_[i], 1, 0, 1, 2);
        l->addWidget(adds_[i], 2, 0);
        l->addWidget(kills_[i], 2, 1);
        auto* refs = new QHBoxLayout;
        refs->addWidget(new QLabel(QStringLiteral("引用"), page), 0, Qt::AlignTop);
        refs->addWidget(refs_->list(static_cast<Kind>(i)));
        l->addLayout(refs, 3, 0, 1, 2);
        SSTab->addTab(page, QString::fromUtf8(t.caption));
    }
    SSTab->setMinimumWidth(200);
    // While the reading of a write is in progress the lists, whose selections load records
    // from it, take no click; the focus one of them had comes back with the reading. The
    // uses of that reading are read once it arrives: until then a filter finds by ID and name.
    connect(&doc, &RulesDocument::readingInProgressChanged, this, [this](bool inProgress) {
        for (QListView* list : lists_) {
            if (inProgress && list->hasFocus())
                refocus_ = list;
            list->setEnabled(!inProgress);
        }
        if (inProgress)
            return;
        if (refocus_)
            refocus_->setFocus(Qt::OtherFocusReason);
        refocus_ = nullptr;
        refilter();
    });
    connect(refs_, &ReferenceLists::chosen, this,
            [this](Kind kind, const QString& entry) { selectRecord(kind, entry); });
}

RegistryTabs::~RegistryTabs() = default;

bool RegistryTabs::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        units_->prepare();
    return QObject::eventFilter(watched, event);
}

RegistryListModel* RegistryTabs::entries(Kind kind) const {
    return registrylists::entriesOf(list(kind));
}

void RegistryTabs::fill() {
    registrylists::fillAll(lists_, doc_.index());
}

void RegistryTabs::refill(std::array<bool, 4> lists) {
    std::array<QString, 4> selected;
    for (size_t i = 0; i < lists_.size(); ++i)
        if (lists[i])
            selected[i] = registrylists::selectedEntry(lists_[i]).value_or(QString());
    if (std::find(lists.begin(), lists.end(), true) == lists.end())
        return;
    const std::shared_ptr<const RulesIndex> index = doc_.index();
    for (size_t i = 0; i < lists_.size(); ++i)
        if (lists[i])
            registrylists::entriesOf(lists_[i])->setIndex(index);
    for (size_t i = 0; i < lists_.size(); ++i) {
        if (selected[i].isEmpty())
            continue;
        const int found = registrylists::entriesOf(lists_[i])->texts().indexOf(selected[i]);
        if (const int row = found < 0 ? -1 : registrylists::viewRow(lists_[i], found); row >= 0)
            kit_.focus().selectRowQuietly(lists_[i], row);
    }
}

void RegistryTabs::recordsWritten(const QStringList& ids) {
    for (QListView* list : lists_)
        registrylists::entriesOf(list)->recordsWritten(ids);
}

std::optional<QString> RegistryTabs::selected(Kind kind) const {
    return registrylists::selectedEntry(list(kind));
}

void RegistryTabs::clearOtherSelections(Kind kept) {
    for (QListView* other : lists_)
        if (other != list(kept))
            kit_.focus().clearSelectionQuietly(other);
}

void RegistryTabs::selectRecord(Kind kind, const QString& id) {
    QListView* view = list(kind);
    if (!SSTab->isEnabled()) // locked
        return;
    const QStringList texts = entries(kind)->texts();
    int row = -1;
    for (int i = 0; i < texts.size() && row < 0; ++i)
        if (texts[i] == id || (kind == Kind::Trigger && fieldrules::triggerId(texts[i]) == id))
            row = i;
    if (row < 0)
        return;
    SSTab->setCurrentIndex(static_cast<int>(index(kind)));
    if (registrylists::viewRow(view, row) < 0)
        filters_[index(kind)]->clear();
    kit_.focus().selectAsUser(view, registrylists::viewRow(view, row));
}

void RegistryTabs::setTextColour(const QColor& colour) {
    for (QListView* list : lists_)
        tarvok::setTextColour(list, colour);
}

void RegistryTabs::focusFilter() {
    filters_[static_cast<size_t>(SSTab->currentIndex())]->setFocus(Qt::ShortcutFocusReason);
}

void RegistryTabs::unitNamesChanged() {
    units_->renamed();
    refilter();
}

void RegistryTabs::refilter() {
    for (QListView* list : lists_)
        static_cast<RegistryFilter*>(list->model())->refilter();
}

} // namespace tarvok
