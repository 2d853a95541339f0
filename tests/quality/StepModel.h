#pragma once

// The save, undo and redo that the step-fault test breaks at each step, shared by the test
// and the child process it kills. A program folder holds the history; the rules file went
// through the contents 0, 1, 2 (and an undo back to 1 for the redo); then the operation.

#include "document/FileSet.h"
#include "document/FileStore.h"
#include "document/History.h"
#include "document/RulesDocument.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace tarvok::test::steps {

enum class Op { Save, Undo, Redo };

inline QByteArray content(int n) {
    return "[TeamTypes]\r\n0=TM-" + QByteArray::number(n) + "\r\n; version " +
           QByteArray::number(n) + "\r\n";
}

// The rules file: dir/aimd.ini, or dir/ai/aimd.ini in a mod whose rules file sits a folder
// below the file it includes (named "..\\part.ini").
inline QString rulesPath(const QString& dir) {
    const QString below = QDir(dir).filePath(QStringLiteral("ai/aimd.ini"));
    return QFileInfo::exists(below) ? below : QDir(dir).filePath(QStringLiteral("aimd.ini"));
}

inline std::unique_ptr<RulesDocument> openDocument(const QString& dir) {
    auto doc = std::make_unique<RulesDocument>(QDir(dir).filePath(QStringLiteral("File.ini")));
    doc->setHistoryFolder(QDir(dir).filePath(QStringLiteral("history")));
    doc->open(rulesPath(dir));
    return doc;
}

// A mod of two files: the rules file includes part.ini, and each content changes both.
inline QString partPath(const QString& dir) {
    return QDir(dir).filePath(QStringLiteral("part.ini"));
}
inline QByteArray mainContent(int n, bool above = false) {
    return "[#include]\r\n1=" + QByteArray(above ? "..\\" : "") + "part.ini\r\n" + content(n);
}
inline QByteArray partContent(int n) {
    return "[TaskForces]\r\n0=TF-" + QByteArray::number(n) + "\r\n";
}

inline filestore::WriteResult save(RulesDocument& doc, int n) {
    const QStringList files = doc.files();
    const QString part =
        files.size() > 1 ? QFileInfo(files[0]).absoluteDir().relativeFilePath(files[1]) : QString();
    return doc.edit([n, part](const QByteArray&, const TextCodec&) {
        return std::optional(
            part.isEmpty() ? content(n)
                           : fileset::join({{QStringLiteral("aimd.ini"),
                                             mainContent(n, part.startsWith(QLatin1String("..")))},
                                            {part, partContent(n)}}));
    });
}

// The state before the operation: its contents (old) and what it makes (new).
struct Case {
    Op op;
    int before; // the file's content
    int after;  // what the operation writes
};

inline Case caseOf(Op op) {
    switch (op) {
    case Op::Save:
        return {op, 2, 3};
    case Op::Undo:
        return {op, 2, 1};
    case Op::Redo:
        return {op, 1, 2};
    }
    return {};
}

inline void prepare(const QString& dir, Op op, bool twoFiles = false, bool above = false) {
    if (twoFiles)
        filestore::replace(partPath(dir), partContent(0));
    if (above)
        QDir(dir).mkdir(QStringLiteral("ai"));
    const QString rules =
        above ? QDir(dir).filePath(QStringLiteral("ai/aimd.ini")) : rulesPath(dir);
    filestore::replace(rules, twoFiles ? mainContent(0, above) : content(0));
    const std::unique_ptr<RulesDocument> doc = openDocument(dir);
    save(*doc, 1);
    save(*doc, 2);
    if (op == Op::Redo)
        doc->restore(History::Stack::Undo);
}

// What the operation reports, and why it failed or kept no version.
enum class Outcome { Failed, Done, DoneWithoutVersion };
struct Report {
    Outcome outcome = Outcome::Failed;
    filestore::WriteResult why;
};

inline Report reportOf(bool done, const filestore::WriteResult& r) {
    if (!done)
        return {Outcome::Failed, r};
    return r.versionKept() ? Report{Outcome::Done, {}}
                           : Report{Outcome::DoneWithoutVersion, r.versionFailure()};
}

inline Report run(const QString& dir, Op op) {
    const std::unique_ptr<RulesDocument> doc = openDocument(dir);
    if (op == Op::Save) {
        const filestore::WriteResult r = save(*doc, caseOf(op).after);
        return reportOf(r.ok(), r);
    }
    const RulesDocument::Restored r =
        doc->restore(op == Op::Undo ? History::Stack::Undo : History::Stack::Redo);
    return reportOf(r.outcome == RulesDocument::Restored::Done, r.write);
}

} // namespace tarvok::test::steps
