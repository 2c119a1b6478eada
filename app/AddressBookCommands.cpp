#include "AddressBookCommands.h"

#include "AddressBookDialog.h"
#include "BusyCursor.h"
#include "CancellableProgress.h"
#include "WindowMessages.h"

#include "destinations/CardDavDestination.h"
#include "support/AtomicReplace.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

// The window as the destination's front end, with the progress hidden while
// the pointer is not busy (questions, the messages after the write).
class AddressBookCommands::ProgressHost : public ActHost
{
public:
    explicit ProgressHost(ActHost &window) : m_window(window) {}

    void SetBusyPointer(bool busy) override
    {
        m_window.SetBusyPointer(busy);
        if (progress != nullptr && busy == m_idle) {
            m_idle = !busy;
            progress->Hold(m_idle);
        }
    }
    void SetTopMost(bool onTop) override { m_window.SetTopMost(onTop); }
    QString CapturedText() const override { return m_window.CapturedText(); }
    void CaptureClipboard() override { m_window.CaptureClipboard(); }
    quint8 ShowCompletionDialog(bool isNew) override
    {
        return m_window.ShowCompletionDialog(isNew);
    }
    void EndProgram() override { m_window.EndProgram(); }

    // Asks the user with the progress out of the way.
    template <typename Question> auto Ask(const Question &question)
    {
        const BusyCursor::Pause pause;
        if (progress != nullptr)
            progress->Hold(true);
        const auto answer = question();
        if (progress != nullptr)
            progress->Hold(false);
        return answer;
    }

    void Attach(CancellableProgress *shown)
    {
        progress = shown;
        m_idle = false;
    }

    CancellableProgress *progress = nullptr;

private:
    ActHost &m_window;
    bool m_idle = false;
};

namespace {

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

AddressBookCommands::AddressBookCommands(QWidget &window, ActHost &host)
    : QObject(&window), m_window(window), m_host(std::make_unique<ProgressHost>(host)),
      m_passwords(std::make_unique<KeyringPasswordStore>()),
      m_account(AddressBookAccount::Load(ProgramPreferences()))
{
    m_setup = new QAction(u"Adressbuch einrichten …"_s, this);
    m_setup->setObjectName(u"actAdressbuchEinrichten"_s);
    connect(m_setup, &QAction::triggered, this, &AddressBookCommands::Setup);
    m_targetButton = new QPushButton(&window);
    m_targetButton->setObjectName(u"cmdZiel"_s);
    m_targetButton->setAutoDefault(false);
    connect(m_targetButton, &QPushButton::clicked, this, &AddressBookCommands::Setup);
    showTarget();
}

AddressBookCommands::~AddressBookCommands() = default;

void AddressBookCommands::SetPasswordStore(std::unique_ptr<PasswordStore> store)
{
    m_passwords = std::move(store);
    m_destination.reset();
}

void AddressBookCommands::showTarget()
{
    const bool book = Active();
    m_targetButton->setText(book ? u"Ziel: Adressbuch „%1“ …"_s.arg(m_account.BookName)
                                 : u"Ziel: ACT! …"_s);
    m_targetButton->setToolTip(
        book ? u"„Neu Anlegen“ und „Bearbeiten“ schreiben in das Adressbuch %1 (%2). Ändern mit "
               u"„Adressbuch einrichten“."_s.arg(m_account.BookName, m_account.BookUrl)
             : u"„Neu Anlegen“ und „Bearbeiten“ schreiben nach ACT!. Ein CardDAV-Adressbuch "
               u"einrichten …"_s);
}

void AddressBookCommands::Setup()
{
    if (m_writing)
        return;
    const QString password = m_passwords->Read(m_account.PasswordKey());
    const QString knownProblem = m_passwords->Problem();
    AddressBookDialog dialog(&m_window, m_account, password, knownProblem);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool wasActive = Active();
    m_account = dialog.Account();
    m_destination.reset();
    QSettings preferences = ProgramPreferences();
    if (!m_account.Save(preferences))
        ShowMessage(u"Die Einstellungen des Adressbuchs konnten nicht gespeichert werden."_s,
                    MessageStyle::Exclamation);
    QString reason;
    // The dialog said so already when the keyring was known to be missing.
    if (!dialog.Password().isEmpty() && dialog.Password() != password &&
        !m_passwords->Write(m_account.PasswordKey(), dialog.Password(), reason) &&
        knownProblem.isEmpty())
        ShowMessage(u"Das Passwort konnte nicht im Schlüsselbund gespeichert werden (%1). Es "
                    u"gilt nur bis zum Ende dieser Sitzung."_s.arg(reason),
                    MessageStyle::Information);
    showTarget();
    // Another address book takes the same fields: the rows stay as they are.
    if (wasActive != Active())
        emit targetChanged();
}

CardDavDestination &AddressBookCommands::destination()
{
    if (!m_destination) {
        CardDavAccount account{QUrl(m_account.BookUrl), m_account.User,
                               m_passwords->Read(m_account.PasswordKey()), QString()};
        m_destination = std::make_unique<CardDavDestination>(
            account, *m_host, documentsFolder(), [this](const QString &found) {
                QMessageBox box(QMessageBox::Question, ProgramName,
                                u"Im Adressbuch gibt es schon eine Karte für „%1“."_s.arg(found),
                                QMessageBox::NoButton, &m_window);
                box.setObjectName(u"dlgDoppelt"_s);
                QPushButton *add =
                    box.addButton(u"Zu dieser Karte hinzufügen"_s, QMessageBox::AcceptRole);
                QPushButton *create = box.addButton(u"Trotzdem anlegen"_s, QMessageBox::AcceptRole);
                box.addButton(u"Abbrechen"_s, QMessageBox::RejectRole);
                box.setDefaultButton(add);
                m_host->Ask([&box] { return box.exec(); });
                if (box.clickedButton() == add)
                    return DuplicateChoice::AddToFound;
                return box.clickedButton() == create ? DuplicateChoice::CreateAnyway
                                                     : DuplicateChoice::Cancel;
            });
        m_destination->SetLastCard(m_account.LastCard);
        CardDavPrompts prompts;
        prompts.Password = [this] { return m_host->Ask([this] { return askPassword(); }); };
        prompts.OverwriteChanged = [this] {
            return m_host->Ask([] {
                return ShowMessage(
                           u"Die Karte wurde inzwischen auf dem Server geändert. Die Felder "
                           u"der Zeilen trotzdem eintragen? Die übrigen Angaben der Karte "
                           u"auf dem Server bleiben erhalten."_s,
                           MessageStyle::YesNoQuestion) == MessageAnswer::Yes;
            });
        };
        prompts.FollowRedirect = [this](const QUrl &next) {
            return m_host->Ask([&next] { return AgreeToRedirect(next); });
        };
        prompts.NotWritten = [this](const QString &message, const QByteArray &vcard) {
            m_host->Ask([&] {
                keepContact(message, vcard);
                return true;
            });
        };
        m_destination->SetPrompts(std::move(prompts));
    }
    return *m_destination;
}

std::optional<QString> AddressBookCommands::askPassword()
{
    // Without a keyring the password of an earlier session is gone: no refusal to report.
    const bool hadOne = m_destination && !m_destination->Account().Password.isEmpty();
    const QString question = hadOne ? u"Der Server hat die Anmeldung abgelehnt.\n"_s : QString();
    bool ok = false;
    const QString password =
        QInputDialog::getText(&m_window, ProgramName,
                              question + u"Passwort für „%1“ (Adressbuch „%2“):"_s.arg(
                                             m_account.User, m_account.BookName),
                              QLineEdit::Password, QString(), &ok);
    if (!ok || password.isEmpty())
        return std::nullopt;
    QString reason;
    m_passwords->Write(m_account.PasswordKey(), password, reason);
    return password;
}

void AddressBookCommands::keepContact(const QString &message, const QByteArray &vcard)
{
    // The rows stay in the window as well; the file is for when they are gone.
    const BusyCursor::Pause pause;
    if (ShowMessage(message + u"\n\nDen Kontakt als vCard-Datei sichern?"_s,
                    MessageStyle::YesNoQuestion) != MessageAnswer::Yes)
        return;
    QString name = QString::fromUtf8(vcard).section(u"\r\nFN:"_s, 1).section(u"\r\n"_s, 0, 0);
    for (QChar &c : name) {
        if (u"\\/:*?\"<>|"_s.contains(c) || c.unicode() < 32)
            c = u'_';
    }
    name = name.trimmed().isEmpty() ? u"Kontakt"_s : name.trimmed();
    const QString path = QFileDialog::getSaveFileName(
        &m_window, u"Als vCard speichern"_s, QDir(documentsFolder()).filePath(name + u".vcf"_s),
        u"vCard (*.vcf)"_s);
    if (!path.isEmpty() && !ReplaceAtomically(path, vcard))
        ShowMessage(u"Die vCard ließ sich nicht speichern:\n%1"_s.arg(path),
                    MessageStyle::Exclamation);
}

void AddressBookCommands::Write(bool isNew, const FieldRows &rows,
                                const RecognitionContext &context)
{
    // A second click while the server is asked waits for nothing: it is dropped.
    if (m_writing)
        return;
    const QScopedValueRollback writing(m_writing, true);
    CardDavDestination &target = destination();
    Outcome outcome;
    {
        const BusyCursor busy;
        CancellableProgress progress(m_window, u"Schreibe in das Adressbuch …"_s,
                                     [&target] { target.Cancel(); });
        m_host->Attach(&progress);
        const auto detach = qScopeGuard([this] { m_host->Attach(nullptr); });
        outcome = target.Write(isNew, rows, context);
    }
    // A server the user agreed to go on to is the account's once a card went there.
    const QString bookUrl = outcome.done ? target.Account().Server.toString() : m_account.BookUrl;
    if (target.LastCard() != m_account.LastCard || bookUrl != m_account.BookUrl) {
        m_account.LastCard = target.LastCard();
        m_account.BookUrl = bookUrl;
        QSettings preferences = ProgramPreferences();
        m_account.Save(preferences);
    }
    ShowMessage(outcome.message);
}

void AddressBookCommands::LoadFields(FieldRows &rows, const Settings &settings)
{
    ShowMessage(destination().LoadFields(rows, settings).message);
}
