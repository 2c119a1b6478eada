#include "DavFailure.h"

using namespace Qt::StringLiterals;

QString DavFailureText(const DavError &error)
{
    const QString &d = error.Detail;
    switch (error.Kind) {
    case DavFailure::None:
        return {};
    case DavFailure::Unauthorized:
        return u"Anmeldung beim Adressbuch fehlgeschlagen: Benutzername oder Passwort ist falsch."_s;
    case DavFailure::Unreachable:
        return u"Der Adressbuch-Server ist nicht erreichbar (%1)."_s.arg(d);
    case DavFailure::Timeout:
        return u"Der Adressbuch-Server hat nicht geantwortet (abgebrochen nach %1 s)."_s.arg(d);
    case DavFailure::Tls:
        return u"Die sichere Verbindung zum Adressbuch-Server ist fehlgeschlagen, es wurde nichts "
               u"gesendet: %1."_s.arg(d);
    case DavFailure::RedirectElsewhere:
        return u"Der Adressbuch-Server leitet auf einen anderen Server um (%1). Dem wird ohne "
               u"Zustimmung nicht gefolgt."_s.arg(d);
    case DavFailure::NotCardDav:
        return u"Unter dieser Adresse ist kein CardDAV-Adressbuch zu finden (%1)."_s.arg(d);
    case DavFailure::NoAddressBook:
        return u"Im Konto ist das Adressbuch nicht zu finden (%1)."_s.arg(d);
    case DavFailure::BookGone:
        return u"Das Adressbuch oder die Karte gibt es auf dem Server nicht mehr (%1)."_s.arg(d);
    case DavFailure::Quota:
        return u"Auf dem Adressbuch-Server ist kein Platz mehr (Speicherkontingent erschöpft)."_s;
    case DavFailure::Changed:
        return u"Die Karte wurde inzwischen auf dem Server geändert und wurde nicht "
               u"überschrieben."_s;
    case DavFailure::Exists:
        return u"Diese Karte gibt es im Adressbuch schon (%1)."_s.arg(d);
    case DavFailure::NoCard:
        return u"Es gibt noch keine Karte zum Bearbeiten: zuerst eine anlegen oder finden."_s;
    case DavFailure::Foreign:
        return u"Die Karte enthält Angaben, die beim Bearbeiten verloren gingen (%1); sie wurde "
               u"nicht überschrieben."_s.arg(d);
    case DavFailure::Refused:
        return u"Der Adressbuch-Server hat die Anfrage abgelehnt (%1)."_s.arg(d);
    case DavFailure::Cancelled:
        return u"Die Verbindung zum Adressbuch wurde abgebrochen."_s;
    }
    return {};
}
