#include "RecognitionTestSupport.h"

#include "recognition/TextOps.h"

#include "recognition/Score.h"

namespace {

TEST(TextOps, UpperCasingKeepsLengthAndPositions)
{
    const QString text = QStringLiteral("straße äöü ﬁ x");
    const QString upper = UpperText(text);
    EXPECT_EQ(upper.size(), text.size());
    EXPECT_EQ(upper, QStringLiteral("STRAßE ÄÖÜ ﬁ X"));
    // a lone surrogate passes through unchanged
    const QString lone(QChar(0xD800));
    EXPECT_EQ(UpperText(lone), lone);
}

TEST(TextOps, CountDigitsCountsOnlyAsciiDigits)
{
    const std::pair<const char16_t *, int> cases[] = {
        {u"", 0}, {u"abc", 0}, {u"D-12345 Ort", 5}, {u"+49 (0)30 123", 8}, {u"٣٤", 0}, {u"²", 0},
    };
    for (const auto &[text, digits] : cases)
        EXPECT_EQ(CountDigits(QStringView(text)), digits)
            << QStringView(text).toString().toStdString();
}

TEST(TextOps, StripControlCharsRemovesCodes30AndBelow)
{
    const QString input =
        QStringLiteral("a\tb\r\nc") + QChar(0) + QChar(30) + QChar(31) + QStringLiteral(" d");
    EXPECT_EQ(StripControlChars(input), QStringLiteral("abc") + QChar(31) + QStringLiteral(" d"));
}

TEST(TextOps, TrimRemovesBlanksOnly)
{
    EXPECT_EQ(TrimBlanks(u"  a b  ").toString(), QStringLiteral("a b"));
    EXPECT_EQ(TrimBlanks(u"\ta\t").toString(), QStringLiteral("\ta\t"));
    EXPECT_EQ(TrimBlanks(u"   ").toString(), QString());
}

TEST(Score, AdditionBeyond16BitsIsAFailure)
{
    qint16 score = 32760;
    AddPoints(score, 7);
    EXPECT_EQ(score, 32767);
    EXPECT_THROW(AddPoints(score, 1), ScoreOverflow);
    EXPECT_EQ(score, 32767);
}

} // namespace
