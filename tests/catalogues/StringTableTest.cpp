#include "catalogues/StringTable.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tarvok;
using tarvok::test::csfHeader;
using tarvok::test::csfLabel;

// Files read one after the other; what a label then reads, and where each file broke.
TEST(StringTable, ReadsFilesAsTheGameDoesAndStopsAtDamage) {
    const QByteArray twoLabels =
        csfHeader(2) + csfLabel("Name:E1", {"美国大兵", "second pair"}) + csfLabel("Name:Zero", {});
    const QByteArray wide =
        csfHeader(2) + csfLabel("Name:Wide", {"宽"}, true) + csfLabel("Name:After", {"之后"});
    const QByteArray cut =
        csfHeader(3) + csfLabel("Name:Ok", {"好"}) + csfLabel("Name:Cut", {"断"});
    const QByteArray twice = csfHeader(2) + csfLabel("A", {"1"}) + csfLabel("a", {"2"});
    const QByteArray later = csfHeader(1) + csfLabel("name:E1", {"海豹"});
    const QByteArray huge = csfHeader(1) + QByteArray(" LBL\1\0\0\0\0\0\0\x80", 12) + "Name:X";
    const struct {
        const char* what;
        QList<QByteArray> files;
        QByteArray label;
        std::optional<QString> text;
        std::vector<int> damaged;
    } cases[] = {
        {"only the first pair counts", {twoLabels}, "Name:E1", "美国大兵", {0}},
        {"labels ignore letter case", {twoLabels}, "NAME:e1", "美国大兵", {0}},
        {"a label without pairs names nothing", {twoLabels}, "Name:Zero", {}, {0}},
        {"a later file replaces a label", {twoLabels, later}, "Name:E1", "海豹", {0, 0}},
        {"the later of a file's two labels", {twice}, "A", "2", {0}},
        {"WRTS skips its sound name", {wide}, "Name:Wide", "宽", {0}},
        {"the label after a WRTS pair", {wide}, "Name:After", "之后", {0}},
        {"a cut-short file keeps what came before", {cut.chopped(3)}, "Name:Ok", "好", {2}},
        {"the cut label is lost", {cut.chopped(3)}, "Name:Cut", {}, {2}},
        {"fewer labels than the header says", {cut}, "Name:Cut", "断", {3}},
        {"an empty file", {QByteArray()}, "A", {}, {1}},
        {"no header", {csfLabel("A", {"1"})}, "A", {}, {1}},
        {"a length past the end allocates nothing", {huge}, "Name:X", {}, {1}},
        {"an unknown pair tag", {QByteArray(twice).replace("RTS", "XYZ")}, "A", {}, {1}},
    };
    for (const auto& c : cases) {
        StringTable table;
        std::vector<int> damaged;
        for (const QByteArray& file : c.files)
            damaged.push_back(table.read(file));
        EXPECT_EQ(damaged, c.damaged) << c.what;
        const QString* text = table.text(c.label);
        EXPECT_EQ(text ? std::optional<QString>(*text) : std::nullopt, c.text) << c.what;
    }
}
