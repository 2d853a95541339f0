// The forecast on the command line, called with parsed values on one small mod.
#include "app/PredictCommand.h"

#include "support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstdio>

using namespace tarvok;

namespace {

struct Outcome {
    int status;
    QString out, err;
};

QString readAll(FILE* f) {
    std::rewind(f);
    QByteArray bytes;
    char buffer[4096];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, f))
        bytes.append(buffer, static_cast<qsizetype>(n));
    std::fclose(f);
    return QString::fromUtf8(bytes);
}

Outcome predict(const QString& file, const QString& state, const QString& rules, bool json) {
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    const int status = cli::predict(file, state, rules, json, out, err);
    return {status, readAll(out), readAll(err)};
}

} // namespace

TEST(PredictCommand, ForecastsAsTextAndJsonAndRefusesWhatItCannotRead) {
    test::TempDir dir;
    const QString rules = dir.write(
        "mod/rulesmd.ini",
        test::crlf({"[Countries]",     "0=Russians",  "[Sides]",        "A=Russians",
                    "[InfantryTypes]", "0=E1",        "[VehicleTypes]", "0=SUB",
                    "[BuildingTypes]", "0=NAHAND",    "[E1]",           "TechLevel=1",
                    "Owner=Russians",  "[SUB]",       "TechLevel=1",    "Owner=Russians",
                    "[NAHAND]",        "TechLevel=1", "Owner=Russians", "Factory=InfantryType"}));
    const QByteArray block = QByteArray(64, '0');
    const QString ai = dir.write(
        "mod/aimd.ini",
        test::crlf(
            {"[TeamTypes]", "0=TDEF", "1=TATK", "2=TSUB", "[TDEF]", "IsBaseDefense=yes", "[TATK]",
             "TaskForce=TF", "[TF]", "0=1,E1", "[TSUB]", "TaskForce=TFS", "[TFS]", "0=1,SUB",
             "[AITriggerTypes]",
             "ATK=进攻,TATK,<all>,0,-1,<none>," + block + ",70,0,100,1,0,0,0,<none>,1,1,1",
             "DEF=防守,TDEF,<all>,0,-1,<none>," + block + ",30.5,0,100,1,0,0,0,TATK,1,1,1",
             "BOAT=船,TSUB,<all>,0,-1,<none>," + block + ",30,0,100,1,0,0,0,<none>,1,1,1",
             "NOT=不用,TDEF,<all>,0,-1,<none>," + block + ",30,0,100,1,0,0,0,<none>,0,0,0"}));
    const QString state = dir.write(
        "state.json", R"({"country": "Russians", "level": 1, "enemy": {}, "teams": {"TDEF": 1},
              "owns": {"NAHAND": 1}})");

    const Outcome text = predict(ai, state, {}, false);
    EXPECT_EQ(text.status, 0) << text.err.toStdString();
    EXPECT_TRUE(
        text.out.startsWith("ATK 进攻  概率 70.0 %  分量 70\nDEF 防守  概率 30.0 %  分量 30\n"))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("difficulty: 1\n"));
    EXPECT_TRUE(text.out.contains("build: 1\n"));

    const Outcome json = predict(ai, state, rules, true);
    ASSERT_EQ(json.status, 0);
    const QJsonArray triggers =
        QJsonDocument::fromJson(json.out.toUtf8()).object().value("triggers").toArray();
    ASSERT_EQ(triggers.size(), 4);
    const QJsonObject def = triggers[1].toObject();
    EXPECT_EQ(def.value("id").toString(), "DEF");
    EXPECT_TRUE(def.value("gate").isNull());
    EXPECT_EQ(triggers[2].toObject().value("gate").toString(), "build");
    EXPECT_EQ(def.value("weight").toInt(), 30);
    EXPECT_EQ(def.value("afterSuccess").toDouble(), 50.5);
    EXPECT_EQ(def.value("team2").toString(), "TATK");
    EXPECT_TRUE(triggers[0].toObject().value("gate").isNull());
    EXPECT_TRUE(triggers[0].toObject().value("team2").isNull());
    EXPECT_EQ(triggers[0].toObject().value("chance").toDouble(), 0.7);

    EXPECT_EQ(predict(ai, dir.write("bad.json", "{\"level\": 1}"), {}, false).err,
              "tarvok: 状态缺少 country\n");
    EXPECT_EQ(predict(ai, state, dir.path() + "/none.ini", false).status, 2);
    EXPECT_EQ(predict(dir.path() + "/none.ini", state, {}, false).status, 2);
    const QString lone = dir.write("alone/aimd.ini", test::readBytes(ai));
    EXPECT_EQ(predict(lone, state, {}, false).status, 2);
}
