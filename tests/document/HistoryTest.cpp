#include "document/History.h"
#include "document/FileStore.h"
#include "support/TestFiles.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

// Each rules file (by its full path) has its own stacks; the undo stack keeps the newest
// versions only; versions survive a new History of the same file (a restart).
TEST(History, KeepsTheNewestVersionsOfEachFileApart) {
    TempDir dir;
    const QString folder = dir.file(QStringLiteral("history"));
    const QString a = dir.write(QStringLiteral("a/ai.ini"), "a");
    const QString b = dir.write(QStringLiteral("b/ai.ini"), "b");
    History ha(folder, a);
    for (int i = 1; i <= History::kMaxVersions + 2; ++i) {
        ASSERT_TRUE(
            filestore::replace(a, QByteArray::number(i)).ok()); // a new file, as a save makes
        ASSERT_TRUE(ha.push(History::Stack::Undo, a));
    }
    ASSERT_TRUE(History(folder, b).push(History::Stack::Redo, b));

    History again(folder, a);
    EXPECT_EQ(again.size(History::Stack::Undo), History::kMaxVersions);
    EXPECT_EQ(again.size(History::Stack::Redo), 0);
    for (int newest = History::kMaxVersions + 2; newest > 2; --newest) { // 1 and 2 were dropped
        ASSERT_EQ(readBytes(again.top(History::Stack::Undo)->file), QByteArray::number(newest));
        again.pop(History::Stack::Undo);
    }
    EXPECT_FALSE(again.top(History::Stack::Undo));
    EXPECT_EQ(readBytes(History(folder, b).top(History::Stack::Redo)->file), "b");
}
