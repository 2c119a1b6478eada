#include "RecognitionTestSupport.h"

#include "recognition/CountryPrefixes.h"
#include "recognition/LineScorer.h"

#include "common/CaseFile.h"

QString DataText(const QString &escaped)
{
    return QString::fromUtf8(Unescape(escaped));
}

QString ScoreSummary(const clsZeile &line)
{
    const std::pair<const char16_t *, qint16> scores[] = {
        {u"Firma", line.Firma},       {u"Kontakt", line.Kontakt},   {u"Anrede", line.Anrede},
        {u"NachName", line.NachName}, {u"Vorname", line.Vorname},   {u"Postfach", line.Postfach},
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
        clsZeile line;
        line.Text = text;
        lines.push_back(line);
    }
    return lines;
}

LineList ScoreBlock(const QString &block)
{
    LineList lines = MakeLines(block.split(u'\n'));
    ApplyCountryPrefixes(lines);
    return ScoreLines(std::move(lines));
}

QString RowsSummary(const FieldRows &rows)
{
    QString summary;
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const auto content = rows.ReadRow(row);
        if (!content && rows.RowValue(row).isEmpty())
            continue;
        summary += QStringLiteral("%1 %2 %3\n")
                       .arg(row)
                       .arg(content ? QString::number(content->FieldNumber) : QStringLiteral("-"))
                       .arg(rows.RowValue(row));
    }
    return summary;
}

QString ScriptedDialog::Open()
{
    ++Opened;
    return m_choice;
}

void RecognitionTest::SetUp()
{
    SetMessagePresenter(&Presenter);
    Rows.FillStandardCatalogue();
}

void RecognitionTest::TearDown()
{
    SetMessagePresenter(nullptr);
}
