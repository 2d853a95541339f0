#include "catalogues/ActionCatalogue.h"
#include "document/Lines.h"
#include "document/TextEncoding.h"
#include "records/ScriptActions.h"
#include "records/ScriptExplain.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <map>

using namespace tarvok;
using namespace tarvok::test;

namespace {

// A shipped data file as the editor reads it, with its raw bytes for the format checks.
struct DataFile {
    QByteArray bytes;
    QStringList lines;
};

DataFile shipped(const QString& name) {
    DataFile f;
    f.bytes = readBytes(QDir(shippedDataDir()).filePath(name));
    f.lines = decodeLines(f.bytes);
    return f;
}

// Every line ends with CR LF, there is no lone LF, and the text is GBK (not UTF-8 with
// non-ASCII bytes, which the editor would take for UTF-8).
void expectWindowsGbkText(const QString& name, const DataFile& f) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_FALSE(f.bytes.isEmpty());
    EXPECT_TRUE(f.bytes.endsWith("\r\n"));
    EXPECT_EQ(f.bytes.count("\n"), f.bytes.count("\r\n"));
    EXPECT_EQ(detectEncoding(f.bytes), Encoding::Gbk);
    EXPECT_FALSE(f.bytes.startsWith(kUtf8Bom.toByteArray()));
}

struct ReferenceBuilding {
    int index;
    QString id;
};

std::vector<ReferenceBuilding> referenceBuildings() {
    QFile f(referenceFile(QStringLiteral("game-objects.tsv")));
    std::vector<ReferenceBuilding> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QStringList cols = line.trimmed().split(QLatin1Char('\t'));
        if (cols.size() >= 3 && cols[0] == QStringLiteral("building"))
            out.push_back({cols[1].toInt(), cols[2]});
    }
    return out;
}

} // namespace

TEST(ShippedActionData, FilesAreGbkWithCrLf) {
    for (const QString& name :
         {QStringLiteral("Scr.WQ"), QStringLiteral("ID.WQ"), QStringLiteral("ID2.WQ")})
        expectWindowsGbkText(name, shipped(name));
}

TEST(ShippedActionData, EveryActionHasABlockAndEveryChoiceMapsToANumber) {
    const DataFile scr = shipped(QStringLiteral("Scr.WQ"));
    for (const ScriptAction& action : kScriptActions) {
        const QString name = QString::fromUtf8(action.name);
        SCOPED_TRACE(name.toStdString());
        const std::optional<QStringList> choices = catalogue::actionChoices(scr.lines, name);
        ASSERT_TRUE(choices) << "no block";
        // The typed parameters and the building actions list no choices of their own.
        if (action.number == 5 || action.number == 6 || isBuildingAction(action.number)) {
            EXPECT_TRUE(choices->isEmpty());
            continue;
        }
        EXPECT_FALSE(choices->isEmpty());
        QSet<QString> numbers;
        for (const QString& choice : *choices) {
            const scripts::ChosenParameter chosen = scripts::chooseParameter(name, choice);
            ASSERT_EQ(chosen.kind, scripts::ChosenParameter::Kind::Number);
            EXPECT_FALSE(chosen.number.isEmpty()) << choice.toStdString();
            numbers.insert(chosen.number);
            // A chosen parameter of a parameter-0 action is explained when it is shown.
            if (chosen.number == QStringLiteral("0")) {
                EXPECT_EQ(scripts::explainParameter(QString::number(action.number), u"0").other,
                          choice);
            }
        }
        EXPECT_EQ(numbers.size(), choices->size()) << "two choices give the same number";
    }
}

TEST(ShippedActionData, ChoicesAreCompleteAndInListOrder) {
    const DataFile scr = shipped(QStringLiteral("Scr.WQ"));
    auto numbersOf = [&](const char* action) {
        QStringList out;
        const QString name = QString::fromUtf8(action);
        for (const QString& c : catalogue::actionChoices(scr.lines, name).value_or(QStringList()))
            out << scripts::chooseParameter(name, c).number;
        return out;
    };
    const QStringList categories{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
    EXPECT_EQ(numbersOf("攻击最接近的敌方目标"), categories);
    EXPECT_EQ(numbersOf("请求超时空传送至敌方目标"), categories);
    EXPECT_EQ(numbersOf("运载工具卸载"), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(numbersOf("进入状态"), (QStringList{"5", "6", "10", "11", "15"}));
}

TEST(ShippedActionData, BlocksAreSeparatedSoEveryHeaderIsSeen) {
    // Each header must follow a line without a comma, or the reader never sees it.
    const DataFile scr = shipped(QStringLiteral("Scr.WQ"));
    int headers = 0;
    for (qsizetype i = 0; i < scr.lines.size(); ++i) {
        if (!catalogue::trimBlanks(scr.lines[i]).startsWith(QLatin1Char('[')))
            continue;
        ++headers;
        ASSERT_GT(i, 0);
        EXPECT_TRUE(scr.lines[i - 1].isEmpty()) << scr.lines[i].toStdString();
    }
    EXPECT_EQ(headers, 22);
}

TEST(ShippedActionData, BuildingTablesAgreeWithEachOtherAndTheReference) {
    const DataFile id = shipped(QStringLiteral("ID.WQ"));
    const DataFile id2 = shipped(QStringLiteral("ID2.WQ"));
    ASSERT_EQ(id.lines.size() % 3, 0);
    for (const QString& line : id.lines + id2.lines)
        ASSERT_TRUE(line.contains(QLatin1Char(','))) << line.toStdString();

    std::map<QString, int> indexOfName;
    for (const QString& line : id2.lines) {
        const QString name = line.section(QLatin1Char(','), 1);
        EXPECT_EQ(indexOfName.count(name), 0u) << "listed twice: " << name.toStdString();
        indexOfName[name] = line.section(QLatin1Char(','), 0, 0).toInt();
    }

    const QStringList names = catalogue::buildingNames(id.lines);
    ASSERT_EQ(names.size(), static_cast<qsizetype>(indexOfName.size()));
    for (qsizetype r = 0; r < names.size(); ++r) {
        const QString& name = names[r];
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(indexOfName.count(name), 1u) << "not in ID2.WQ";
        const int index = indexOfName[name];
        // The record: the plain index, then the nearest and farthest forms of it.
        EXPECT_EQ(id.lines[3 * r], QString::number(index) + u',' + name);
        EXPECT_EQ(id.lines[3 * r + 1], QString::number(index + 131072) + u',' + name);
        EXPECT_EQ(id.lines[3 * r + 2], QString::number(index + 196608) + u',' + name);
        // The editor turns the list entry back into the ID and the ID into the name.
        EXPECT_EQ(catalogue::lastKeyOf(id2.lines, name), QString::number(index));
        EXPECT_EQ(catalogue::lastValueOf(id.lines, QString::number(index + 131072)), name);
    }

    const std::vector<ReferenceBuilding> reference = referenceBuildings();
    if (reference.empty())
        GTEST_SKIP() << "the reference table is not beside the source tree";
    EXPECT_EQ(reference.size(), indexOfName.size());
    for (const ReferenceBuilding& b : reference) {
        ASSERT_EQ(indexOfName.count(b.id), 1u) << "missing building " << b.id.toStdString();
        EXPECT_EQ(indexOfName[b.id], b.index) << b.id.toStdString();
    }
}
