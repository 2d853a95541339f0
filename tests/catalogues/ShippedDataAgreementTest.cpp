// The shipped data files must agree with each other: a building the script editor names
// from the building tables is shown by its display name from the unit name table, and
// the "<" button turns that name back into the same building number.
#include "catalogues/UnitNameTable.h"
#include "document/Lines.h"
#include "document/TextEncoding.h"
#include "support/TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

QStringList shippedLines(const QString& name) {
    return decodeLines(readBytes(QDir(shippedDataDir()).filePath(name)));
}

QString before(const QString& line) {
    return line.section(QLatin1Char(','), 0, 0);
}
QString after(const QString& line) {
    return line.section(QLatin1Char(','), 1).trimmed();
}

} // namespace

TEST(ShippedDataAgreement, EveryBuildingHasADisplayNameAndComesBackToItsNumber) {
    const QStringList id = shippedLines(QStringLiteral("ID.WQ"));
    const QStringList id2 = shippedLines(QStringLiteral("ID2.WQ"));
    const QStringList table = shippedLines(QStringLiteral("NameTable.WQ"));
    ASSERT_FALSE(id.isEmpty());
    ASSERT_FALSE(table.isEmpty());
    int buildings = 0;
    for (qsizetype i = 0; i < id.size(); i += 3) {
        const QString number = before(id[i]);
        const QString name = after(id[i]);
        SCOPED_TRACE(name.toStdString());
        ++buildings;
        // The building's unit ID has a display name in the unit name table ...
        const QString display = unitnames::nameOf(table, name);
        EXPECT_FALSE(display.isEmpty());
        // ... which the "<" button turns back into the unit ID, and ID2.WQ into the number.
        EXPECT_EQ(unitnames::idOf(table, display), name);
        QString back;
        for (const QString& line : id2)
            if (after(line) == name)
                back = before(line);
        EXPECT_EQ(back, number);
    }
    EXPECT_EQ(buildings, id2.size());
}
