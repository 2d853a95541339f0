#include "ui/RecordPanel.h"

#include "ui/Messages.h"
#include "ui/PanelKit.h"

namespace tarvok {

RecordPanel::RecordPanel(PanelKit& kit, QString notFoundMessage, QObject* parent)
    : QObject(parent), kit_(kit), notFoundMessage_(std::move(notFoundMessage)) {}

RecordPanel::Saved RecordPanel::checkWritable(SaveMode mode, bool inFileNow) {
    QString refusal;
    if (!found_ || !inFileNow)
        refusal = notFoundMessage_;
    else if (!decodes_)
        refusal = messages::kUndecodable;
    if (refusal.isEmpty())
        return Saved::Done;
    if (mode == SaveMode::Button)
        kit_.msg(refusal, messages::kErrorTitle, MsgIcon::Information);
    return Saved::Skipped;
}

RecordPanel::Saved RecordPanel::finishWrite(const filestore::WriteResult& result,
                                            const QString& confirmation) {
    if (!kit_.reportWrite(result))
        return Saved::Failed;
    kit_.msg(confirmation);
    return Saved::Done;
}

} // namespace tarvok
