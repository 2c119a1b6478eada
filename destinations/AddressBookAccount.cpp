#include "AddressBookAccount.h"

#include "support/Messages.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString Group = u"Adressbuch"_s;
const QString ServerKey = u"Server"_s;
const QString UserKey = u"Benutzer"_s;
const QString BookUrlKey = u"Adresse"_s;
const QString BookNameKey = u"Name"_s;
const QString TargetKey = u"Ziel"_s;
const QString CardKey = u"Karte"_s;
const QString ETagKey = u"ETag"_s;

} // namespace

QString TargetName(ContactTarget target)
{
    return target == ContactTarget::AddressBook ? u"Adressbuch"_s : u"ACT!"_s;
}

QString AddressBookAccount::PasswordKey() const
{
    const QUrl url(BookUrl.isEmpty() ? Server : BookUrl);
    return u"carddav:%1@%2"_s.arg(User, url.host(QUrl::FullyEncoded));
}

AddressBookAccount AddressBookAccount::Load(const QSettings &settings)
{
    const auto value = [&](const QString &key) {
        return settings.value(Group + u'/' + key).toString();
    };
    AddressBookAccount account;
    account.Server = value(ServerKey);
    account.User = value(UserKey);
    account.BookUrl = value(BookUrlKey);
    account.BookName = value(BookNameKey);
    account.Target = value(TargetKey) == TargetName(ContactTarget::AddressBook)
                         ? ContactTarget::AddressBook
                         : ContactTarget::Act;
    const QUrl card(value(CardKey));
    if (card.isValid() && !card.isEmpty())
        account.LastCard = CardRef{card, value(ETagKey).toUtf8()};
    return account;
}

bool AddressBookAccount::Save(QSettings &settings) const
{
    settings.beginGroup(Group);
    settings.setValue(ServerKey, Server);
    settings.setValue(UserKey, User);
    settings.setValue(BookUrlKey, BookUrl);
    settings.setValue(BookNameKey, BookName);
    settings.setValue(TargetKey, TargetName(Target));
    settings.setValue(CardKey, LastCard ? LastCard->Url.toString() : QString());
    settings.setValue(ETagKey, LastCard ? QString::fromUtf8(LastCard->ETag) : QString());
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QSettings ProgramPreferences()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, ProgramName, ProgramName);
}
