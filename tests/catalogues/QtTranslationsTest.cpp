#include "catalogues/QtTranslations.h"
#include "support/TestFiles.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

TEST(QtTranslations, TheFirstFolderHoldingTheChineseCatalogueIsUsed) {
    TempDir dir;
    const QString empty = dir.path() + QStringLiteral("/empty");
    const QString shipped =
        QFileInfo(dir.write(QStringLiteral("translations/qtbase_zh_CN.qm"), "x")).absolutePath();
    const QString other =
        QFileInfo(dir.write(QStringLiteral("other/qtbase_zh_CN.qm"), "x")).absolutePath();
    dir.write(QStringLiteral("wrong/qtbase_de.qm"), "x");
    EXPECT_EQ(qttranslations::findFolder({empty, shipped, other}), shipped);
    EXPECT_EQ(qttranslations::findFolder({QString(), dir.path() + QStringLiteral("/wrong"), other}),
              other);
    EXPECT_EQ(qttranslations::findFolder({empty}), QString());
}
