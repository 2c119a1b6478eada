#include "CardDavClient.h"

#include "DavMultistatus.h"
#include "DavSession.h"

#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace {

const QString Dav = u"DAV:"_s;
const QString CardDav = u"urn:ietf:params:xml:ns:carddav"_s;
const QByteArray XmlType = "application/xml; charset=utf-8";
const QByteArray VCardType = "text/vcard; charset=utf-8";

QByteArray propfindBody()
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeNamespace(Dav, u"D"_s);
    xml.writeNamespace(CardDav, u"C"_s);
    xml.writeStartDocument();
    xml.writeStartElement(Dav, u"propfind"_s);
    xml.writeStartElement(Dav, u"prop"_s);
    for (const char16_t *name : {u"resourcetype", u"displayname", u"current-user-principal"})
        xml.writeEmptyElement(Dav, QString::fromUtf16(name));
    for (const char16_t *name : {u"addressbook-home-set", u"supported-address-data"})
        xml.writeEmptyElement(CardDav, QString::fromUtf16(name));
    xml.writeEndDocument();
    return body;
}

void writeTextMatch(QXmlStreamWriter &xml, const QString &property, const QString &text)
{
    xml.writeStartElement(CardDav, u"prop-filter"_s);
    xml.writeAttribute(u"name"_s, property);
    xml.writeStartElement(CardDav, u"text-match"_s);
    xml.writeAttribute(u"collation"_s, u"i;unicode-casemap"_s);
    xml.writeAttribute(u"match-type"_s, u"equals"_s);
    xml.writeCharacters(text);
    xml.writeEndElement();
    xml.writeEndElement();
}

// Matches on one property only: servers differ in what else they can filter
// on (some fail on ORG), so the company is compared here.
QByteArray queryBody(const QString &property, const QString &text)
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeNamespace(Dav, u"D"_s);
    xml.writeNamespace(CardDav, u"C"_s);
    xml.writeStartDocument();
    xml.writeStartElement(CardDav, u"addressbook-query"_s);
    xml.writeStartElement(Dav, u"prop"_s);
    xml.writeEmptyElement(Dav, u"getetag"_s);
    xml.writeEmptyElement(CardDav, u"address-data"_s);
    xml.writeEndElement();
    xml.writeStartElement(CardDav, u"filter"_s);
    writeTextMatch(xml, property, text);
    xml.writeEndDocument();
    return body;
}

// The first ORG component of a card, unescaped enough to compare.
QString companyOf(const QByteArray &vcard)
{
    for (QByteArray line : vcard.split('\n')) {
        line = line.trimmed();
        const qsizetype colon = line.indexOf(':');
        const QByteArray head = line.left(colon).toUpper();
        if (colon > 0 && (head == "ORG" || head.startsWith("ORG;") || head.endsWith(".ORG"))) {
            QString value = QString::fromUtf8(line.mid(colon + 1));
            qsizetype end = 0;
            while (end < value.size() &&
                   !(value[end] == u';' && (end == 0 || value[end - 1] != u'\\')))
                ++end;
            return value.left(end).replace(u"\\,"_s, u","_s).replace(u"\\;"_s, u";"_s);
        }
    }
    return {};
}

DavError notCardDav(const DavResponse &response)
{
    return {DavFailure::NotCardDav,
            response.Status ? u"HTTP %1"_s.arg(response.Status) : response.Url.toDisplayString()};
}

} // namespace

DavError CardDavClient::propfind(const QUrl &url, int depth, const QByteArray &body,
                                 QUrl &answeredAt, QList<DavResource> &resources)
{
    const DavResponse response = m_session.Send(
        "PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}, {"Content-Type", XmlType}});
    if (response.Error)
        return response.Error;
    const std::optional<QList<DavResource>> read =
        response.Status == 207 ? ReadMultistatus(response.Body) : std::nullopt;
    if (!read)
        return notCardDav(response);
    answeredAt = response.Url;
    resources = *read;
    return {};
}

DavError CardDavClient::Discover(const QUrl &server, QList<AddressBook> &books)
{
    books.clear();
    const QByteArray body = propfindBody();
    QUrl context = server;
    QList<DavResource> found;
    // A bare server address: the well-known address leads to the context path.
    if (server.path().isEmpty() || server.path() == u"/") {
        QUrl wellKnown = server;
        wellKnown.setPath(u"/.well-known/carddav"_s);
        const DavError error = propfind(wellKnown, 0, body, context, found);
        if (error && error.Kind != DavFailure::NotCardDav)
            return error;
        if (error)
            context = server;
    }
    if (found.isEmpty()) {
        if (const DavError error = propfind(context, 0, body, context, found))
            return error;
    }
    const DavResource self = found.value(0);
    if (self.IsAddressBook) {
        books.append({context, self.DisplayName, self.OffersVCard4});
        return {};
    }
    QString home = self.HomeHref;
    if (home.isEmpty() && !self.PrincipalHref.isEmpty()) {
        QUrl principal = context.resolved(QUrl(self.PrincipalHref));
        if (const DavError error = propfind(principal, 0, body, principal, found))
            return error;
        home = found.value(0).HomeHref;
        context = principal;
    }
    if (home.isEmpty())
        return {DavFailure::NotCardDav, server.toDisplayString()};

    QUrl homeUrl = context.resolved(QUrl(home));
    if (const DavError error = propfind(homeUrl, 1, body, homeUrl, found))
        return error;
    for (const DavResource &resource : found) {
        if (resource.IsAddressBook)
            books.append({homeUrl.resolved(QUrl(resource.Href)), resource.DisplayName,
                          resource.OffersVCard4});
    }
    return {};
}

DavError CardDavClient::Find(const AddressBook &book, const CardQuery &query,
                             std::optional<ServerCard> &found)
{
    found.reset();
    const bool byMail = !query.EMail.isEmpty();
    if (!byMail && query.FormattedName.isEmpty())
        return {};
    const DavResponse response = m_session.Send("REPORT", book.Url,
                                                byMail ? queryBody(u"EMAIL"_s, query.EMail)
                                                       : queryBody(u"FN"_s, query.FormattedName),
                                                {{"Depth", "1"}, {"Content-Type", XmlType}});
    if (response.Error)
        return response.Error;
    if (response.Status == 404 || response.Status == 410)
        return {DavFailure::BookGone, book.Url.toDisplayString()};
    const std::optional<QList<DavResource>> cards =
        response.Status == 207 ? ReadMultistatus(response.Body) : std::nullopt;
    if (!cards)
        return {DavFailure::Refused, u"HTTP %1"_s.arg(response.Status)};
    for (const DavResource &card : *cards) {
        if (card.AddressData.isEmpty())
            continue;
        if (!byMail && companyOf(card.AddressData).compare(query.Company, Qt::CaseInsensitive))
            continue;
        found = ServerCard{{book.Url.resolved(QUrl(card.Href)), card.ETag}, card.AddressData};
        return {};
    }
    return {};
}

DavError CardDavClient::Create(const AddressBook &book, const QString &name,
                               const QByteArray &vcard, CardRef &written)
{
    QUrl url = book.Url;
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    url = url.resolved(QUrl(QString::fromLatin1(QUrl::toPercentEncoding(name))));
    const DavResponse response =
        m_session.Send("PUT", url, vcard, {{"If-None-Match", "*"}, {"Content-Type", VCardType}});
    if (response.Error)
        return response.Error;
    if (response.Status == 412)
        return {DavFailure::Exists, url.toDisplayString()};
    if (response.Status == 404 || response.Status == 409 || response.Status == 410)
        return {DavFailure::BookGone, book.Url.toDisplayString()};
    if (response.Status != 201 && response.Status != 204)
        return {DavFailure::Refused, u"HTTP %1"_s.arg(response.Status)};
    written = {response.Url, response.ETag};
    return {};
}

DavError CardDavClient::Fetch(const QUrl &card, ServerCard &fetched)
{
    const DavResponse response = m_session.Send("GET", card);
    if (response.Error)
        return response.Error;
    if (response.Status == 404 || response.Status == 410)
        return {DavFailure::BookGone, card.toDisplayString()};
    if (response.Status != 200)
        return {DavFailure::Refused, u"HTTP %1"_s.arg(response.Status)};
    fetched = {{response.Url, response.ETag}, response.Body};
    return {};
}

DavError CardDavClient::Update(CardRef &ref, const QByteArray &vcard)
{
    if (ref.ETag.isEmpty())
        return {DavFailure::Changed, {}};
    const DavResponse response = m_session.Send(
        "PUT", ref.Url, vcard, {{"If-Match", ref.ETag}, {"Content-Type", VCardType}});
    if (response.Error)
        return response.Error;
    if (response.Status == 412)
        return {DavFailure::Changed, {}};
    if (response.Status == 404 || response.Status == 410)
        return {DavFailure::BookGone, ref.Url.toDisplayString()};
    if (response.Status != 200 && response.Status != 201 && response.Status != 204)
        return {DavFailure::Refused, u"HTTP %1"_s.arg(response.Status)};
    ref.ETag = response.ETag;
    return {};
}
