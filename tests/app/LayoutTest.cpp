// The main window as laid out in twips: pixel geometry and the tab order.

#include "AppTestSupport.h"

#include "app/Twips.h"
#include "app/formMain.h"

using namespace Qt::StringLiterals;

namespace {

TEST(Twips, ScaleWithTheScreen)
{
    struct Case
    {
        int twips;
        qreal dpi;
        int pixels;
    } const cases[] = {
        {15, 96, 1},    {9900, 96, 660}, {9900, 144, 990}, {8025, 96, 535},
        {300, 120, 25}, {7, 96, 0},      {8, 96, 1},       {0, 192, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(Twips, NeighboursThatTouchStillTouch)
{
    // The two half-width buttons of a column: 6630+1550 and 8215 leave a gap of
    // 35 twips, the whole column is 6630..9765.
    for (const qreal dpi : {96.0, 110.0, 120.0, 144.0, 168.0}) {
        const QRect left = TwipsRect(6630, 6300, 1550, 375, dpi);
        const QRect right = TwipsRect(8215, 6300, 1550, 375, dpi);
        const QRect whole = TwipsRect(6630, 5880, 3135, 375, dpi);
        EXPECT_EQ(left.left(), whole.left()) << dpi;
        EXPECT_EQ(right.right(), whole.right()) << dpi;
        EXPECT_LT(left.right(), right.left()) << dpi;
    }
}

class MainWindowLayout : public AppTest
{};

TEST_F(MainWindowLayout, ControlsSitWhereTheTwipsTablePutsThem)
{
    formMain window;
    ASSERT_EQ(window.logicalDpiY(), 96) << "pixel figures below are for 96 dpi";
    EXPECT_EQ(window.size(), QSize(660, 535));
    struct Case
    {
        const char *name;
        QRect pixels;
    } const cases[] = {
        {"txtWert0", {8, 8, 484, 20}},
        {"txtField0", {496, 8, 156, 20}},
        {"txtWert15", {8, 368, 484, 20}},
        {"txtField15", {496, 368, 156, 20}},
        {"txtClipText", {8, 392, 428, 137}},
        {"cmdGetClipboard", {442, 392, 209, 25}},
        {"cmdNeuanlageInACT", {442, 420, 103, 25}},
        {"cmdBearbeitenInAct", {548, 420, 103, 25}},
        {"cmdNeuerTrenner", {442, 448, 209, 25}},
        {"cmdAlleFelder", {442, 476, 209, 25}},
        {"cmdInfo", {442, 504, 103, 25}},
        {"cmdUpdate", {548, 504, 103, 25}},
    };
    for (const Case &c : cases) {
        const QWidget *control = window.findChild<QWidget *>(QLatin1String(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.pixels) << c.name;
    }
}

TEST_F(MainWindowLayout, TabWalksButtonsThenEachRowsValueAndFieldThenTheBox)
{
    formMain window;
    QStringList expected = {u"cmdGetClipboard"_s, u"cmdNeuanlageInACT"_s, u"cmdBearbeitenInAct"_s,
                            u"cmdNeuerTrenner"_s, u"cmdAlleFelder"_s,     u"cmdInfo"_s,
                            u"cmdUpdate"_s};
    for (int row = 0; row < formMain::RowCount; ++row)
        expected << QStringLiteral("txtWert%1").arg(row) << QStringLiteral("txtField%1").arg(row);
    expected << u"txtClipText"_s;

    QStringList walked;
    QWidget *widget = window.findChild<QWidget *>(QStringLiteral("cmdGetClipboard"));
    for (int step = 0; step < expected.size() && widget != nullptr; ++step) {
        walked << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (widget != nullptr &&
               (widget->window() != &window || !(widget->focusPolicy() & Qt::TabFocus) ||
                widget->focusProxy() != nullptr)); // as Tab passes over a list's own text
    }
    EXPECT_EQ(walked, expected);
    // and round again
    EXPECT_EQ(widget->objectName(), u"cmdGetClipboard"_s);
}

} // namespace
