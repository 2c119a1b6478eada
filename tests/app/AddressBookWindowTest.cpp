// The address book as the window's destination, against a real Radicale on
// loopback: set up in the dialog as a user does, then written, edited and
// read back by python3-vobject.

#include "AppTestSupport.h"
#include "tests/carddav/RadicaleServer.h"

#include "app/AddressBookCommands.h"
#include "app/AddressBookDialog.h"
#include "carddav/DavSession.h"
#include "support/ActFields.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Sample = u"Beispiel GmbH\nMax Mustermann\nHauptstraße 1\n10115 Berlin\n"
                       u"Tel. 030 1234567\nmax.mustermann@beispiel.de\n"_s;

class AddressBookWindowTest : public AppTest
{
protected:
    // The only card in the address book, as python3-vobject reads it.
    QJsonObject readCard()
    {
        const QDir book(
            radicale.CardFile(radicale.Url() + u"anna/kontakte/x"_s).section(u'/', 0, -2));
        const QStringList cards = book.entryList({u"*.vcf"_s}, QDir::Files);
        if (cards.size() != 1)
            return {};
        QProcess python;
        python.start(SystemPython,
                     {QStringLiteral(CARDDAV_TEST_DATA "/read-card.py"), book.filePath(cards[0])});
        python.waitForFinished(30000);
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    // Clicks a command of the window and answers the windows it opens: the
    // duplicate question with the button `duplicate`, the completion dialog with "back".
    void write(const char *command, const QString &duplicate = {})
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&duplicate] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal == nullptr)
                return;
            for (QPushButton *button : modal->findChildren<QPushButton *>()) {
                if (button->objectName() == u"cmdNeueRunde" ||
                    (!duplicate.isEmpty() && button->text() == duplicate))
                    button->click();
            }
        });
        poll.start(10);
        click(command);
    }

    RadicaleServer radicale;
};

template <typename W> W *in(QWidget *dialog, const QString &name)
{
    return dialog->findChild<W *>(name);
}

TEST_F(AddressBookWindowTest, SetUpInTheDialogThenNewAndEditReachTheCardOnTheServer)
{
    ASSERT_TRUE(radicale.Start());
    window().AddressBook().SetPasswordStore(std::make_unique<SessionPasswordStore>());
    QString found;
    const auto setup = WhenModalOpens([&](QWidget *dialog) {
        in<QLineEdit>(dialog, u"txtServer"_s)->setText(radicale.Url());
        in<QLineEdit>(dialog, u"txtBenutzer"_s)->setText(u"anna"_s);
        in<QLineEdit>(dialog, u"txtPasswort"_s)->setText(u"geheim"_s);
        in<QPushButton>(dialog, u"cmdSuchen"_s)->click(); // discovery from the bare server
        found = in<QComboBox>(dialog, u"cboAdressbuch"_s)->currentText();
        in<QRadioButton>(dialog, u"optZielAdressbuch"_s)->click();
        in<QPushButton>(dialog, u"cmdOK"_s)->click();
    });
    click("cmdZiel");
    ASSERT_TRUE(setup->done);
    EXPECT_EQ(found, u"Kontakte"_s);
    ASSERT_TRUE(window().AddressBook().Active()) << m_presenter.Texts().join(u'\n').toStdString();

    SetClipboard(Sample);
    click("cmdGetClipboard");
    write("cmdNeuanlageInACT");
    ASSERT_EQ(radicale.CardCount(), 1) << m_presenter.Texts().join(u'\n').toStdString();
    QJsonObject card = readCard();
    const auto values = [&card](const char *name) {
        return card.value(QLatin1StringView(name)).toVariant().toStringList();
    };
    EXPECT_EQ(values("fn"), QStringList{u"Max Mustermann"_s});
    EXPECT_EQ(values("org"), QStringList{u"Beispiel GmbH"_s});
    EXPECT_EQ(values("adr"), QStringList{u"Hauptstraße 1;Berlin;10115;Deutschland"_s});
    EXPECT_EQ(values("tel"), QStringList{u"0301234567"_s});
    EXPECT_EQ(values("email"), QStringList{u"max.mustermann@beispiel.de"_s});

    // "Bearbeiten" goes over the same card, the typed-in number with it.
    QLineEdit *phone = value(rowOf(ActField::Telefon));
    phone->selectAll();
    QTest::keyClicks(phone, u"030 7654321"_s);
    write("cmdBearbeitenInAct");
    EXPECT_EQ(radicale.CardCount(), 1);
    card = readCard();
    EXPECT_EQ(values("tel"), QStringList{u"030 7654321"_s});
    EXPECT_EQ(values("fn"), QStringList{u"Max Mustermann"_s});

    // Another client changed the card: written over only after the question, and
    // the server's fields the rows do not set stay.
    QFile file(radicale.CardFile(m_window->AddressBook().Account().LastCard->Url.toString()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray theirs = file.readAll().replace("N:;;;;", "N:Mustermann;Max;;;");
    file.close();
    DavSession other(u"anna"_s, u"geheim"_s);
    ASSERT_EQ(other
                  .Send("PUT", m_window->AddressBook().Account().LastCard->Url, theirs,
                        {{"Content-Type", "text/vcard"}})
                  .Status,
              201); // as Radicale answers a replaced card
    phone->selectAll();
    QTest::keyClicks(phone, u"030 1111111"_s);
    m_presenter.answers = {MessageAnswer::Yes};
    write("cmdBearbeitenInAct");
    EXPECT_TRUE(m_presenter.Texts().join(u' ').contains(u"inzwischen auf dem Server"_s));
    card = readCard();
    EXPECT_EQ(values("n"), QStringList{u"Mustermann;Max;;;"_s});
    EXPECT_EQ(values("tel"), QStringList{u"030 1111111"_s});

    // The same person again: added to the card found, no second card.
    phone->selectAll();
    QTest::keyClicks(phone, u"030 2222222"_s);
    write("cmdNeuanlageInACT", u"Zu dieser Karte hinzufügen"_s);
    EXPECT_EQ(radicale.CardCount(), 1);
    card = readCard();
    EXPECT_EQ(values("tel"), QStringList{u"030 2222222"_s});

    // Server gone: said so, and the contact offered as a file (the script declines).
    radicale.Stop();
    m_presenter.shown.clear();
    click("cmdNeuanlageInACT");
    ASSERT_EQ(m_presenter.shown.size(), 1);
    EXPECT_TRUE(m_presenter.shown[0].text.contains(u"nicht erreichbar"_s));
    EXPECT_TRUE(m_presenter.shown[0].text.contains(u"als vCard-Datei sichern"_s));
    EXPECT_EQ(m_presenter.shown[0].style, MessageStyle::YesNoQuestion);
}

TEST_F(AddressBookWindowTest, SearchSaysWhyItFoundNoAddressBook)
{
    ASSERT_TRUE(radicale.Start());
    QProcess odd; // odd answers: no CardDAV, a redirect elsewhere, a self-signed certificate
    odd.start(SystemPython, {QStringLiteral(CARDDAV_TEST_DATA "/odd-server.py")});
    while (!odd.canReadLine() && odd.waitForReadyRead(10000)) {
    }
    const QList<QByteArray> ports = odd.readLine().trimmed().split(' ');
    ASSERT_EQ(ports.size(), 2);
    const QString oddUrl = u"http://127.0.0.1:%1/"_s.arg(ports[0].toInt());
    const struct
    {
        const char *what;
        QString server, password;
        QList<qint16> answers; // to the question whether to follow a redirect
        QString says;
    } cases[] = {
        {"no server", u""_s, u"geheim"_s, {}, u"Bitte die Adresse des Servers"_s},
        {"wrong password", radicale.Url(), u"falsch"_s, {}, u"Benutzername oder Passwort"_s},
        {"nothing listening",
         u"http://127.0.0.1:%1/"_s.arg(FreeLoopbackPort()),
         u"geheim"_s,
         {},
         u"nicht erreichbar"_s},
        {"no address book there", oddUrl, u"geheim"_s, {}, u"kein CardDAV-Adressbuch"_s},
        {"redirect declined",
         oddUrl + u"weiter/"_s,
         u"geheim"_s,
         {MessageAnswer::No},
         u"Dem wird ohne Zustimmung nicht gefolgt"_s},
        {"redirect followed to a closed port",
         oddUrl + u"weiter/"_s,
         u"geheim"_s,
         {MessageAnswer::Yes},
         u"nicht erreichbar"_s},
        {"self-signed certificate",
         u"https://127.0.0.1:%1/"_s.arg(ports[1].toInt()),
         u"geheim"_s,
         {},
         u"ausgestellt von „127.0.0.1“"_s},
    };
    for (const auto &c : cases) {
        AddressBookAccount account;
        account.Server = c.server;
        account.User = u"anna"_s;
        AddressBookDialog dialog(nullptr, account, c.password, {});
        m_presenter.answers = c.answers;
        dialog.Search();
        const QString status = in<QLabel>(&dialog, u"lblStatus"_s)->text();
        EXPECT_TRUE(status.contains(c.says)) << c.what << ": " << status.toStdString();
        EXPECT_EQ(in<QComboBox>(&dialog, u"cboAdressbuch"_s)->count(), 0) << c.what;
    }
    odd.kill();
    odd.waitForFinished();
}

} // namespace
