#include "RecognitionTestSupport.h"

#include "recognition/LineSplitter.h"
#include "recognition/ParseAddress.h"
#include "recognition/TextOps.h"

#include "support/MessageTexts.h"

using namespace Qt::StringLiterals;

namespace {

QStringList texts(const LineList &lines)
{
    QStringList out;
    for (const clsZeile &line : lines)
        out << line.Text;
    return out;
}

TEST(ChooseSeparator, FirstOccurringCandidateWinsWithoutCounting)
{
    const std::pair<const char16_t *, const char16_t *> cases[] = {
        {u"a\r\nb\tc;d", u"\r\n"},
        {u"a\nb\tc", u"\n"},
        {u"a\tb;c;d;e", u"\t"},
        {u"a;b#c", u";"},
        {u"a#b", u"#"},
        {u"a,b", u""},
        {u"a\rb", u""},
        {u"", u""},
    };
    for (const auto &[text, separator] : cases) {
        EXPECT_EQ(ChooseSeparator(QStringView(text)), QString::fromUtf16(separator))
            << QString::fromUtf16(text).toStdString();
    }
}

struct SplitCase
{
    const char *name;
    QString text;
    QString separator;
    QStringList lines;
};

TEST(SplitIntoLines, CleansEveryPiece)
{
    const SplitCase cases[] = {
        {"blank runs shrink to one blank",
         QStringLiteral("a   b  c\r\n  d "),
         QStringLiteral("\r\n"),
         {QStringLiteral("a b c"), QStringLiteral("d")}},
        {"blank-only pieces disappear",
         QStringLiteral("a\n   \n\nb\n"),
         QStringLiteral("\n"),
         {QStringLiteral("a"), QStringLiteral("b")}},
        {"a tab-only piece is an empty line",
         QStringLiteral("a\r\n\t\r\nb"),
         QStringLiteral("\r\n"),
         {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {"quotation marks go, all of them",
         QStringLiteral("> > Max Muster\r\n>a>b"),
         QStringLiteral("\r\n"),
         {QStringLiteral("Max Muster"), QStringLiteral("ab")}},
        {"a mark in the middle stays",
         QStringLiteral("a > b"),
         QStringLiteral("\r\n"),
         {QStringLiteral("a > b")}},
        {"line breaks still separate with a chosen separator",
         QStringLiteral("a,b\r\nc"),
         QStringLiteral(","),
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {"control characters go after the emptiness test",
         QStringLiteral("\x01 x \x02"),
         QStringLiteral(";"),
         {QStringLiteral(" x ")}},
        {"short details piece is an ordinary line",
         QStringLiteral("Details der schließen"),
         QStringLiteral(";"),
         {QStringLiteral("Details der schließen")}},
    };
    for (const SplitCase &c : cases) {
        QString clipText;
        const LineList lines = SplitIntoLines(c.text, c.separator, clipText);
        EXPECT_EQ(texts(lines), c.lines) << c.name;
        EXPECT_EQ(clipText,
                  c.lines.isEmpty() ? QString() : c.lines.join(u"\r\n") + QStringLiteral("\r\n"))
            << c.name;
    }
}

TEST(SplitIntoLines, DetailsLineNamesTheCompanyAndLeavesTheTextBox)
{
    QString clipText;
    const LineList lines = SplitIntoLines(
        QStringLiteral("Muster AG Berlin\r\nKontakt Muster AG\r\nDetails der Muster AG "
                       "schließen\r\nHauptstr. 1"),
        QStringLiteral("\r\n"), clipText);
    EXPECT_EQ(texts(lines),
              (QStringList{QStringLiteral("Muster AG"), QStringLiteral("Berlin"),
                           QStringLiteral("Kontakt"), QStringLiteral("Hauptstr. 1")}));
    EXPECT_EQ(lines[0].Firma, 20);
    EXPECT_EQ(ScoreSummary(lines[1]), QString());
    EXPECT_EQ(clipText, QStringLiteral("Muster AG Berlin\r\nKontakt Muster AG\r\nHauptstr. 1\r\n"));
}

// What the details lines do, done the slow way: insert in front, strip every record behind.
QStringList naiveDetails(const QStringList &pieces)
{
    QStringList list;
    for (QString piece : pieces) {
        while (piece.contains(QStringLiteral("  ")))
            piece.replace(QStringLiteral("  "), QStringLiteral(" "));
        piece = TrimBlanks(piece).toString();
        if (piece.startsWith(u"Details der ") && piece.endsWith(u" schließen") &&
            piece.size() >= 22) {
            const QString name = piece.mid(12, piece.size() - 22);
            for (QString &text : list) {
                if (!name.isEmpty())
                    text.remove(name);
                text = TrimBlanks(text).toString();
            }
            list.prepend(name);
        } else {
            list.append(piece);
        }
    }
    return list;
}

TEST(SplitIntoLines, ManyDetailsLinesGiveWhatOneByOneWouldGive)
{
    // Small alphabet and short names so that removals interact (including
    // removals that create new occurrences).
    const QStringList names{QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("b a"),
                            QStringLiteral("ba"), QString()};
    const QStringList words{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("ab"),
                            QStringLiteral("x"), QStringLiteral("aab b")};
    quint32 seed = 12345;
    const auto next = [&seed](int bound) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % quint32(bound));
    };
    for (int round = 0; round < 60; ++round) {
        QStringList pieces;
        const int count = 5 + next(200); // sometimes beyond the limit of direct runs
        for (int k = 0; k < count; ++k) {
            if (next(3) == 0) {
                pieces << QStringLiteral("Details der %1 schließen").arg(names[next(names.size())]);
            } else {
                QString piece;
                for (int w = 0; w <= next(4); ++w)
                    piece += words[next(words.size())];
                pieces << piece;
            }
        }
        QString clipText;
        const LineList lines = SplitIntoLines(pieces.join(u'\n'), QStringLiteral("\n"), clipText);
        ASSERT_EQ(texts(lines), naiveDetails(pieces)) << "round " << round;
    }
}

TEST(SeparatorPreview, CutsAtTheCandidateAndTrimsEachPiece)
{
    EXPECT_EQ(SeparatorPreview(QStringLiteral("Muster GmbH, Weg 1 ,Berlin"), QStringLiteral(",")),
              QStringLiteral("Muster GmbH\r\nWeg 1\r\nBerlin\r\n"));
    EXPECT_EQ(SeparatorPreview(QStringLiteral("a;;b\r\nc"), QStringLiteral(";")),
              QStringLiteral("a\r\n\r\nb\r\nc\r\n"));
    EXPECT_EQ(SeparatorPreview(QStringLiteral("a b"), QString()), QStringLiteral("a b\r\n"));
}

class CaptureTest : public RecognitionTest
{};

TEST_F(CaptureTest, BlankClipboardIsReportedExceptAtStart)
{
    QString clipText = QStringLiteral("old");
    Rows.SetRowValue(3, QStringLiteral("kept"));
    EXPECT_EQ(CaptureText(Context, QStringLiteral("   "), false, Rows, clipText, nullptr),
              ParseStatus::Empty);
    EXPECT_EQ(CaptureText(Context, QString(), true, Rows, clipText, nullptr), ParseStatus::Empty);
    ASSERT_EQ(Presenter.Messages.size(), 1);
    EXPECT_EQ(Presenter.Messages[0].first, MessageText::ClipboardEmpty);
    EXPECT_EQ(Presenter.Messages[0].second, MessageStyle::Information);
    EXPECT_EQ(Rows.RowValue(3), QStringLiteral("kept"));
    EXPECT_TRUE(clipText.isEmpty());
}

TEST_F(CaptureTest, LineBreaksCountAsTheOriginalClipboardHandsThemOver)
{
    struct Case
    {
        const char *what;
        QString separator; // chosen in the dialog; empty: detected
        QString clipboard;
        QString clipboardText; // what the dialog shows and previews
        QString box;
    } const cases[] = {
        {"CR LF as it was",
         {},
         u"Muster GmbH . \r\nBerlin . "_s,
         u"Muster GmbH . \r\nBerlin . "_s,
         u"Muster GmbH\r\nBerlin .\r\n"_s},
        {"LF alone, spaced dot goes",
         {},
         u"Muster GmbH . \nBerlin"_s,
         u"Muster GmbH . \r\nBerlin"_s,
         u"Muster GmbH\r\nBerlin\r\n"_s},
        {"LF under a chosen separator", u","_s, u"Huber GesmbH\nWiedner Str. 45, 1040 Wien"_s,
         u"Huber GesmbH\r\nWiedner Str. 45, 1040 Wien"_s,
         u"Huber GesmbH\r\nWiedner Str. 45\r\n1040 Wien\r\n"_s},
        {"CR LF and LF mixed", {}, u"a\r\nb\nc"_s, u"a\r\nb\r\nc"_s, u"a\r\nb\r\nc\r\n"_s},
        {"a lone CR stays", {}, u"a\rb\tc"_s, u"a\rb\tc"_s, u"ab\r\nc\r\n"_s},
    };
    for (const Case &c : cases) {
        Context.UserSeparator = c.separator;
        QString clipText;
        EXPECT_EQ(CaptureText(Context, c.clipboard, false, Rows, clipText, nullptr),
                  ParseStatus::Ok)
            << c.what;
        EXPECT_EQ(Context.ClipboardText, c.clipboardText) << c.what;
        EXPECT_EQ(clipText, c.box) << c.what;
        if (!c.separator.isEmpty()) {
            EXPECT_EQ(SeparatorPreview(c.clipboard, c.separator), clipText) << c.what;
        }
    }
}

TEST_F(CaptureTest, NoSeparatorAsksTheDialogAndGoesOnWithItsChoice)
{
    ScriptedDialog dialog(QStringLiteral(","));
    QString clipText;
    EXPECT_EQ(
        CaptureText(Context, QStringLiteral("Muster GmbH,Berlin"), false, Rows, clipText, &dialog),
        ParseStatus::Ok);
    EXPECT_EQ(dialog.Opened, 1);
    ASSERT_EQ(Presenter.Messages.size(), 1);
    EXPECT_EQ(Presenter.Messages[0].first, MessageText::NoSeparator);
    EXPECT_EQ(Presenter.Messages[0].second, MessageStyle::Exclamation);
    EXPECT_EQ(clipText, QStringLiteral("Muster GmbH\r\nBerlin\r\n"));
    // the choice stays for the next capture
    EXPECT_EQ(CaptureText(Context, QStringLiteral("a,b"), false, Rows, clipText, &dialog),
              ParseStatus::Ok);
    EXPECT_EQ(dialog.Opened, 1);
}

TEST_F(CaptureTest, NoSeparatorWithoutChoiceLeavesRowsCleared)
{
    Rows.SetRowValue(0, QStringLiteral("old"));
    QString clipText;
    ScriptedDialog cancelled{QString()};
    EXPECT_EQ(CaptureText(Context, QStringLiteral("Muster"), false, Rows, clipText, &cancelled),
              ParseStatus::NoSeparator);
    EXPECT_EQ(CaptureText(Context, QStringLiteral("Muster"), false, Rows, clipText, nullptr),
              ParseStatus::NoSeparator);
    EXPECT_EQ(RowsSummary(Rows), QString());
    EXPECT_EQ(Presenter.Messages.size(), 2);
}

TEST_F(CaptureTest, ChosenSeparatorIsUsedWithoutTryingCandidates)
{
    Context.UserSeparator = QStringLiteral("|");
    QString clipText;
    EXPECT_EQ(ParseAddress(Context, QStringLiteral("a|b;c"), Rows, clipText, nullptr),
              ParseStatus::Ok);
    EXPECT_EQ(clipText, QStringLiteral("a\r\nb;c\r\n"));
}

} // namespace
