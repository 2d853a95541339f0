#include "app/PredictCommand.h"

#include "catalogues/Catalogues.h"
#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "document/RulesScan.h"
#include "records/Forecast.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <algorithm>
#include <array>

namespace tarvok::cli {
namespace {

void write(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
}

} // namespace

int predict(const QString& file, const QString& statePath, const QString& rules, bool json,
            FILE* out, FILE* err) {
    const auto refuse = [err](const QString& why) {
        write(err, QStringLiteral("tarvok: %1\n").arg(why));
        return 2;
    };
    const std::optional<RulesDocument::Joined> joined = RulesDocument::readJoined(file);
    if (!joined)
        return refuse(QStringLiteral("无法读取文件 %1").arg(file));
    if (!holdsAiSections(joined->bytes))
        return refuse(
            QStringLiteral("文件 %1 中没有 AI 节（[AITriggerTypes]、[TeamTypes]、[TaskForces]、"
                           "[ScriptTypes]）")
                .arg(file));
    const forecast::StateRead state = forecast::loadState(statePath);
    if (!state.state)
        return refuse(state.error);
    const RulesIndex index(joined->bytes);
    Catalogues catalogues{ProgramFiles(QCoreApplication::applicationDirPath())};
    using Mode = ModWorld::Choice::Mode;
    catalogues.updateMod(
        file, index, rules.isEmpty() ? ModWorld::Choice{} : ModWorld::Choice{Mode::File, rules});
    if (!catalogues.mod().inUse())
        return refuse(rules.isEmpty()
                          ? QStringLiteral("推演需要游戏规则文件：%1 旁没有找到").arg(file)
                          : QStringLiteral("无法读取游戏规则文件 %1").arg(rules));

    const forecast::Forecaster forecaster(index.text(), index.codec(), catalogues.mod().world());
    const forecast::Result result = forecaster.run(*state.state);
    if (json) {
        write(out, QString::fromUtf8(
                       QJsonDocument(forecast::toJson(result)).toJson(QJsonDocument::Indented)));
    } else {
        std::vector<const forecast::TriggerResult*> picked;
        std::array<int, forecast::kGateCount> stopped{};
        for (const forecast::TriggerResult& t : result.triggers) {
            if (t.gate == forecast::Gate::None && t.weight >= 1)
                picked.push_back(&t);
            ++stopped[static_cast<size_t>(t.gate)];
        }
        std::stable_sort(picked.begin(), picked.end(),
                         [](auto* a, auto* b) { return a->chance > b->chance; });
        QString text;
        for (const forecast::TriggerResult* t : picked)
            text += QStringLiteral("%1 %2  概率 %3 %  分量 %4\n")
                        .arg(t->id, t->name)
                        .arg(t->chance * 100, 0, 'f', 1)
                        .arg(t->weight);
        for (int g = 1; g < forecast::kGateCount; ++g)
            text += QStringLiteral("%1: %2\n")
                        .arg(forecast::gateName(static_cast<forecast::Gate>(g)))
                        .arg(stopped[static_cast<size_t>(g)]);
        write(out, text);
    }
    write(err, result.summary + QLatin1Char('\n'));
    std::fflush(out);
    return 0;
}

} // namespace tarvok::cli
