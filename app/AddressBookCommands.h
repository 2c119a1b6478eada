#pragma once

#include "act/ActHost.h"
#include "destinations/AddressBookAccount.h"
#include "destinations/PasswordStore.h"

#include <QObject>

#include <memory>

class CardDavDestination;
class CancellableProgress;
class FieldRows;
struct RecognitionContext;
struct Settings;
class QAction;
class QPushButton;
class QWidget;

// The window's address book: its setup ("Adressbuch einrichten …"), the
// button that shows where contacts go, and "Neu Anlegen" / "Bearbeiten" /
// the field list when they go to the address book. The window stays usable
// and shows a cancellable progress while the server is asked.
class AddressBookCommands : public QObject
{
    Q_OBJECT
public:
    AddressBookCommands(QWidget &window, ActHost &host);
    ~AddressBookCommands() override;

    QAction *SetupAction() const { return m_setup; }
    // "Ziel: …", which opens the setup.
    QPushButton *TargetButton() const { return m_targetButton; }

    // Contacts go to the address book rather than ACT!.
    bool Active() const { return m_account.WritesToAddressBook(); }
    const AddressBookAccount &Account() const { return m_account; }

    void Setup();
    void Write(bool isNew, const FieldRows &rows, const RecognitionContext &context);
    void LoadFields(FieldRows &rows, const Settings &settings);

    // Tests put a store of their own in place of the desktop's keyring.
    void SetPasswordStore(std::unique_ptr<PasswordStore> store);

signals:
    // The destination changed: the field lists are to be loaded anew.
    void targetChanged();

private:
    class ProgressHost;

    CardDavDestination &destination();
    void showTarget();
    std::optional<QString> askPassword();
    void keepContact(const QString &message, const QByteArray &vcard);

    QWidget &m_window;
    std::unique_ptr<ProgressHost> m_host;
    std::unique_ptr<PasswordStore> m_passwords;
    AddressBookAccount m_account;
    std::unique_ptr<CardDavDestination> m_destination;
    QAction *m_setup = nullptr;
    QPushButton *m_targetButton = nullptr;
    bool m_writing = false;
};
