#include "VCardImport.h"

#include "NoteLabels.h"
#include "VCardReader.h"
#include "VCardText.h"
#include "VCardWriter.h"

#include "support/ActFields.h"

using namespace Qt::StringLiterals;
using VCardText::SplitUnescaped;
using VCardText::Unescape;

namespace {

constexpr qint32 WorkPhones[] = {ActField::Telefon, ActField::Telefon2, ActField::Telefon3};

// Properties that describe the card itself rather than the contact.
bool isCardMetadata(const QString &name)
{
    static const QStringList names{u"VERSION"_s, u"UID"_s,  u"PRODID"_s,
                                   u"REV"_s,     u"KIND"_s, u"CLIENTPIDMAP"_s};
    return names.contains(name);
}

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

class ContactBuilder
{
public:
    explicit ContactBuilder(const NoteLabels &labels) : m_labels(labels) {}

    void take(const VCardProperty &property)
    {
        const QString &name = property.Name;
        if (name == u"FN"_s)
            formattedName(property);
        else if (name == u"N"_s)
            structuredName(property);
        else if (name == u"ORG"_s)
            organisation(property);
        else if (name == u"ADR"_s)
            address(property);
        else if (name == u"TEL"_s)
            phone(property);
        else if (name == u"EMAIL"_s)
            setOnce(ActField::EMail, Unescape(property.Value), name);
        else if (name == u"URL"_s)
            setOnce(ActField::Website, Unescape(property.Value), name);
        else if (name == u"NOTE"_s)
            note(property);
        else if (!isCardMetadata(name))
            unused(name);
    }

    ImportedContact result() { return std::move(m_contact); }

    // Phones without a place of their own take the free work phones, in order.
    void placePhones()
    {
        for (const QString &number : std::as_const(m_unplacedPhones)) {
            const auto free =
                std::find_if(std::begin(WorkPhones), std::end(WorkPhones),
                             [&](qint32 field) { return !m_contact.Values.contains(field); });
            if (free == std::end(WorkPhones))
                unused(u"TEL"_s);
            else
                set(*free, number);
        }
    }

private:
    void set(qint32 field, const QString &value)
    {
        if (!value.isEmpty())
            m_contact.Values.insert(field, value);
    }

    void setOnce(qint32 field, const QString &value, const QString &name)
    {
        if (m_contact.Values.contains(field))
            unused(name);
        else
            set(field, value);
    }

    void unused(const QString &name)
    {
        if (!m_contact.Unused.contains(name))
            m_contact.Unused.append(name);
    }

    void formattedName(const VCardProperty &property)
    {
        // A name this program made up from other fields was never a field of its own.
        if (!property.HasParameter(DerivedNameParameter))
            setOnce(ActField::Kontakt, Unescape(property.Value), property.Name);
    }

    void structuredName(const VCardProperty &property)
    {
        const QStringList parts = components(property);
        set(ActField::Nachname, component(parts, 0));
        set(ActField::Vorname, component(parts, 1));
        const QStringList prefixes = listValues(parts, 3);
        if (!prefixes.isEmpty())
            set(ActField::Anrede, prefixes.first());
        set(ActField::Titel, prefixes.mid(1).join(u' '));
    }

    void organisation(const VCardProperty &property)
    {
        const QStringList parts = components(property);
        set(ActField::Firma, component(parts, 0));
        QStringList units;
        for (qsizetype i = 1; i < parts.size(); ++i)
            units.append(Unescape(parts[i]));
        set(ActField::Abteilung, units.join(u", "_s));
    }

    void address(const VCardProperty &property)
    {
        if (m_addressTaken) {
            unused(property.Name);
            return;
        }
        m_addressTaken = true;
        const QStringList parts = components(property);
        // Street lines first, then what other address books keep beside them.
        QStringList lines = listValues(parts, 2);
        for (const qsizetype extra : {1, 0}) {
            const QString value = component(parts, extra);
            if (!value.isEmpty())
                lines.append(value);
        }
        const qint32 lineFields[] = {ActField::Adresse, ActField::Adresse2, ActField::Adresse3};
        for (qsizetype i = 0; i < 2 && i < lines.size(); ++i)
            set(lineFields[i], lines[i]);
        set(ActField::Adresse3, lines.mid(2).join(u", "_s));
        set(ActField::Ort, component(parts, 3));
        set(ActField::PLZ, component(parts, 5));
        set(ActField::Land, component(parts, 6));
        if (!component(parts, 4).isEmpty())
            unused(u"ADR (Region)"_s);
    }

    void phone(const VCardProperty &property)
    {
        const QString number = Unescape(property.Value);
        const QStringList types = property.Types();
        const qint32 slot = property.Parameter(PhoneSlotParameter).toInt();
        if (std::find(std::begin(WorkPhones), std::end(WorkPhones), slot) != std::end(WorkPhones))
            set(slot, number);
        else if (types.contains(u"cell"_s) && !m_contact.Values.contains(ActField::Mobil))
            set(ActField::Mobil, number);
        else if (types.contains(u"fax"_s))
            setOnce(ActField::Fax, number, property.Name);
        else
            m_unplacedPhones.append(number);
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

private:
    const NoteLabels &m_labels;
    ImportedContact m_contact;
    QStringList m_unplacedPhones;
    bool m_addressTaken = false;
};

} // namespace

ImportedContact ContactFromVCard(const VCard &card, const NoteLabels &labels)
{
    ContactBuilder builder(labels);
    for (const VCardProperty &property : card.Properties)
        builder.take(property);
    builder.placePhones();
    return builder.result();
}
