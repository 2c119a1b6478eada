// The main window as laid out in twips: the scale and the tab order.

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

class MainWindowLayout : public AppTest
{};

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
