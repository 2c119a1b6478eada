#include "FieldAssignment.h"

#include "Normalisers.h"
#include "ScoreRules.h"
#include "TextOps.h"

#include "support/ActFields.h"
#include "support/FieldRows.h"
#include "support/SettingsFile.h"

namespace {

enum class Winner {
    Company,
    Salutation,
    Contact,
    PostBox,
    Street,
    Postcode,
    City,
    Country,
    Telephone,
    Fax,
    Mobile,
    EMail,
    Website,
    LastName,
    FirstName,
    Title,
};

// Ties go to the earlier entry.
struct Candidate
{
    qint16 CapturedLine::*score;
    Winner winner;
};
const Candidate WinnerOrder[] = {
    {&CapturedLine::Firma, Winner::Company},     {&CapturedLine::Anrede, Winner::Salutation},
    {&CapturedLine::Kontakt, Winner::Contact},   {&CapturedLine::Postfach, Winner::PostBox},
    {&CapturedLine::Adresse, Winner::Street},    {&CapturedLine::PLZ, Winner::Postcode},
    {&CapturedLine::Ort, Winner::City},          {&CapturedLine::Land, Winner::Country},
    {&CapturedLine::Telefon, Winner::Telephone}, {&CapturedLine::Fax, Winner::Fax},
    {&CapturedLine::Mobil, Winner::Mobile},      {&CapturedLine::EMail, Winner::EMail},
    {&CapturedLine::Website, Winner::Website},   {&CapturedLine::Nachname, Winner::LastName},
    {&CapturedLine::Vorname, Winner::FirstName}, {&CapturedLine::Titel, Winner::Title},
};

namespace Field = ActField;

constexpr qint32 AddressFields[] = {Field::Adresse, Field::Adresse2, Field::Adresse3};
constexpr qint32 TelephoneFields[] = {Field::Telefon, Field::Telefon2, Field::Telefon3};

Winner winningField(const CapturedLine &line)
{
    int best = -1;
    Winner winner = Winner::Company;
    for (const Candidate &candidate : WinnerOrder) {
        if (line.*candidate.score > best) {
            best = line.*candidate.score;
            winner = candidate.winner;
        }
    }
    return winner;
}

// An undecided first line takes the opposite role of a clearly-company second
// line, and otherwise counts as company; then the same for line 2.
void settleCompanyContactTie(LineList &lines)
{
    CapturedLine &first = lines[0];
    CapturedLine &second = lines[1];
    if (first.Kontakt == first.Firma)
        Award(first, second.Firma > second.Kontakt ? ScoreRules::UndecidedAsContact
                                                   : ScoreRules::UndecidedAsCompany);
    if (second.Kontakt == second.Firma)
        Award(second, first.Firma > first.Kontakt ? ScoreRules::UndecidedAsContact
                                                  : ScoreRules::UndecidedAsCompany);
}

QString countryValue(const QString &text, const Settings &settings)
{
    static const QString Germany = QStringLiteral("GERMANY");
    static const QString Deutschland = QStringLiteral("Deutschland");
    QString value;
    const QString upper = UpperText(text);
    qsizetype from = 0;
    for (qsizetype at = upper.indexOf(Germany); at >= 0; at = upper.indexOf(Germany, from)) {
        value += QStringView(text).sliced(from, at - from);
        value += Deutschland;
        from = at + Germany.size();
    }
    value += QStringView(text).sliced(from);
    if (TrimBlanks(value).isEmpty())
        return settings.StandardLand5PLZ;
    return value;
}

class RowWriter
{
public:
    RowWriter(FieldRows &rows, const Settings &settings) : m_rows(rows), m_settings(settings) {}

    void Write(int row, const CapturedLine &line);
    void AddDefaultCountry(int row);

private:
    void put(int row, const QString &value, qint32 field);

    FieldRows &m_rows;
    const Settings &m_settings;
    int m_addressLines = 0;
    int m_telephoneLines = 0;
    bool m_noCountry = true;
    qsizetype m_postcodeLength = 0;

public:
    bool NoCountry() const { return m_noCountry; }
};

void RowWriter::put(int row, const QString &value, qint32 field)
{
    m_rows.SetRowValue(row, value);
    if (field != 0)
        m_rows.SelectRowField(row, field);
}

void RowWriter::Write(int row, const CapturedLine &line)
{
    const QString &t = line.Text;
    switch (winningField(line)) {
    case Winner::Company:
        return put(row, t, Field::Firma);
    case Winner::Salutation:
        return put(row, t, Field::Anrede);
    case Winner::Contact:
        return put(row, t, Field::Kontakt);
    case Winner::PostBox:
        return; // the row stays empty
    case Winner::Street: {
        const int index = m_addressLines++;
        return put(row, t, index < 3 ? AddressFields[index] : 0);
    }
    case Winner::Postcode:
        m_postcodeLength = t.size();
        return put(row, t, Field::PLZ);
    case Winner::City:
        return put(row, t, Field::Ort);
    case Winner::Country:
        m_noCountry = false;
        return put(row, countryValue(t, m_settings), Field::Land);
    case Winner::Telephone: {
        const int index = m_telephoneLines++;
        return put(row, CleanPhone(t), index < 3 ? TelephoneFields[index] : 0);
    }
    case Winner::Fax:
        return put(row, CleanPhone(t), Field::Fax);
    case Winner::Mobile:
        return put(row, CleanPhone(t), Field::Mobil);
    case Winner::EMail:
        return put(row, CleanEMail(t), Field::EMail);
    case Winner::Website:
        return put(row, CleanWebAddress(t), Field::Website);
    case Winner::LastName:
        return put(row, t, Field::Nachname);
    case Winner::FirstName:
        return put(row, t, Field::Vorname);
    case Winner::Title:
        return put(row, t, Field::Titel);
    }
}

void RowWriter::AddDefaultCountry(int row)
{
    put(row, m_postcodeLength == 4 ? m_settings.StandardLand4PLZ : m_settings.StandardLand5PLZ,
        Field::Land);
}

} // namespace

void AssignFields(LineList &lines, FieldRows &rows, const Settings &settings)
{
    const qsizetype n = qsizetype(lines.size());
    if (n >= 2)
        settleCompanyContactTie(lines);

    RowWriter writer(rows, settings);
    for (qsizetype i = 0; i < n && i < FieldRows::RowCount; ++i)
        writer.Write(int(i), lines[size_t(i)]);

    if (writer.NoCountry() && n < FieldRows::RowCount)
        writer.AddDefaultCountry(int(n));
}
