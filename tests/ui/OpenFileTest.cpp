#include "support/WidgetDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kOk = QStringLiteral("OK");

QByteArray sampleRules() {
    return crlf({"[TaskForces]", "0=TF-A", "1=TF-B", "[AITriggerTypes]", "T1=One,TM-1,<all>",
                 "T2=Two,TM-2,<all>", "", "[ScriptTypes]", "0=SC-A", "", "[TeamTypes]",
                 "0=TM-1", "1=TM-2", "[TaskForces]", "9=NOT-READ"});
}

} // namespace

TEST(OpenRulesFile, ScanFillsTheFourListsWithTheRunRules) {
    Editor e(false);
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), sampleRules());
    e.dialogs.files.push_back(path);
    e.w->CmdOpen_Click();
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(e.w->RulesFilePath, path);
    EXPECT_EQ(e.w->LblRoot->text(), path);
    EXPECT_EQ(items(e.w->LstSpe), (QStringList{"TF-A", "TF-B"}));
    EXPECT_EQ(items(e.w->LstRoot), (QStringList{"T1=One", "T2=Two"}));
    EXPECT_EQ(items(e.w->LstScr), (QStringList{"SC-A"}));
    // "[TaskForces]" right after the [TeamTypes] run is not examined again.
    EXPECT_EQ(items(e.w->LstFig), (QStringList{"TM-1", "TM-2"}));
    EXPECT_EQ(e.w->TaskForceCount, 2);
    EXPECT_EQ(e.w->ScriptTypeCount, 1);
    EXPECT_EQ(e.w->TeamTypeCount, 2);
    EXPECT_EQ(e.dialogs.fileFilters, QStringList{QStringLiteral("规则文件(*.ini)|*.ini")});
}
