#pragma once

#include "carddav/CardDavClient.h"

#include <QSettings>
#include <QString>

#include <optional>

// Where "Neu Anlegen" and "Bearbeiten" send a contact.
enum class ContactTarget { Act, AddressBook };

// The address book account as the user set it up, kept in the platform's
// settings place beside the window's state (never in the settings file, whose
// sections are the program's own). The password is not part of it: it lives
// in the keyring.
struct AddressBookAccount
{
    QString Server; // as the user typed it
    QString User;
    QString BookUrl; // the address book chosen after discovery
    QString BookName;
    ContactTarget Target = ContactTarget::Act;
    std::optional<CardRef> LastCard; // the card "Bearbeiten" goes on from

    // Enough to write: server, user and a chosen address book.
    bool Complete() const { return !User.isEmpty() && !BookUrl.isEmpty(); }
    bool WritesToAddressBook() const { return Target == ContactTarget::AddressBook && Complete(); }
    // The keyring entry of the password.
    QString PasswordKey() const;

    static AddressBookAccount Load(const QSettings &settings);
    // False when the settings could not be written.
    bool Save(QSettings &settings) const;
};

// The program's own place in the platform's settings (the window's state lives
// there as well).
QSettings ProgramPreferences();

// "ACT!" or "Adressbuch", as the dialog and the messages name them.
QString TargetName(ContactTarget target);
