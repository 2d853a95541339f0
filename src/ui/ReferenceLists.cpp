#include "ui/ReferenceLists.h"

#include "document/Pool.h"
#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "records/FieldRules.h"
#include "ui/Messages.h"

#include <QListWidget>

namespace tarvok {
namespace {

using messages::kindCaption;
using references::Kind;

constexpr int kKindRole = Qt::UserRole + 1;

} // namespace

ReferenceLists::ReferenceLists(RulesDocument& document, QWidget* parent)
    : QObject(parent), document_(document) {
    static const char* const kNames[] = {"LstRefRoot", "LstRefFig", "LstRefSpe", "LstRefScr"};
    for (int i = 0; i < 4; ++i) {
        auto* list = new QListWidget(parent);
        list->setObjectName(QLatin1String(kNames[i]));
        list->setToolTip(QStringLiteral(
            "使用此记录的记录，以及它所用的记录（红色为文件中缺失的）；双击可转到该记录"));
        // A few rows: it shrinks before the registry list above it does.
        const int row = list->fontMetrics().height();
        list->setMinimumHeight(row * 3 + 6);
        list->setMaximumHeight(row * 4 + 8);
        connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            if (item->data(kKindRole).isValid())
                emit chosen(static_cast<Kind>(item->data(kKindRole).toInt()),
                            item->data(Qt::UserRole).toString());
        });
        lists_[i] = list;
    }
    // Asked while the reading of a write was in progress, the lists show once it arrived.
    connect(&document_, &RulesDocument::readingInProgressChanged, this, [this](bool inProgress) {
        if (!inProgress)
            for (int i = 0; i < 4; ++i)
                show(static_cast<Kind>(i), asked_[i]);
    });
}

const references::RecordReferences* ReferenceLists::current() {
    std::shared_ptr<const RulesIndex> index = document_.index();
    if ((!index || index != index_) && refs_) {
        // What was read from the old reading, and the reading, are given back by the pool:
        // nobody waits for them.
        pool::giveBack(std::shared_ptr<const references::RecordReferences>(std::move(refs_)));
        letGo(index_);
    }
    if (index && !refs_) {
        refs_ = std::make_unique<references::RecordReferences>(*index);
        index_ = std::move(index);
    }
    return refs_.get();
}

void ReferenceLists::show(Kind kind, const QString& id) {
    asked_[static_cast<int>(kind)] = id;
    if (document_.readingInProgress())
        return;
    QListWidget* list = this->list(kind);
    list->clear();
    const references::RecordReferences* refs = id.isEmpty() ? nullptr : current();
    if (!refs)
        return;
    const TextCodec& codec = index_->codec();
    const QString key = kind == Kind::Trigger ? fieldrules::triggerId(id) : id;
    for (const references::Reference& r : refs->of(kind, codec.encode(key))) {
        const QString rid = codec.decode(r.id);
        auto* item = new QListWidgetItem(list);
        if (r.missing) {
            item->setText(rid + QStringLiteral(" (缺失)"));
            item->setForeground(Qt::red);
            item->setToolTip(QStringLiteral("文件中没有此%1").arg(kindCaption(r.kind)));
            continue;
        }
        item->setText(rid + QStringLiteral(" (%1)").arg(kindCaption(r.kind)) +
                      (r.own ? QStringLiteral(" ← 所用") : QString()));
        item->setData(Qt::UserRole, codec.decode(r.entry));
        item->setData(kKindRole, static_cast<int>(r.kind));
    }
    if (kind == Kind::Trigger)
        return;
    // A map's own triggers and actions: shown, not chosen.
    const fileset::Origins& origins = index_->origins();
    for (const references::MapUse& use : refs->mapUses(codec.encode(key))) {
        // A line of an included file names its file.
        const QString where = origins.place(use.line).part == 0
                                  ? QString()
                                  : QStringLiteral("，") + origins.describe(use.line);
        new QListWidgetItem(QStringLiteral("[%1] %2 (地图%3)")
                                .arg(codec.decode(use.section), codec.decode(use.key), where),
                            list);
    }
}

QString ReferenceLists::deleteQuestion(Kind kind, const QString& id) {
    const references::RecordReferences* refs = kind == Kind::Trigger ? nullptr : current();
    const QByteArray key = refs ? index_->codec().encode(id) : QByteArray();
    const int users = refs ? refs->users(kind, key) : 0;
    if (users == 0)
        return messages::kConfirmDelete;
    // Triggers use team types; team types use task forces and scripts; in a map, lines of
    // its own sections may use any of them.
    const Kind user = kind == Kind::TeamType ? Kind::Trigger : Kind::TeamType;
    const int inMap = static_cast<int>(refs->mapUses(key).size());
    if (inMap == 0)
        return QStringLiteral("有 %1 个%2使用此%3，确定删除？")
            .arg(users)
            .arg(kindCaption(user), kindCaption(kind));
    if (users == inMap)
        return QStringLiteral("地图中有 %1 处设置使用此%2，确定删除？")
            .arg(inMap)
            .arg(kindCaption(kind));
    return QStringLiteral("有 %1 个%2及地图中 %3 处设置使用此%4，确定删除？")
        .arg(users - inMap)
        .arg(kindCaption(user))
        .arg(inMap)
        .arg(kindCaption(kind));
}

} // namespace tarvok
