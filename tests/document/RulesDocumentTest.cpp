#include "document/RulesDocument.h"
#include "support/TestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

// The scratch copy is replaced by every rewrite: opened as the rules file, the first
// save would take away the content it was read from.
TEST(RulesDocument, NeverOpensItsOwnScratchCopy) {
    TempDir dir;
    const QByteArray content = "[TeamTypes]\r\n0=TM-A\r\n";
    const QString scratch = dir.write(QStringLiteral("File.ini"), content);
    ASSERT_TRUE(QFile::link(scratch, dir.file(QStringLiteral("ai.ini"))));
    RulesDocument doc(scratch);
    EXPECT_FALSE(doc.open(scratch));
    EXPECT_FALSE(doc.open(dir.file(QStringLiteral("ai.ini")))); // the same file by another name
    EXPECT_FALSE(doc.isOpen());
    const std::optional<RulesDocument::Opened> opened = doc.open(dir.write(QStringLiteral("aimd.ini"), content));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->hardLinks, 1);
    EXPECT_EQ(doc.count(RegistryKind::TeamTypes), 1);
}
