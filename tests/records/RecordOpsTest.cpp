#include "records/RecordOps.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tarvok;
using namespace tarvok::records;

namespace {

const TextCodec kGbk(Encoding::Gbk);
const QByteArray kBlock(64, '0');

TriggerFields triggerAsLoaded() {
    TriggerFields f;
    f.teams = QStringList{QStringLiteral("TM-A")};
    f.country = QStringLiteral("<all>");
    f.tech = QStringLiteral("10");
    f.condition = QStringLiteral("0");
    f.unit = QStringLiteral("<none>");
    f.amount = QStringLiteral("00");
    f.way = QStringLiteral("0");
    f.base = QStringLiteral("5000");
    f.min = QStringLiteral("10");
    f.max = QStringLiteral("70");
    f.owner = QStringLiteral("1");
    f.low = f.mid = f.high = true;
    return f;
}

using Merge = std::function<std::optional<QByteArray>(const QByteArray& content, bool* found)>;

} // namespace

// A save writes only the values the user changed since the load, each into its own text,
// into the file as it is at that moment: another program's change of another value stays,
// and every other byte with it. Nothing is written for a record the file lacks or when
// nothing changed.
TEST(RecordOps, SavesWriteOnlyWhatChangedSinceTheLoad) {
    const QByteArray triggers = "[AITriggerTypes]\r\nT1=Go,TM-A,Russians,10,0,<none>," + kBlock +
                                ",5000.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1 ; c\r\n";
    TriggerFields tech7 = triggerAsLoaded();
    tech7.tech = QStringLiteral("7");
    const auto trigger = [](const TriggerFields& loaded, const TriggerFields& now,
                            const QString& key) -> Merge {
        return [=](const QByteArray& c, bool* found) {
            return mergeTrigger(c, kGbk, key, loaded, now, found);
        };
    };

    const QByteArray team = "[TM-A]\r\n  Name=A\r\n  Priority=5\r\n  Max=3 ; other\r\n\r\n[X]\r\n";
    TeamFields teamLoaded = newTeamFields();
    teamLoaded[teamtype::Name] = QStringLiteral("A");
    teamLoaded[teamtype::Max] = QStringLiteral("1"); // before another program made it 3
    TeamFields teamNow = teamLoaded;
    teamNow[teamtype::Priority] = QStringLiteral("9");
    teamNow[teamtype::Suicide] = QStringLiteral("no");

    const QByteArray force = "[TF-A]\r\nName=部队\r\n0=1,E1 ; gi\r\n1=2,E2\r\nGroup=-1\r\n";
    const SectionFields forceLoaded{QStringLiteral("部队"), {{"0", "1", "E1"}, {"1", "2", "E2"}}};
    SectionFields forceNow = forceLoaded;
    forceNow.rows[1].first = QStringLiteral("3");
    forceNow.rows.push_back({"2", "1", "HTNK"});
    const auto section = [](const QString& id, const SectionFields& loaded,
                            const SectionFields& now) -> Merge {
        return [=](const QByteArray& c, bool* found) {
            return mergeSection(kGbk.encode(QString()) + c, kGbk, SectionKind::TaskForce, id,
                                loaded, now, found);
        };
    };

    const struct {
        const char* what;
        QByteArray content;
        Merge merge;
        bool found;
        std::optional<QByteArray> written;
    } cases[] = {
        {"trigger: the tech level, the file's own country kept", triggers,
         trigger(triggerAsLoaded(), tech7, QStringLiteral("T1=Go")), true,
         QByteArray(triggers).replace("Russians,10,", "Russians,7,")},
        {"trigger: nothing changed", triggers,
         trigger(triggerAsLoaded(), triggerAsLoaded(), QStringLiteral("T1=Go")), true,
         std::nullopt},
        {"trigger: not in the file", triggers,
         trigger(triggerAsLoaded(), tech7, QStringLiteral("T2=Go")), false, std::nullopt},
        {"team type: a value replaced, a missing key added after the last", team,
         [&](const QByteArray& c, bool* found) {
             return mergeTeamType(c, kGbk, QStringLiteral("TM-A"), teamLoaded, teamNow, found);
         },
         true,
         "[TM-A]\r\n  Name=A\r\n  Priority=9\r\n  Max=3 ; other\r\n  Suicide=no\r\n\r\n[X]\r\n"},
        {"task force: a count changed, a row added",
         QByteArray(force).replace("部队", "\xB2\xBF\xB6\xD3"),
         section(QStringLiteral("TF-A"), forceLoaded, forceNow), true,
         "[TF-A]\r\nName=\xB2\xBF\xB6\xD3\r\n0=1,E1 ; gi\r\n1=3,E2\r\n2=1,HTNK\r\nGroup=-1\r\n"},
        {"task force: not in the file", force,
         section(QStringLiteral("TF-B"), forceLoaded, forceNow), false, std::nullopt},
        {"task force without Name: a name typed into the empty box comes first",
         "[TF-A] ; c\r\n0=1,E1\r\n",
         section(QStringLiteral("TF-A"), {QString(), {{"0", "1", "E1"}}},
                 {QStringLiteral("A"), {{"0", "1", "E1"}, {"1", "2", "E2"}}}),
         true, "[TF-A] ; c\r\nName=A\r\n0=1,E1\r\n1=2,E2\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool found = !c.found;
        EXPECT_EQ(c.merge(c.content, &found), c.written);
        EXPECT_EQ(found, c.found);
    }
}
