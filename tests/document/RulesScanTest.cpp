#include "document/RulesScan.h"
#include "document/IniText.h"

#include <QList>

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace tarvok;

namespace {

QList<QByteArray> texts(const std::vector<QByteArrayView>& v) {
    QList<QByteArray> out;
    for (QByteArrayView b : v)
        out << b.toByteArray();
    return out;
}

struct Reading {
    std::map<QByteArray, QList<QByteArray>> lists; // section name -> entries
    std::vector<qsizetype> skipped;
};

// The file read the way the game reads it, line by line and without the line model.
Reading readLikeTheGame(QByteArray content) {
    const auto trim = [](QByteArray s) {
        while (s.startsWith(' ') || s.startsWith('\t'))
            s.remove(0, 1);
        while (s.endsWith(' ') || s.endsWith('\t'))
            s.chop(1);
        return s;
    };
    Reading out;
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    if (content.endsWith('\n'))
        content.chop(1);
    QByteArray section;
    const QList<QByteArray> lines = content.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArray line = lines[n];
        if (line.endsWith('\r'))
            line.chop(1);
        line = trim(line.split(';').front());
        const qsizetype eq = line.indexOf('=');
        if (line.startsWith('[') && line.endsWith(']') && line.size() >= 2)
            section = line.mid(1, line.size() - 2);
        else if (line.isEmpty() || (section != "AITriggerTypes" && section != "TeamTypes" &&
                                    section != "TaskForces" && section != "ScriptTypes"))
            continue;
        else if (eq < 0)
            out.skipped.push_back(n + 1);
        else if (section == "AITriggerTypes")
            out.lists[section] << trim(line.left(eq)) + "=" +
                                      trim(line.mid(eq + 1).split(',').front());
        else
            out.lists[section] << trim(line.mid(eq + 1));
    }
    return out;
}

// A hand-written rules file: sections of the four names (again and again, or in the
// wrong case) and others, comments, blank lines, indentation, blanks around '=' and ',',
// trailing comments, lines without '=', GBK and UTF-8 names (some with the GBK second
// byte ']' or '['), LF, CR LF and lone CR.
QByteArray handWrittenFile(std::mt19937& rng) {
    const auto pick = [&](std::initializer_list<const char*> items) {
        return QByteArray(items.begin()[rng() % items.size()]);
    };
    const auto blanks = [&] { return pick({"", "", " ", "\t", "  \t "}); };
    const auto word = [&] {
        return pick({"TM000001-G", "0", "17", "", "A B", "\xCA\x5D\xB5\x5B",
                     "\xE8\xBF\x9B\xE6\x94\xBB", "\xBD\xF8\xB9\xA5", "x\ry", "<all>"});
    };
    QByteArray out = rng() % 4 == 0 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    const unsigned lines = rng() % 60;
    for (unsigned n = 0; n < lines; ++n) {
        const unsigned kind = rng() % 8;
        out += blanks();
        if (kind == 0)
            out += "[" +
                   pick({"AITriggerTypes", "TeamTypes", "TaskForces", "ScriptTypes", "teamtypes",
                         "TM000001-G", "\xCA\x5D", " TeamTypes"}) +
                   "]";
        else if (kind == 1)
            out += pick({"[TeamTypes", "[X]y", "=", "[A=B]"});
        else if (kind == 2)
            out += word();
        else if (kind > 3)
            out += word() + blanks() + "=" + blanks() + word() + blanks() +
                   pick({"", ",", ",TM000001-G,<all>", " , 1,2"});
        out += blanks() + pick({"", "", ";", "; note", ";x=y,z", " ;[A]"});
        if (n + 1 < lines || rng() % 2)
            out += pick({"\r\n", "\r\n", "\n", "\r\r\n"});
    }
    return out;
}

} // namespace

TEST(ScanRules, ListsWhatTheGameReadsInHandWrittenFiles) {
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        std::mt19937 rng(seed);
        const QByteArray content = handWrittenFile(rng);
        Reading expected = readLikeTheGame(content);
        const IniText text(content);
        QByteArray joined = text.hasBom() ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        for (qsizetype i = 0; i < text.lineCount(); ++i)
            joined += text.text(i).toByteArray() + text.lineEnd(i).toByteArray();
        ASSERT_EQ(joined, content) << "seed " << seed;
        const RulesScan scan = scanRules(text);
        for (const auto& [name, list] : {std::pair{"AITriggerTypes", &scan.triggerKeys},
                                         {"TeamTypes", &scan.teamTypes},
                                         {"TaskForces", &scan.taskForces},
                                         {"ScriptTypes", &scan.scriptTypes}})
            ASSERT_EQ(texts(*list), expected.lists[name]) << name << ", seed " << seed;
        ASSERT_EQ(scan.skippedLines, expected.skipped) << "seed " << seed;
    }
}
