#include "ui/RecordPanel.h"

#include "ui/Messages.h"
#include "ui/PanelKit.h"

namespace tarvok {

RecordPanel::RecordPanel(PanelKit& kit, QString notFoundMessage, QObject* parent)
    : QObject(parent), kit_(kit), notFoundMessage_(std::move(notFoundMessage)) {}

RecordPanel::Saved RecordPanel::refuse(SaveMode mode, const QString& message) {
    if (mode == SaveMode::Button)
        kit_.msg(message, messages::kErrorTitle, MsgIcon::Information);
    return Saved::Skipped;
}

RecordPanel::Saved RecordPanel::checkLoaded(SaveMode mode) {
    if (!found_)
        return refuse(mode, notFoundMessage_);
    if (!decodes_)
        return refuse(mode, messages::kUndecodable);
    return Saved::Done;
}

RecordPanel::Saved RecordPanel::finishWrite(SaveMode mode, bool found,
                                            const filestore::WriteResult& result,
                                            const QString& confirmation) {
    if (!kit_.reportWrite(result))
        return Saved::Failed;
    if (!found)
        return refuse(mode, notFoundMessage_);
    kit_.msg(confirmation);
    emit saved();
    return Saved::Done;
}

} // namespace tarvok
