#include "ui/WindowRules.h"
#include "support/WidgetDriver.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;
using namespace tarvok::windowrules;

TEST(WindowSize, OpensWholeOnA1366x768ScreenAndMaximisedOnASmallerOne) {
    Editor e;
    const QSize wanted = e.main->sizeHint();
    const InitialGeometry roomy = initialWindowGeometry(QSize(1366, 768), wanted);
    EXPECT_FALSE(roomy.maximised);
    EXPECT_EQ(roomy.size, wanted);
    // 1280x720 less a taskbar.
    const InitialGeometry small = initialWindowGeometry(QSize(1280, 660), wanted);
    EXPECT_TRUE(small.maximised);
    EXPECT_EQ(small.size, QSize(1280, 660));

    // At the size it opens, and maximised under a title bar on the smaller screen,
    // every control shows without scrolling the window.
    auto* scroll = e.main->findChild<QScrollArea*>(QStringLiteral("scroll"));
    for (const QSize size : {roomy.size, QSize(1280, 630)}) {
        e.main->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0)
            << size.width() << "x" << size.height();
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0)
            << size.width() << "x" << size.height();
    }
}

TEST(TextColour, IsRefusedWhenTooCloseToTheBackground) {
    const struct {
        quint32 text, background;
        bool readable;
    } cases[] = {
        {0x000000, 0xFFFFFF, true},  {0xFFFFFF, 0xFFFFFF, false}, {0xFFFF00, 0xFFFFFF, false},
        {0xC0C0C0, 0xFFFFFF, false}, {0xFF0000, 0xFFFFFF, true},  {0x3366CC, 0xFFFFFF, true},
        {0x000080, 0x000000, false}, {0xFFFF00, 0x000000, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readableOn(c.text, c.background), c.readable)
            << std::hex << c.text << " on " << c.background;
    EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_EQ(contrastRatio(0x3366CC, 0xFFFFFF), contrastRatio(0xFFFFFF, 0x3366CC));
}

// The registry lists take their column's spare height: at the size the window opens on a
// 1366x768 screen a list shows at least 20 entries.
TEST(WindowSize, TheListsTakeTheirColumnsSpareHeight) {
    Editor e;
    e.open(e.dir.write(QStringLiteral("aimd.ini"), "[AITriggerTypes]\r\nT1=t,<none>\r\n"));
    e.main->resize(initialWindowGeometry(QSize(1366, 768), e.main->sizeHint()).size);
    QApplication::processEvents();
    EXPECT_GE(e.w->LstRoot->viewport()->height() / e.w->LstRoot->sizeHintForRow(0), 20);
}
