#include "ui/FrmCheck.h"

#include "catalogues/Catalogues.h"
#include "document/IniText.h"
#include "document/RulesDocument.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarvok {
namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kRecordRole = Qt::UserRole + 1;

// A row that stands for no problem: a note across all columns.
void addNote(QTreeWidget* view, const QString& text) {
    auto* item = new QTreeWidgetItem(view, QStringList{text});
    item->setFirstColumnSpanned(true);
}

} // namespace

FrmCheck::FrmCheck(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FrmCheck"));
    setWindowTitle(QStringLiteral("检查文件"));
    LvwCheck = new QTreeWidget(this);
    LvwCheck->setObjectName(QStringLiteral("LvwCheck"));
    LvwCheck->setRootIsDecorated(false);
    LvwCheck->setUniformRowHeights(true);
    LvwCheck->setHeaderLabels({QStringLiteral("级别"), QStringLiteral("类型"),
                               QStringLiteral("记录"), QStringLiteral("行"),
                               QStringLiteral("说明")});
    LvwCheck->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LvwCheck);
    resize(820, 420);

    connect(LvwCheck, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        const auto kind = static_cast<filecheck::RecordKind>(item->data(0, kKindRole).toInt());
        if (kind != filecheck::RecordKind::None && choose_)
            choose_(kind, item->data(0, kRecordRole).toString());
    });
}

// The one place the window reads the rules file.
void FrmCheck::checkFile(RulesDocument& doc, const Catalogues& known) {
    doc.refresh();
    const std::shared_ptr<const RulesIndex> index = doc.index();
    if (!index) {
        LvwCheck->clear();
        addNote(LvwCheck, QStringLiteral("无法读取文件"));
        return;
    }
    showProblems(known.checkFile(*index, doc.includeProblems()));
}

namespace {

// The line of a problem; of an included file, with the file's name.
QString lineText(const filecheck::Problem& p) {
    if (p.line <= 0)
        return {};
    return p.file.isEmpty() ? QString::number(p.line)
                            : QStringLiteral("%1 第 %2 行").arg(p.file).arg(p.line);
}

} // namespace

void FrmCheck::showProblems(const std::vector<filecheck::Problem>& problems) {
    LvwCheck->clear();
    if (problems.empty()) {
        addNote(LvwCheck, QStringLiteral("未发现问题"));
        return;
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(problems.size()));
    for (const filecheck::Problem& p : problems) {
        auto* item = new QTreeWidgetItem(
            QStringList{filecheck::levelText(p.level), p.kind, p.record, lineText(p), p.text});
        item->setData(0, kKindRole, static_cast<int>(p.recordKind));
        item->setData(0, kRecordRole, p.record);
        if (p.level == filecheck::Level::Error)
            item->setForeground(0, QColor(Qt::red));
        rows.append(item);
    }
    LvwCheck->addTopLevelItems(rows);
    for (int c = 0; c < 4; ++c)
        LvwCheck->resizeColumnToContents(c);
}

} // namespace tarvok
