#include "Outcome.h"

#include "MessageTexts.h"
#include "Messages.h"

using namespace Qt::StringLiterals;

namespace {

QString textOf(Message::Id id)
{
    switch (id) {
    case Message::Id::None:
        break;
    case Message::Id::ClipboardEmpty:
        return MessageText::ClipboardEmpty;
    case Message::Id::NoSeparator:
        return MessageText::NoSeparator;
    case Message::Id::NoData:
        return MessageText::NoData;
    case Message::Id::FieldLoadFailed:
        return MessageText::FieldLoadFailed;
    case Message::Id::ContactNotCreated:
        return MessageText::ContactNotCreated;
    case Message::Id::ContactNotEdited:
        return MessageText::ContactNotEdited;
    case Message::Id::CardAlreadyThere:
        return u"Im Adressbuch gibt es schon eine Karte für „%1“; es wurde keine neue "
               u"angelegt. „Bearbeiten“ ergänzt die gefundene Karte."_s;
    case Message::Id::LastCardNotNoted:
        return u"Die zuletzt geschriebene Karte konnte nicht vermerkt werden."_s;
    }
    return {};
}

} // namespace

QString Message::Text() const
{
    QString text = textOf(id);
    if (text.contains(u"%1"_s)) {
        for (const QString &argument : arguments)
            text = text.arg(argument);
        return text;
    }
    for (const QString &argument : arguments)
        text += u' ' + argument;
    return text;
}

qint16 Message::Style() const
{
    return id == Id::ClipboardEmpty ? MessageStyle::Information : MessageStyle::Exclamation;
}
