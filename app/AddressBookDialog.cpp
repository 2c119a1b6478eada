#include "AddressBookDialog.h"

#include "CancellableProgress.h"
#include "WindowMessages.h"

#include "carddav/CardDavClient.h"
#include "carddav/DavSession.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Redirects to other servers the user may agree to in one search.
constexpr int MostRedirects = 3;

} // namespace

QUrl ServerAddress(const QString &typed)
{
    const QString text = typed.trimmed();
    QUrl url(text.contains(u"://"_s) ? text : u"https://"_s + text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != u"http" && url.scheme() != u"https"))
        return {};
    return url;
}

// Name and password would go to that server: only with the user's consent.
bool AgreeToRedirect(const QUrl &next)
{
    return ShowMessage(u"Der Server leitet auf einen anderen Server um:\n%1\n\nDorthin "
                       u"verbinden? Benutzername und Passwort werden dann dorthin gesendet."_s.arg(
                           next.toDisplayString()),
                       MessageStyle::YesNoQuestion) == MessageAnswer::Yes;
}

AddressBookDialog::AddressBookDialog(QWidget *owner, const AddressBookAccount &account,
                                     const QString &password, const QString &keyringProblem)
    : QDialog(owner), m_account(account), m_password(password)
{
    setObjectName(u"formAdressbuch"_s);
    setWindowTitle(u"Adressbuch einrichten"_s);
    setModal(true);

    txtServer = new QLineEdit(account.Server, this);
    txtServer->setObjectName(u"txtServer"_s);
    txtServer->setPlaceholderText(u"https://cloud.example.org"_s);
    txtBenutzer = new QLineEdit(account.User, this);
    txtBenutzer->setObjectName(u"txtBenutzer"_s);
    txtPasswort = new QLineEdit(password, this);
    txtPasswort->setObjectName(u"txtPasswort"_s);
    txtPasswort->setEchoMode(QLineEdit::Password);
    lblSchluesselbund = new QLabel(
        keyringProblem.isEmpty()
            ? u"Das Passwort wird im Schlüsselbund der Arbeitsumgebung gespeichert."_s
            : u"Kein Schlüsselbund verfügbar: Das Passwort gilt nur bis zum Ende dieser Sitzung "
              u"und wird nie in eine Datei geschrieben."_s,
        this);
    lblSchluesselbund->setToolTip(keyringProblem);
    lblSchluesselbund->setObjectName(u"lblSchluesselbund"_s);
    lblSchluesselbund->setWordWrap(true);
    cmdSuchen = new QPushButton(u"&Suchen"_s, this);
    cmdSuchen->setObjectName(u"cmdSuchen"_s);
    cmdSuchen->setToolTip(u"Sucht die Adressbücher des Kontos auf dem Server"_s);
    cmdSuchen->setAutoDefault(false);
    cboAdressbuch = new QComboBox(this);
    cboAdressbuch->setObjectName(u"cboAdressbuch"_s);
    if (!account.BookUrl.isEmpty())
        cboAdressbuch->addItem(account.BookName.isEmpty() ? account.BookUrl : account.BookName,
                               account.BookUrl);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(u"lblStatus"_s);
    lblStatus->setWordWrap(true);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblStatus->hide();

    optZielACT = new QRadioButton(TargetName(ContactTarget::Act), this);
    optZielACT->setObjectName(u"optZielACT"_s);
    optZielAdressbuch = new QRadioButton(TargetName(ContactTarget::AddressBook), this);
    optZielAdressbuch->setObjectName(u"optZielAdressbuch"_s);
    (account.Target == ContactTarget::AddressBook ? optZielAdressbuch : optZielACT)
        ->setChecked(true);
    auto *target = new QGroupBox(u"„Neu Anlegen“ und „Bearbeiten“ schreiben nach"_s, this);
    auto *targetLayout = new QHBoxLayout(target);
    targetLayout->addWidget(optZielACT);
    targetLayout->addWidget(optZielAdressbuch);
    targetLayout->addStretch(1);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(u"cmdOK"_s);
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(u"cmdAbbrechen"_s);
    m_buttons->button(QDialogButtonBox::Cancel)->setText(u"Abbrechen"_s);

    auto *search = new QHBoxLayout;
    search->addWidget(cboAdressbuch, 1);
    search->addWidget(cmdSuchen);
    auto *form = new QFormLayout;
    form->addRow(u"Se&rver:"_s, txtServer);
    form->addRow(u"&Benutzer:"_s, txtBenutzer);
    form->addRow(u"&Passwort:"_s, txtPasswort);
    auto *lblAdressbuch = new QLabel(u"&Adressbuch:"_s, this);
    lblAdressbuch->setBuddy(cboAdressbuch);
    auto *books = new QFormLayout;
    books->addRow(lblAdressbuch, search);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblSchluesselbund);
    layout->addLayout(books);
    layout->addWidget(lblStatus);
    layout->addWidget(target);
    layout->addStretch(1);
    layout->addWidget(m_buttons);

    connect(cmdSuchen, &QPushButton::clicked, this, &AddressBookDialog::Search);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &AddressBookDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

void AddressBookDialog::showStatus(const QString &text, bool problem)
{
    lblStatus->setText(text);
    lblStatus->setStyleSheet(problem ? u"color: #b00000;"_s : QString());
    lblStatus->setVisible(!text.isEmpty());
    // Room for the status, never squeezing the fields above it.
    resize(width(), std::max(height(), sizeHint().height()));
}

void AddressBookDialog::Search()
{
    QUrl server = ServerAddress(txtServer->text());
    if (server.isEmpty()) {
        showStatus(u"Bitte die Adresse des Servers angeben, z. B. https://cloud.example.org."_s,
                   true);
        return;
    }
    if (txtBenutzer->text().isEmpty()) {
        showStatus(u"Bitte den Benutzernamen angeben."_s, true);
        return;
    }
    showStatus(u"Suche die Adressbücher …"_s, false);
    DavSession session(txtBenutzer->text(), txtPasswort->text());
    CardDavClient client(session);
    QList<AddressBook> books;
    DavError error;
    {
        const CancellableProgress progress(*this, u"Suche die Adressbücher auf dem Server …"_s,
                                           [&session] { session.Cancel(); });
        for (int redirect = 0;; ++redirect) {
            error = client.Discover(server, books);
            if (error.Kind != DavFailure::RedirectElsewhere || redirect == MostRedirects)
                break;
            const QUrl next(error.Detail);
            if (!AgreeToRedirect(next))
                break;
            server = next;
            txtServer->setText(next.toString());
        }
    }
    if (!error && books.isEmpty())
        error = {DavFailure::NoAddressBook, u"keines im Konto"_s};
    if (error) {
        showStatus(DavFailureText(error), true);
        return;
    }
    const QString chosen = cboAdressbuch->currentData().toString();
    cboAdressbuch->clear();
    for (const AddressBook &book : books) {
        const QString url = book.Url.toString();
        cboAdressbuch->addItem(book.DisplayName.isEmpty() ? book.Url.path() : book.DisplayName,
                               url);
        if (url == chosen)
            cboAdressbuch->setCurrentIndex(cboAdressbuch->count() - 1);
    }
    showStatus(books.size() == 1 ? u"Ein Adressbuch gefunden."_s
                                 : u"%1 Adressbücher gefunden."_s.arg(books.size()),
               false);
}

AddressBookAccount AddressBookDialog::Account() const
{
    AddressBookAccount account = m_account;
    account.Server = txtServer->text().trimmed();
    account.User = txtBenutzer->text();
    const QString bookUrl = cboAdressbuch->currentData().toString();
    if (bookUrl != account.BookUrl)
        account.LastCard.reset();
    account.BookUrl = bookUrl;
    account.BookName = cboAdressbuch->currentText();
    account.Target =
        optZielAdressbuch->isChecked() ? ContactTarget::AddressBook : ContactTarget::Act;
    return account;
}

void AddressBookDialog::accept()
{
    if (optZielAdressbuch->isChecked() && cboAdressbuch->currentData().toString().isEmpty()) {
        showStatus(u"Bitte zuerst mit „Suchen“ ein Adressbuch finden und wählen."_s, true);
        return;
    }
    m_password = txtPasswort->text();
    QDialog::accept();
}
