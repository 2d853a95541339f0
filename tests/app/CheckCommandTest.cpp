// tarvok --check run as a process, as a mod's repository runs it: without a display, in a
// home of its own, on a small AI file beside its rules file.
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::crlf;

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

// Every file under the folders, with its size and time: what a run may not change.
QStringList snapshot(const QStringList& folders) {
    QStringList files;
    for (const QString& folder : folders)
        for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QFileInfo info(it.nextFileInfo());
            files << info.filePath() + " " + QString::number(info.size()) + " " +
                         QString::number(info.lastModified().toMSecsSinceEpoch());
        }
    files.sort();
    return files;
}

} // namespace

TEST(CheckCommand, PrintsTheProblemsAndTheirCountsWithoutADisplayOrAWrite) {
    const test::TempDir dir;
    dir.write("mod/rulesmd.ini",
              crlf({"[Countries]", "0=Americans", "1=Russians", "[Sides]", "A=Americans",
                    "B=Russians", "[VehicleTypes]", "0=MTNK", "[MTNK]", "TechLevel=1",
                    "Owner=Americans", "[General]", "UseMinDefenseRule=no"}));
    const QByteArray trigger = "T1=x,TM1,Russians,1,0,<none>," + QByteArray(64, '0') +
                               ",70.000000,10.000000,70.000000,1,0,2,0,<none>,1,1,1";
    dir.write("mod/ai/aimd.ini",
              crlf({"[AITriggerTypes]", trigger, "[TeamTypes]", "0=TM1", "[TaskForces]", "0=TF1",
                    "[ScriptTypes]", "[TM1]", "TaskForce=TF1", "[TF1]", "0=1,MTNK", "1=1,GHOST"}));
    dir.write("mod/readme.txt", "no AI here");
    dir.write("mod/state.json", R"({"country": "Russians", "level": 1, "enemy": {}})");
    dir.write("elsewhere/ai.ini", crlf({"[AITriggerTypes]"}));
    // Files that are there and cannot be read, whoever runs the test: a folder in their place.
    for (const char* folder : {"beside/rulesmd.ini", "above/rulesmd.ini", "include/part.ini",
                               "rulesinclude/extra.ini", "table/stringtable01.csf"})
        QDir(dir.path()).mkpath(QStringLiteral("broken/") + folder);
    for (const char* ai :
         {"beside/aimd.ini", "above/ai/aimd.ini", "rulesinclude/aimd.ini", "table/aimd.ini"})
        dir.write(QStringLiteral("broken/") + ai, crlf({"[AITriggerTypes]"}));
    dir.write("broken/include/aimd.ini", crlf({"[#include]", "1=part.ini", "[AITriggerTypes]"}));
    dir.write("broken/rulesinclude/rulesmd.ini", crlf({"[#include]", "1=extra.ini"}));
    dir.write("broken/table/rulesmd.ini", "");
    const QString program = QStringLiteral(TARVOK_PROGRAM);
    const QStringList watched{dir.path(), QFileInfo(program).absolutePath()};
    const QStringList before = snapshot(watched);

    const auto run = [&](const QStringList& args, bool fullDisk = false) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert("HOME", dir.file("home"));
        env.insert("XDG_DATA_HOME", dir.file("home/data"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.file("mod"));
        if (fullDisk)
            p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(program, args);
        EXPECT_TRUE(p.waitForFinished(10000));
        return Outcome{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                       QString::fromUtf8(p.readAllStandardOutput()),
                       QString::fromUtf8(p.readAllStandardError())};
    };

    const Outcome text = run({"--check", "ai/aimd.ini"});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out.toStdString(), "ai/aimd.ini:2: 提示: 触发 T1 的作战小队 TM1 需要单位 MTNK，"
                                      "但Russians都无法建造它（Owner 中没有 Russians）\n"
                                      "ai/aimd.ini:12: 错误: 单位 GHOST 未在规则文件中定义\n");
    EXPECT_TRUE(text.err.endsWith("\n1 个错误，1 个提示\n")) << text.err.toStdString();

    const Outcome json = run({"--check", "--format=json", "ai/aimd.ini", "--rules", "rulesmd.ini"});
    EXPECT_EQ(json.status, 1);
    const QJsonArray problems = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[1].toObject(), (QJsonObject{{"file", "ai/aimd.ini"},
                                                   {"line", 12},
                                                   {"level", "error"},
                                                   {"kind", "未定义单位"},
                                                   {"record", "TF1"},
                                                   {"text", "单位 GHOST 未在规则文件中定义"}}));
    EXPECT_EQ(problems[0].toObject()["level"], "hint");
    EXPECT_EQ(problems[0].toObject()["kind"], "无法建造");

    // Without the rules file only hints are left; without a rules file found, it says so.
    const Outcome hints = run({"--check", "ai/aimd.ini", "--no-rules"});
    EXPECT_EQ(hints.status, 0) << hints.err.toStdString();
    EXPECT_FALSE(hints.out.contains("错误"));
    const Outcome alone = run({"--check", "../elsewhere/ai.ini"});
    EXPECT_EQ(alone.status, 0);
    EXPECT_EQ(alone.err, "未找到游戏规则文件，使用内置单位表\n0 个错误，0 个提示\n");

    // Options in any order, a value after a space or an "=".
    for (const QStringList& args : {QStringList{"ai/aimd.ini", "--check"},
                                    QStringList{"--format", "text", "ai/aimd.ini", "--check"}})
        EXPECT_EQ(run(args).out, text.out);
    EXPECT_EQ(run({"--rules=rulesmd.ini", "--format", "json", "--check", "ai/aimd.ini"}).out,
              json.out);

    // The forecast and the comparison through the same parser.
    const Outcome forecast =
        run({"--format=json", "--state", "state.json", "--predict", "ai/aimd.ini"});
    EXPECT_EQ(forecast.status, 0) << forecast.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(forecast.out.toUtf8())["triggers"].toArray().size(), 1);
    EXPECT_EQ(run({"--diff", "ai/aimd.ini", "ai/aimd.ini"}).status, 0);
    const Outcome diff = run({"--diff", "../elsewhere/ai.ini", "ai/aimd.ini"});
    EXPECT_EQ(diff.status, 1);
    EXPECT_TRUE(diff.out.contains(QStringLiteral("新增"))) << diff.out.toStdString();

    // What cannot be checked or could not be read: status 2, the reason alone on standard
    // error, nothing on standard output.
    const QString broken = dir.file("broken") + "/";
    const std::vector<std::pair<QStringList, QString>> refusals{
        {{"--check", "ai/aimd.ini", "--format", "xml"}, "未知的输出格式 xml（可用 text 或 json）"},
        {{"--no-rules", "--check", "ai/aimd.ini", "--rules=r.ini"}, "--rules 与 --no-rules"},
        {{"--check=ai/aimd.ini"}, "--check 不带值"},
        {{"--check", "ai/aimd.ini", "--format"}, "--format 后缺少值"},
        {{"--check", "ai/aimd.ini", "readme.txt"}, "多余的参数 readme.txt"},
        {{"--check"}, "缺少文件：tarvok --check 文件"},
        {{"--format=json", "ai/aimd.ini"}, "缺少命令"},
        {{"--check", "ai/aimd.ini", "--frobnicate"}, "无法识别的选项 --frobnicate"},
        {{"--predict", "ai/aimd.ini"}, "--predict 需要 --state 状态文件"},
        {{"--predict", "ai/aimd.ini", "--state=state.json", "--no-rules"}, "推演需要游戏规则文件"},
        {{"--check", "ai/aimd.ini", "--state", "state.json"}, "--state 只用于 --predict"},
        {{"--diff", "ai/aimd.ini"}, "缺少文件：tarvok --diff 旧文件 新文件"},
        {{"--diff", "ai/aimd.ini", "gone.ini"}, "无法读取"},
        {{"--check", "gone.ini"}, "无法读取文件 gone.ini"},
        {{"--check", "readme.txt"}, "文件 readme.txt 中没有 AI 节"},
        {{"--check", "ai/aimd.ini", "--rules", "gone.ini"}, "无法读取游戏规则文件 gone.ini"},
        {{"--check", "../broken/beside/aimd.ini"},
         "无法读取游戏规则文件 " + broken + "beside/rulesmd.ini"},
        {{"--check", "../broken/above/ai/aimd.ini"},
         "无法读取游戏规则文件 " + broken + "above/rulesmd.ini"},
        {{"--check", "../broken/include/aimd.ini"}, "包含的文件 part.ini 无法读取"},
        {{"--check", "../broken/rulesinclude/aimd.ini"},
         "无法读取游戏规则文件包含的文件 " + broken + "rulesinclude/extra.ini"},
        {{"--check", "../broken/table/aimd.ini"},
         "无法读取字符串表 " + broken + "table/stringtable01.csf"},
    };
    for (const auto& [args, reason] : refusals) {
        const Outcome refused = run(args);
        EXPECT_EQ(refused.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
        EXPECT_TRUE(refused.err.startsWith("tarvok: " + reason) && refused.err.count('\n') == 1)
            << refused.err.toStdString();
    }
    const Outcome full = run({"--check", "ai/aimd.ini"}, true); // the answer was lost
    EXPECT_EQ(full.status, 2);
    EXPECT_TRUE(full.err.endsWith("tarvok: 无法写出检查结果（写入标准输出失败）\n"));
    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_TRUE(run({"--help"}).out.contains("--check"));
    EXPECT_EQ(run({"--version"}).out, "Tarvok " TARVOK_VERSION "\n");

    EXPECT_EQ(snapshot(watched), before); // no scratch copy, history, notes or settings
}
