#include "VCardWriter.h"

#include "NoteLabels.h"
#include "VCardText.h"

#include "support/ActFields.h"

#include <QUuid>

using namespace Qt::StringLiterals;
using VCardText::Escape;

namespace {

// What differs between the versions. 3.0 (RFC 2426) requires N even when
// empty and its readers expect upper-case types, "INTERNET" on e-mail
// addresses among them; 4.0 (RFC 6350) makes N optional and writes types in
// lower case. Escaping, folding, UTF-8 and the urn:uuid: UID are the same.
struct Dialect
{
    QString version;
    bool nameRequired;
    QString voice; // not "work": the fields do not say whose number it is
    QString fax;
    QString cell;
    QString workEmail;
    QString workAddress;
};

const Dialect Version4{
    .version = u"4.0"_s,
    .nameRequired = false,
    .voice = u"TYPE=voice"_s,
    .fax = u"TYPE=fax"_s,
    .cell = u"TYPE=cell"_s,
    .workEmail = u"TYPE=work"_s,
    .workAddress = u"TYPE=work"_s,
};
const Dialect Version3{
    .version = u"3.0"_s,
    .nameRequired = true,
    .voice = u"TYPE=VOICE"_s,
    .fax = u"TYPE=FAX"_s,
    .cell = u"TYPE=CELL"_s,
    .workEmail = u"TYPE=INTERNET,WORK"_s,
    .workAddress = u"TYPE=WORK"_s,
};

// Fixed, so the same values give the same UID on every machine.
const QUuid UidNamespace(u"31bb9678-c407-4893-86d2-58e95b426e64"_s);

class CardLines
{
public:
    void add(const QString &property, const QString &parameters, const QString &value)
    {
        const QString head = parameters.isEmpty() ? property : property + u';' + parameters;
        m_bytes += VCardText::Fold(head + u':' + value);
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

QString param(QStringView name, QStringView value)
{
    return name.toString() + u'=' + value.toString();
}

void addName(CardLines &card, const ContactValues &values, const Dialect &dialect)
{
    QString formatted = values.value(ActField::Kontakt);
    QString parameters;
    if (formatted.isEmpty()) {
        const QString given = values.value(ActField::Vorname);
        const QString family = values.value(ActField::Nachname);
        formatted = (given + u' ' + family).trimmed();
        if (formatted.isEmpty())
            formatted = values.value(ActField::Firma);
        if (formatted.isEmpty())
            formatted = values.value(ActField::EMail);
        parameters = param(DerivedNameParameter, u"TRUE");
    }
    card.add(u"FN"_s, formatted.isEmpty() ? QString() : parameters, Escape(formatted));

    const QString prefixes =
        VCardText::JoinList({values.value(ActField::Anrede), values.value(ActField::Titel)});
    // family; given; additional names; prefixes; suffixes: always all five
    const QStringList name{Escape(values.value(ActField::Nachname)),
                           Escape(values.value(ActField::Vorname)), QString(), prefixes, QString()};
    if (dialect.nameRequired || !VCardText::JoinComponents(name).isEmpty())
        card.add(u"N"_s, {}, name.join(u';'));
}

void addOrganisation(CardLines &card, const ContactValues &values)
{
    const QString org = VCardText::JoinComponents(
        {Escape(values.value(ActField::Firma)), Escape(values.value(ActField::Abteilung))});
    if (!org.isEmpty())
        card.add(u"ORG"_s, {}, org);
}

void addAddress(CardLines &card, const ContactValues &values, const Dialect &dialect)
{
    const QString street =
        VCardText::JoinList({values.value(ActField::Adresse), values.value(ActField::Adresse2),
                             values.value(ActField::Adresse3)});
    // post office box; extended address; street; locality; region; postal code; country
    const QStringList components{QString(),
                                 QString(),
                                 street,
                                 Escape(values.value(ActField::Ort)),
                                 QString(),
                                 Escape(values.value(ActField::PLZ)),
                                 Escape(values.value(ActField::Land))};
    if (!VCardText::JoinComponents(components).isEmpty())
        card.add(u"ADR"_s, dialect.workAddress, components.join(u';'));
}

void addPhones(CardLines &card, const ContactValues &values, const Dialect &dialect)
{
    for (const qint32 field : {ActField::Telefon, ActField::Telefon2, ActField::Telefon3}) {
        const QString number = values.value(field);
        if (number.isEmpty())
            continue;
        QString parameters = dialect.voice;
        if (field != ActField::Telefon)
            parameters += u';' + param(PhoneSlotParameter, QString::number(field));
        card.add(u"TEL"_s, parameters, Escape(number));
    }
    if (values.contains(ActField::Fax))
        card.add(u"TEL"_s, dialect.fax, Escape(values.value(ActField::Fax)));
    if (values.contains(ActField::Mobil))
        card.add(u"TEL"_s, dialect.cell, Escape(values.value(ActField::Mobil)));
}

void addOnline(CardLines &card, const ContactValues &values, const Dialect &dialect)
{
    if (values.contains(ActField::EMail))
        card.add(u"EMAIL"_s, dialect.workEmail, Escape(values.value(ActField::EMail)));
    if (values.contains(ActField::Website))
        card.add(u"URL"_s, {}, Escape(values.value(ActField::Website)));
}

} // namespace

std::optional<VCardVersion> VCardVersionNamed(QStringView name)
{
    if (name == u"4.0" || name == u"4")
        return VCardVersion::V4;
    if (name == u"3.0" || name == u"3")
        return VCardVersion::V3;
    return std::nullopt;
}

QString ContactUid(const ContactValues &values)
{
    QString content;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        content += QString::number(it.key()) + u'=' + it.value() + u'\n';
    return u"urn:uuid:"_s +
           QUuid::createUuidV5(UidNamespace, content).toString(QUuid::WithoutBraces);
}

QByteArray WriteVCard(const ContactValues &values, const NoteLabels &labels, VCardVersion version)
{
    const Dialect &dialect = version == VCardVersion::V4 ? Version4 : Version3;
    CardLines card;
    card.add(u"BEGIN"_s, {}, u"VCARD"_s);
    card.add(u"VERSION"_s, {}, dialect.version);
    addName(card, values, dialect);
    addOrganisation(card, values);
    addAddress(card, values, dialect);
    addPhones(card, values, dialect);
    addOnline(card, values, dialect);
    const QString note = labels.NoteText(values);
    if (!note.isEmpty())
        card.add(u"NOTE"_s, {}, Escape(note));
    card.add(u"UID"_s, {}, ContactUid(values));
    card.add(u"END"_s, {}, u"VCARD"_s);
    return card.bytes();
}
