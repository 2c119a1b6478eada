#include "DavMultistatus.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QString Dav = u"DAV:"_s;
const QString CardDav = u"urn:ietf:params:xml:ns:carddav"_s;

bool is(const QXmlStreamReader &xml, const QString &ns, QStringView name)
{
    return xml.namespaceUri() == ns && xml.name() == name;
}

// The first <href> inside the current element; the reader ends on its end.
QString innerHref(QXmlStreamReader &xml)
{
    QString href;
    while (xml.readNextStartElement()) {
        if (href.isEmpty() && is(xml, Dav, u"href"))
            href = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    return href;
}

void readResourceType(QXmlStreamReader &xml, DavResource &into)
{
    while (xml.readNextStartElement()) {
        if (is(xml, CardDav, u"addressbook"))
            into.IsAddressBook = true;
        xml.skipCurrentElement();
    }
}

void readSupportedData(QXmlStreamReader &xml, DavResource &into)
{
    while (xml.readNextStartElement()) {
        if (is(xml, CardDav, u"address-data-type") &&
            xml.attributes().value("version"_L1) == u"4.0")
            into.OffersVCard4 = true;
        xml.skipCurrentElement();
    }
}

void readProps(QXmlStreamReader &xml, DavResource &into)
{
    while (xml.readNextStartElement()) {
        if (is(xml, Dav, u"resourcetype"))
            readResourceType(xml, into);
        else if (is(xml, Dav, u"displayname"))
            into.DisplayName = xml.readElementText().trimmed();
        else if (is(xml, Dav, u"current-user-principal"))
            into.PrincipalHref = innerHref(xml);
        else if (is(xml, CardDav, u"addressbook-home-set"))
            into.HomeHref = innerHref(xml);
        else if (is(xml, CardDav, u"supported-address-data"))
            readSupportedData(xml, into);
        else if (is(xml, Dav, u"getetag"))
            into.ETag = xml.readElementText().trimmed().toUtf8();
        else if (is(xml, CardDav, u"address-data"))
            into.AddressData = xml.readElementText().toUtf8();
        else
            xml.skipCurrentElement();
    }
}

// Properties count only from a propstat whose status is 200.
void readPropstat(QXmlStreamReader &xml, DavResource &into)
{
    DavResource found;
    bool ok = false;
    while (xml.readNextStartElement()) {
        if (is(xml, Dav, u"prop"))
            readProps(xml, found);
        else if (is(xml, Dav, u"status"))
            ok = xml.readElementText().contains(u" 200 "_s);
        else
            xml.skipCurrentElement();
    }
    if (!ok)
        return;
    into.IsAddressBook = into.IsAddressBook || found.IsAddressBook;
    into.OffersVCard4 = into.OffersVCard4 || found.OffersVCard4;
    for (auto member :
         {&DavResource::DisplayName, &DavResource::PrincipalHref, &DavResource::HomeHref}) {
        if (!(found.*member).isEmpty())
            into.*member = found.*member;
    }
    for (auto member : {&DavResource::ETag, &DavResource::AddressData}) {
        if (!(found.*member).isEmpty())
            into.*member = found.*member;
    }
}

DavResource readResponse(QXmlStreamReader &xml)
{
    DavResource resource;
    while (xml.readNextStartElement()) {
        if (is(xml, Dav, u"href"))
            resource.Href = xml.readElementText().trimmed();
        else if (is(xml, Dav, u"propstat"))
            readPropstat(xml, resource);
        else
            xml.skipCurrentElement();
    }
    return resource;
}

} // namespace

std::optional<QList<DavResource>> ReadMultistatus(const QByteArray &body)
{
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || !is(xml, Dav, u"multistatus"))
        return std::nullopt;
    QList<DavResource> resources;
    while (xml.readNextStartElement()) {
        if (is(xml, Dav, u"response"))
            resources.append(readResponse(xml));
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError())
        return std::nullopt;
    return resources;
}
