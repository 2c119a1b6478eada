#pragma once

#include "destinations/AddressBookAccount.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Adressbuch einrichten": server, user and password, the account's address
// books found from the server ("Suchen"), and where contacts go. Returns the
// account and password; the caller keeps them.
class AddressBookDialog : public QDialog
{
    Q_OBJECT
public:
    // keyringProblem: why a password would last only this session, or empty.
    AddressBookDialog(QWidget *owner, const AddressBookAccount &account, const QString &password,
                      const QString &keyringProblem);

    AddressBookAccount Account() const;
    QString Password() const { return m_password; }

    // "Suchen": the address books behind the server, or the reason there are none.
    void Search();

private:
    void accept() override;
    void showStatus(const QString &text, bool problem);

    AddressBookAccount m_account;
    QString m_password;
    QLineEdit *txtServer;
    QLineEdit *txtBenutzer;
    QLineEdit *txtPasswort;
    QLabel *lblSchluesselbund;
    QPushButton *cmdSuchen;
    QComboBox *cboAdressbuch;
    QLabel *lblStatus;
    QRadioButton *optZielACT;
    QRadioButton *optZielAdressbuch;
    QDialogButtonBox *m_buttons;
};

// What the user typed as the server: an address with a scheme (https when none
// was typed), or an empty one when it names no server.
QUrl ServerAddress(const QString &typed);

// Asks whether to follow the server to `next`, where name and password would go too.
bool AgreeToRedirect(const QUrl &next);
