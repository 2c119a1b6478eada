// The steps of recognition, each against its table of cases in data/.

#include "common/CaseFile.h"
#include "recognition/CountryPrefixes.h"
#include "recognition/FixedLabels.h"
#include "recognition/LineScorer.h"
#include "recognition/LineSplitter.h"
#include "recognition/Normalisers.h"
#include "recognition/TextOps.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString DataText(const QString &escaped)
{
    return QString::fromUtf8(Unescape(escaped));
}

// Non-zero scores of a line in member order, e.g. "Firma=3 Kontakt=3".
QString ScoreSummary(const CapturedLine &line)
{
    const std::pair<const char16_t *, qint16> scores[] = {
        {u"Firma", line.Firma},       {u"Kontakt", line.Kontakt},   {u"Anrede", line.Anrede},
        {u"Nachname", line.Nachname}, {u"Vorname", line.Vorname},   {u"Postfach", line.Postfach},
        {u"Adresse", line.Adresse},   {u"PLZ", line.PLZ},           {u"Ort", line.Ort},
        {u"Land", line.Land},         {u"Telefon", line.Telefon},   {u"Fax", line.Fax},
        {u"Mobil", line.Mobil},       {u"EMail", line.EMail},       {u"Website", line.Website},
        {u"Adresse2", line.Adresse2}, {u"Adresse3", line.Adresse3}, {u"Titel", line.Titel},
        {u"Telefon2", line.Telefon2}, {u"Telefon3", line.Telefon3},
    };
    QStringList parts;
    for (const auto &[name, score] : scores) {
        if (score != 0)
            parts << QStringLiteral("%1=%2").arg(QStringView(name)).arg(score);
    }
    return parts.join(u' ');
}

LineList MakeLines(const QStringList &texts)
{
    LineList lines;
    for (const QString &text : texts) {
        CapturedLine line;
        line.Text = text;
        lines.push_back(line);
    }
    return lines;
}

QStringList texts(const LineList &lines)
{
    QStringList out;
    for (const CapturedLine &line : lines)
        out << line.Text;
    return out;
}

QStringList dataLines(const QString &escaped)
{
    return DataText(escaped).split(u'\n');
}

using LineScores = CaseFileTest<>;
using FixedLabels = CaseFileTest<>;
using CountryPrefixes = CaseFileTest<>;
using Cleaners = CaseFileTest<>;
using Splitting = CaseFileTest<>;

TEST_P(LineScores, Hold)
{
    const DataCase &c = GetParam();
    LineList lines = MakeLines(dataLines(c.value(u"block"_s)));
    ApplyCountryPrefixes(lines);
    lines = ScoreLines(std::move(lines));
    const int line = c.value(u"line"_s).toInt();
    ASSERT_GE(int(lines.size()), line);
    EXPECT_EQ(lines[size_t(line - 1)].Text, DataText(c.value(u"text"_s)));
    EXPECT_EQ(ScoreSummary(lines[size_t(line - 1)]), c.value(u"scores"_s));
}

TEST_P(FixedLabels, Hold)
{
    const DataCase &c = GetParam();
    CapturedLine line;
    line.Text = DataText(c.value(u"line"_s));
    const qsizetype start = ApplyFixedLabels(UpperText(line.Text), line);
    EXPECT_EQ(TrimBlanks(QStringView(line.Text).sliced(start)).toString(),
              DataText(c.value(u"text"_s)));
    EXPECT_EQ(ScoreSummary(line), c.value(u"scores"_s));
}

TEST_P(CountryPrefixes, Hold)
{
    const DataCase &c = GetParam();
    LineList lines = MakeLines(dataLines(c.value(u"before"_s)));
    ApplyCountryPrefixes(lines);
    EXPECT_EQ(texts(lines), dataLines(c.value(u"after"_s)));
    if (const int country = c.value(u"country"_s).toInt(); country > 0) {
        EXPECT_EQ(ScoreSummary(lines[size_t(country - 1)]), u"Land=10"_s);
    }
}

// Every line of the file names one of the cleaners.
TEST_P(Cleaners, Hold)
{
    const std::pair<const char16_t *, QString (*)(const QString &)> cleaners[] = {
        {u"phone", CleanPhone}, {u"email", CleanEMail}, {u"web", CleanWebAddress}};
    int checked = 0;
    for (const auto &[kind, argument] : GetParam().lines) {
        const QStringList io = argument.split(u'|');
        for (const auto &[name, clean] : cleaners) {
            if (kind == QStringView(name)) {
                EXPECT_EQ(clean(DataText(io[0])), DataText(io[1])) << argument.toStdString();
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, int(GetParam().lines.size()));
}

TEST_P(Splitting, Hold)
{
    const DataCase &c = GetParam();
    for (const auto &[kind, argument] : c.lines) {
        if (kind == u"choose") {
            const QStringList io = argument.split(u'|');
            EXPECT_EQ(ChooseSeparator(DataText(io[0])), DataText(io[1])) << argument.toStdString();
        }
    }
    if (!c.has(u"text"_s))
        return;
    const QStringList expected = dataLines(c.value(u"lines"_s));
    QString clipText;
    const LineList lines =
        SplitIntoLines(DataText(c.value(u"text"_s)), DataText(c.value(u"separator"_s)), clipText);
    EXPECT_EQ(texts(lines), expected);
    EXPECT_EQ(clipText, expected.join(u"\r\n") + u"\r\n"_s);
}

INSTANTIATE_TEST_SUITE_P(File, LineScores, CasesOf(ORDALIS_TEST_DATA "/scores.txt"), CaseTestName);
INSTANTIATE_TEST_SUITE_P(File, FixedLabels, CasesOf(ORDALIS_TEST_DATA "/labels.txt"), CaseTestName);
INSTANTIATE_TEST_SUITE_P(File, CountryPrefixes, CasesOf(ORDALIS_TEST_DATA "/prefixes.txt"),
                         CaseTestName);
INSTANTIATE_TEST_SUITE_P(File, Cleaners, CasesOf(ORDALIS_TEST_DATA "/cleaners.txt"), CaseTestName);
INSTANTIATE_TEST_SUITE_P(File, Splitting, CasesOf(ORDALIS_TEST_DATA "/splitting.txt"),
                         CaseTestName);

} // namespace
