#include "VCardImport.h"

#include "NoteLabels.h"
#include "VCardReader.h"
#include "VCardText.h"
#include "VCardWriter.h"

#include "support/ActFields.h"

#include <QRegularExpression>
#include <QUrl>

#include <optional>

using namespace Qt::StringLiterals;
using VCardText::SplitUnescaped;
using VCardText::Unescape;

namespace {

constexpr qint32 WorkPhones[] = {ActField::Telefon, ActField::Telefon2, ActField::Telefon3};
constexpr qsizetype MaxNamedUnused = 30; // a longer list says nothing more to a reader

// Properties that describe the card itself, or label another property, rather than the contact.
bool isCardMetadata(const QString &name)
{
    static const QSet<QString> names{u"VERSION"_s,
                                     u"UID"_s,
                                     u"PRODID"_s,
                                     u"REV"_s,
                                     u"KIND"_s,
                                     u"CLIENTPIDMAP"_s,
                                     u"X-ABLABEL"_s,
                                     u"X-ABADR"_s,
                                     u"X-ABUID"_s,
                                     u"X-ABSHOWAS"_s,
                                     u"X-ORDALIS"_s,
                                     u"SORT-STRING"_s,
                                     u"X-PHONETIC"_s,
                                     u"NAME"_s,
                                     u"PROFILE"_s,
                                     u"SOURCE"_s,
                                     u"X-EVOLUTION-FILE-AS"_s};
    return names.contains(name);
}

// Salutations go to Anrede, academic titles to Titel.
const QSet<QString> Salutations{
    u"herr"_s, u"frau"_s, u"mr."_s, u"mr"_s,       u"mrs."_s,   u"mrs"_s, u"ms."_s, u"ms"_s,
    u"miss"_s, u"mx."_s,  u"mx"_s,  u"monsieur"_s, u"madame"_s, u"mme"_s, u"m."_s,  u"fräulein"_s};
const QRegularExpression AcademicTitle(
    uR"(^(dr|dres|prof|dipl|mag|ing|lic|priv|doz|habil|med|rer|nat|phil|jur|oec|pol|h\.c|mult|ph\.d|phd|mba|b\.sc|m\.sc|m\.a|b\.a)\b)"_s,
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);

// Where a card has several values of one kind: preferred, then work, then first.
struct Rank
{
    int preference = 101; // PREF 1 to 100, as 4.0 counts; TYPE=pref is 1
    bool work = false;
    int order = 0;

    bool betterThan(const Rank &other) const
    {
        if (preference != other.preference)
            return preference < other.preference;
        if (work != other.work)
            return work;
        return order < other.order;
    }
};

Rank rankOf(const VCardProperty &property, int order)
{
    Rank rank{101, false, order};
    const QStringList types = property.Types();
    bool ok = false;
    const int preference = property.Parameter(u"PREF"_s).toInt(&ok);
    if (ok && preference >= 1 && preference <= 100)
        rank.preference = preference;
    if (types.contains(u"pref"_s))
        rank.preference = qMin(rank.preference, 1);
    rank.work = types.contains(u"work"_s);
    return rank;
}

template <typename Value> struct Choice
{
    std::optional<Value> value;
    Rank rank;
    int count = 0;

    // The value the offer displaced, or the offer itself when it lost.
    std::optional<Value> offer(Value offered, const Rank &offeredRank)
    {
        ++count;
        if (!value) {
            value = std::move(offered);
            rank = offeredRank;
            return std::nullopt;
        }
        if (!offeredRank.betterThan(rank))
            return offered;
        std::optional<Value> displaced = std::move(value);
        value = std::move(offered);
        rank = offeredRank;
        return displaced;
    }
};

struct Phone
{
    QString number;
    Rank rank;
};

// The voice phones of a card: the best for Telefon, then the others in the
// card's order for Telefon 2 and 3. Only as many are kept as can be placed.
class PhonePool
{
public:
    void offer(const Phone &phone)
    {
        ++m_count;
        if (m_first.size() < qsizetype(std::size(WorkPhones)))
            m_first.append(phone);
        else if (!m_bestBeyond || phone.rank.betterThan(m_bestBeyond->rank))
            m_bestBeyond = phone;
    }

    QStringList ordered() const
    {
        QList<Phone> phones = m_first;
        if (m_bestBeyond)
            phones.append(*m_bestBeyond);
        const auto best =
            std::min_element(phones.cbegin(), phones.cend(), [](const Phone &a, const Phone &b) {
                return a.rank.betterThan(b.rank);
            });
        QStringList numbers;
        if (best == phones.cend())
            return numbers;
        numbers.append(best->number);
        for (auto it = m_first.cbegin(); it != m_first.cend(); ++it) {
            if (it->rank.order != best->rank.order)
                numbers.append(it->number);
        }
        return numbers;
    }

    int count() const { return m_count; }

private:
    QList<Phone> m_first;
    std::optional<Phone> m_bestBeyond;
    int m_count = 0;
};

QStringList components(const VCardProperty &property)
{
    return SplitUnescaped(property.Value, u';');
}

QString component(const QStringList &parts, qsizetype index)
{
    return index < parts.size() ? Unescape(parts[index]) : QString();
}

QStringList listValues(const QStringList &parts, qsizetype index)
{
    QStringList values;
    if (index < parts.size()) {
        for (const QString &value : SplitUnescaped(parts[index], u','))
            values.append(Unescape(value));
    }
    return values;
}

// The lines of a value, trimmed, without empty ones.
QStringList linesOf(const QString &value)
{
    static const QRegularExpression lineBreak(u"\r\n|\r|\n|\u2028|\u2029"_s);
    QStringList lines;
    for (const QString &line : value.split(lineBreak)) {
        if (const QString trimmed = line.trimmed(); !trimmed.isEmpty())
            lines.append(trimmed);
    }
    return lines;
}

QString singleLine(const QString &value)
{
    return linesOf(value).join(u", "_s);
}

QString joinWords(const QStringList &words)
{
    QStringList kept;
    for (const QString &word : words) {
        if (const QString line = singleLine(word); !line.isEmpty())
            kept.append(line);
    }
    return kept.join(u' ');
}

// "tel:+1-418-656-9254;ext=102" as it is dialled: "+1-418-656-9254 ext. 102".
QString phoneNumber(const QString &value)
{
    QString number = value.trimmed();
    if (!number.startsWith(u"tel:"_s, Qt::CaseInsensitive))
        return number;
    const QStringList parts = number.mid(4).split(u';');
    number = QUrl::fromPercentEncoding(parts.first().toUtf8());
    for (const QString &parameter : parts.mid(1)) {
        if (parameter.startsWith(u"ext="_s, Qt::CaseInsensitive))
            number += u" ext. "_s + QUrl::fromPercentEncoding(parameter.mid(4).toUtf8());
    }
    return number;
}

QString mailAddress(const QString &value)
{
    const QString address = value.trimmed();
    return address.startsWith(u"mailto:"_s, Qt::CaseInsensitive) ? address.mid(7) : address;
}

} // namespace

class VCardContactBuilder::Card
{
public:
    explicit Card(const NoteLabels &labels) : m_labels(labels) {}

    void take(const VCardProperty &property)
    {
        const QString &name = property.Name;
        const Rank rank = rankOf(property, ++m_order);
        if (name == u"FN"_s) {
            // A name this program made up from other fields was never a field of its own.
            if (!property.HasParameter(DerivedNameParameter))
                m_formattedName.offer(Unescape(property.Value), rank);
        } else if (name == u"N"_s) {
            m_name.offer(components(property), rank);
        } else if (name == u"ORG"_s) {
            m_organisation.offer(components(property), rank);
        } else if (name == u"ADR"_s) {
            m_address.offer(components(property), rank);
        } else if (name == u"TEL"_s) {
            phone(property, rank);
        } else if (name == u"EMAIL"_s) {
            m_mail.offer(mailAddress(Unescape(property.Value)), rank);
        } else if (name == u"URL"_s) {
            m_website.offer(Unescape(property.Value), rank);
        } else if (name == u"NOTE"_s) {
            note(property);
        } else if (name == u"LABEL"_s) {
            m_labelSeen = true;
        } else if (!isCardMetadata(name)) {
            unused(name);
        }
    }

    ImportedContact finish()
    {
        placeNames();
        placeOrganisation();
        placeAddress();
        placePhones();
        setChosen(ActField::EMail, m_mail, u"EMAIL"_s);
        setChosen(ActField::Website, m_website, u"URL"_s);
        if (m_labelSeen && !m_address.value)
            unused(u"LABEL"_s);
        if (m_unusedOverflow)
            m_contact.Unused.append(u"…"_s);
        return std::move(m_contact);
    }

private:
    void set(qint32 field, const QString &value)
    {
        if (const QString line = singleLine(value); !line.isEmpty())
            m_contact.Values.insert(field, line);
    }

    void setChosen(qint32 field, const Choice<QString> &choice, const QString &name)
    {
        if (choice.value)
            set(field, *choice.value);
        if (choice.count > 1)
            unused(name);
    }

    void unused(const QString &what)
    {
        if (m_unusedSeen.contains(what))
            return;
        if (m_contact.Unused.size() >= MaxNamedUnused) {
            m_unusedOverflow = true;
            return;
        }
        m_unusedSeen.insert(what);
        m_contact.Unused.append(what);
    }

    void phone(const VCardProperty &property, const Rank &rank)
    {
        const QString number = phoneNumber(Unescape(property.Value));
        const QStringList types = property.Types();
        const qint32 slot = property.Parameter(PhoneSlotParameter).toInt();
        if (std::find(std::begin(WorkPhones), std::end(WorkPhones), slot) != std::end(WorkPhones)) {
            if (m_contact.Values.contains(slot))
                m_phones.offer({number, rank});
            else
                set(slot, number);
        } else if (types.contains(u"fax"_s)) {
            m_fax.offer(number, rank);
        } else if (types.contains(u"cell"_s)) {
            // A cell phone that loses to another still counts as a phone.
            const Rank held = m_cell.rank;
            if (const auto displaced = m_cell.offer(number, rank))
                m_phones.offer({*displaced, m_cell.rank.order == rank.order ? held : rank});
        } else {
            m_phones.offer({number, rank});
        }
    }

    void note(const VCardProperty &property)
    {
        const QStringList unmatched = m_labels.ReadNote(Unescape(property.Value), m_contact.Values);
        for (const QString &line : unmatched) {
            if (!line.trimmed().isEmpty()) {
                unused(property.Name);
                break;
            }
        }
    }

    void placeNames()
    {
        QString fullName = m_formattedName.value.value_or(QString());
        if (m_formattedName.count > 1)
            unused(u"FN"_s);
        if (m_name.value) {
            const QStringList &parts = *m_name.value;
            const QString family = joinWords(listValues(parts, 0));
            const QString given = joinWords(listValues(parts, 1));
            const QString middle = joinWords(listValues(parts, 2));
            const QString suffix = joinWords(listValues(parts, 4));
            set(ActField::Nachname, family);
            set(ActField::Vorname, given);
            placePrefixes(listValues(parts, 3));
            if (singleLine(fullName).isEmpty() && (!middle.isEmpty() || !suffix.isEmpty()))
                fullName = joinWords({given, middle, family, suffix});
            reportUnheld(fullName, middle, u"N (weitere Vornamen: %1)"_s);
            reportUnheld(fullName, suffix, u"N (Namenszusatz: %1)"_s);
            if (m_name.count > 1)
                unused(u"N"_s);
        }
        set(ActField::Kontakt, fullName);
    }

    void reportUnheld(const QString &fullName, const QString &part, const QString &message)
    {
        if (!part.isEmpty() && !fullName.contains(part, Qt::CaseInsensitive))
            unused(message.arg(part));
    }

    // Each prefix by what it is; one that is neither salutation nor academic
    // title takes the place its position gives (first Anrede, then Titel).
    void placePrefixes(const QStringList &prefixes)
    {
        QStringList salutation, title;
        for (const QString &prefix : prefixes) {
            const QStringList words = singleLine(prefix).split(u' ', Qt::SkipEmptyParts);
            if (words.isEmpty())
                continue;
            const bool known = std::all_of(words.cbegin(), words.cend(), [](const QString &w) {
                return Salutations.contains(w.toLower()) || AcademicTitle.match(w).hasMatch();
            });
            if (!known) {
                (salutation.isEmpty() && title.isEmpty() ? salutation : title)
                    .append(words.join(u' '));
                continue;
            }
            for (const QString &word : words)
                (Salutations.contains(word.toLower()) ? salutation : title).append(word);
        }
        set(ActField::Anrede, salutation.join(u' '));
        set(ActField::Titel, title.join(u' '));
    }

    void placeOrganisation()
    {
        if (!m_organisation.value)
            return;
        const QStringList &parts = *m_organisation.value;
        set(ActField::Firma, component(parts, 0));
        QStringList units;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            if (const QString unit = singleLine(Unescape(parts[i])); !unit.isEmpty())
                units.append(unit);
        }
        set(ActField::Abteilung, units.join(u", "_s));
        if (m_organisation.count > 1)
            unused(u"ORG"_s);
    }

    // Street lines first, then what other address books keep beside them;
    // Adresse 2 and 3 are lines of the one address.
    void placeAddress()
    {
        if (!m_address.value)
            return;
        const QStringList &parts = *m_address.value;
        QStringList lines;
        // An empty street value keeps its place: this program writes Adresse 3 alone as ",,x".
        for (const QString &street : listValues(parts, 2)) {
            const QStringList streetLines = linesOf(street);
            lines += streetLines.isEmpty() ? QStringList{QString()} : streetLines;
        }
        for (const qsizetype extra : {1, 0})
            lines += linesOf(component(parts, extra));
        const qint32 lineFields[] = {ActField::Adresse, ActField::Adresse2};
        for (qsizetype i = 0; i < 2 && i < lines.size(); ++i)
            set(lineFields[i], lines[i]);
        QStringList rest = lines.mid(2);
        rest.removeAll(QString());
        set(ActField::Adresse3, rest.join(u", "_s));
        set(ActField::Ort, component(parts, 3));
        set(ActField::PLZ, component(parts, 5));
        set(ActField::Land, component(parts, 6));
        if (!singleLine(component(parts, 4)).isEmpty())
            unused(u"ADR (Region)"_s);
        if (m_address.count > 1)
            unused(u"ADR"_s);
    }

    // Phones without a place of their own take the free work phones, in order.
    void placePhones()
    {
        if (m_cell.value)
            set(ActField::Mobil, *m_cell.value);
        setChosen(ActField::Fax, m_fax, u"TEL (Fax)"_s);
        qsizetype placed = 0;
        for (const QString &number : m_phones.ordered()) {
            const auto free =
                std::find_if(std::begin(WorkPhones), std::end(WorkPhones),
                             [&](qint32 field) { return !m_contact.Values.contains(field); });
            if (free == std::end(WorkPhones))
                break;
            set(*free, number);
            ++placed;
        }
        if (placed < m_phones.count())
            unused(u"TEL"_s);
    }

    const NoteLabels &m_labels;
    ImportedContact m_contact;
    QSet<QString> m_unusedSeen;
    bool m_unusedOverflow = false;
    int m_order = 0;
    Choice<QString> m_formattedName;
    Choice<QStringList> m_name;
    Choice<QStringList> m_organisation;
    Choice<QStringList> m_address;
    Choice<QString> m_mail;
    Choice<QString> m_website;
    Choice<QString> m_cell;
    Choice<QString> m_fax;
    PhonePool m_phones;
    bool m_labelSeen = false;
};

VCardContactBuilder::VCardContactBuilder(const NoteLabels &labels)
    : m_labels(labels), m_card(std::make_unique<Card>(labels))
{}

VCardContactBuilder::~VCardContactBuilder() = default;

void VCardContactBuilder::Take(const VCardProperty &property)
{
    m_card->take(property);
}

ImportedContact VCardContactBuilder::Finish()
{
    ImportedContact contact = m_card->finish();
    m_card = std::make_unique<Card>(m_labels);
    return contact;
}

ImportedContact ContactFromVCard(const VCard &card, const NoteLabels &labels)
{
    VCardContactBuilder builder(labels);
    for (const VCardProperty &property : card.Properties)
        builder.Take(property);
    return builder.Finish();
}
