// The script action catalogue and the building tables, read from the program directory.
#include "ui/FrmMain.h"

#include "catalogues/ActionCatalogue.h"

#include <QListWidget>

namespace tarvok {

void FrmMain::LoadActionParameters(const QString& actionName) {
    const std::optional<QStringList> lines = readDataFile(QStringLiteral("Scr.WQ"));
    if (!lines)
        return;
    // Without a block for the action the list keeps what it showed.
    const std::optional<QStringList> choices = catalogue::actionChoices(*lines, actionName);
    if (!choices)
        return;
    LstScrNumber->clear();
    LstScrNumber->addItems(*choices);
}

void FrmMain::ListBuildingNames() {
    const std::optional<QStringList> lines = readDataFile(QStringLiteral("ID.WQ"));
    if (!lines)
        return;
    LstScrNumber->addItems(catalogue::buildingNames(*lines));
}

QString FrmMain::LookupBuildingName(const QString& buildingId) {
    const std::optional<QStringList> lines = readDataFile(QStringLiteral("ID.WQ"));
    return lines ? catalogue::lastValueOf(*lines, buildingId) : QString();
}

QString FrmMain::LookupBuildingId(const QString& buildingName) {
    const std::optional<QStringList> lines = readDataFile(QStringLiteral("ID2.WQ"));
    return lines ? catalogue::lastKeyOf(*lines, buildingName) : QString();
}

} // namespace tarvok
