// tarvok --diff, called with its parsed values, and git's external diff wrapper around it.
#include "app/DiffCommand.h"
#include "support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::TempDir;

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome diff(const QString& a, const QString& b, cli::DiffFormat format) {
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.status = cli::runDiff(a, b, format, out, err);
    err.flush();
    return r;
}

const QByteArray kOld = "[TeamTypes]\n0=TM-A\n[TM-A]\nName=team\nPriority=5\n"
                        "[TaskForces]\n0=TF-1\n[TF-1]\nName=tf\n0=3,E1\n";

} // namespace

TEST(DiffCommand, ExitStatusTextAndJson) {
    TempDir dir;
    const QString a = dir.write("a.ini", kOld);
    const QString b = dir.write("b.ini", QByteArray(kOld).replace("Priority=5", "Priority=7") +
                                             "[ScriptTypes]\n0=SC-1\n[SC-1]\nName=go\n");
    const QString same = dir.write("same.ini", "; moved\n[TF-1]\n0=3,E1\nName=tf\n" + kOld);
    const QString plain = dir.write("plain.ini", "[General]\nName=x\n");
    const QString empty = dir.write("empty.ini", {});

    const Outcome text = diff(a, b, cli::DiffFormat::Text);
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, QStringLiteral("作战小队 TM-A team：优先级 5 → 7\n新增 脚本 SC-1 go\n"));

    const Outcome json = diff(a, b, cli::DiffFormat::Json);
    const QJsonArray records = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].toObject(),
              (QJsonObject{
                  {"kind", "teamtype"},
                  {"id", "TM-A"},
                  {"name", "team"},
                  {"change", "changed"},
                  {"values",
                   QJsonArray{QJsonObject{
                       {"key", "Priority"}, {"label", "优先级"}, {"old", "5"}, {"new", "7"}}}}}));
    EXPECT_EQ(records[1].toObject()["change"], "added");
    EXPECT_EQ(diff(b, a, cli::DiffFormat::Json).out.count("\"removed\""), 1);

    for (const auto& [x, y] :
         {std::pair{a, same}, std::pair{plain, empty}, std::pair{QString("/dev/null"), plain}}) {
        const Outcome r = diff(x, y, cli::DiffFormat::Json);
        EXPECT_EQ(r.status, 0) << x.toStdString() << " " << y.toStdString();
        EXPECT_EQ(r.out, "[]\n");
    }
    EXPECT_EQ(diff("/dev/null", a, cli::DiffFormat::Text).status, 1);
    const Outcome missing = diff(a, dir.file("gone.ini"), cli::DiffFormat::Text);
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains("gone.ini")) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());
}

// The wrapper hands git's old and new file to the program and gives git 0 for "differ".
TEST(DiffCommand, GitExternalDiffWrapper) {
    TempDir dir;
    // A stand-in for the program: names what it was given and says "differ".
    const QString program = dir.write("fake-tarvok", "#!/bin/sh\necho \"$@\"\nexit 1\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString repo = dir.file("mod");
    QDir().mkpath(repo);
    const auto git = [&](const QStringList& args, QString* out = nullptr) {
        QProcess p;
        p.setWorkingDirectory(repo);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TARVOK", program);
        env.insert("GIT_CONFIG_NOSYSTEM", "1");
        env.insert("HOME", dir.path());
        p.setProcessEnvironment(env);
        p.start("git", QStringList{"-c", "user.name=t", "-c", "user.email=t@t"} + args);
        p.waitForFinished();
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    };
    ASSERT_EQ(git({"init", "-q"}), 0);
    test::writeBytes(repo + "/.gitattributes", "*.ini diff=aidiff\n");
    test::writeBytes(repo + "/ai.ini", kOld);
    ASSERT_EQ(git({"config", "diff.aidiff.command", test::sourceDir() + "/scripts/git-aidiff.sh"}),
              0);
    ASSERT_EQ(git({"add", "."}), 0);
    ASSERT_EQ(git({"commit", "-qm", "x"}), 0);
    test::writeBytes(repo + "/ai.ini", kOld + "[ScriptTypes]\n0=SC-1\n");
    QString out;
    EXPECT_EQ(git({"diff"}, &out), 0);
    const QStringList lines = out.split('\n');
    ASSERT_GE(lines.size(), 2) << out.toStdString();
    EXPECT_EQ(lines[0], "ai.ini");
    EXPECT_TRUE(lines[1].startsWith("--diff /")) << out.toStdString();
    EXPECT_TRUE(lines[1].endsWith(" ai.ini --format text")) << out.toStdString();
}
