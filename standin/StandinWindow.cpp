#include "StandinWindow.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"

#include "support/ActFields.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The columns of the contact table after the marker and the number.
constexpr qint32 MainFields[] = {
    ActField::Firma, ActField::Kontakt, ActField::Ort, ActField::Telefon, ActField::EMail,
};

// Changes with every write of the file, atomic replacements included.
QByteArray fileStamp(const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return QByteArray::number(qulonglong(info.st_ino)) + ':' +
           QByteArray::number(qlonglong(info.st_size)) + ':' +
           QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_mtim.tv_nsec));
}

QTableWidget *newTable(const QString &objectName, const QStringList &headers)
{
    auto *table = new QTableWidget(0, int(headers.size()));
    table->setObjectName(objectName);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QTableWidgetItem *cell(const QString &text, bool bold = false)
{
    auto *item = new QTableWidgetItem(text);
    if (bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

} // namespace

StandinWindow::StandinWindow(QString folder, std::shared_ptr<ContactDatabase> database,
                             QWidget *parent)
    : QMainWindow(parent), m_folder(std::move(folder)), m_database(std::move(database))
{
    buildUi();
    m_timer = new QTimer(this);
    m_timer->setInterval(PollIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &StandinWindow::Poll);
    m_timer->start();
    Poll();
}

void StandinWindow::buildUi()
{
    setWindowTitle(u"ACT! (Stand-in)"_s);
    QStringList contactHeaders{QString(), u"Nr."_s};
    for (const qint32 number : MainFields)
        contactHeaders.append(StandardFieldName(number).toString());
    m_contacts = newTable(u"contactTable"_s, contactHeaders);
    m_showButton = new QPushButton(u"Als aktuellen Kontakt anzeigen"_s);
    m_showButton->setObjectName(u"showButton"_s);
    m_showButton->setEnabled(false);
    m_commands =
        newTable(u"commandTable"_s, {u"Abschnitt"_s, u"Befehl"_s, u"Programm"_s, u"Tooltip"_s});
    m_buttons = newTable(u"toolbarTable"_s, {u"Abschnitt"_s, u"Befehl"_s, u"Symbolleiste"_s});

    auto *contactsBox = new QWidget;
    auto *contactsLayout = new QVBoxLayout(contactsBox);
    contactsLayout->addWidget(new QLabel(u"Kontakte"_s));
    contactsLayout->addWidget(m_contacts);
    contactsLayout->addWidget(m_showButton, 0, Qt::AlignRight);

    auto *commandsBox = new QWidget;
    auto *commandsLayout = new QVBoxLayout(commandsBox);
    commandsLayout->addWidget(new QLabel(u"Benutzerbefehle"_s));
    commandsLayout->addWidget(m_commands);
    commandsLayout->addWidget(new QLabel(u"Schaltflächen der Symbolleisten"_s));
    commandsLayout->addWidget(m_buttons);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(contactsBox);
    splitter->addWidget(commandsBox);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    setCentralWidget(splitter);

    m_status = new QLabel;
    m_status->setObjectName(u"statusLabel"_s);
    statusBar()->addWidget(m_status, 1);
    m_status->setText(m_database ? u"Datenbank: %1"_s.arg(m_database->Path())
                                 : u"Keine Datenbank geöffnet"_s);
    resize(900, 600);

    connect(m_contacts, &QTableWidget::itemSelectionChanged, this,
            [this] { m_showButton->setEnabled(m_database && m_contacts->currentRow() >= 0); });
    connect(m_contacts, &QTableWidget::cellDoubleClicked, this,
            &StandinWindow::showSelectedContact);
    connect(m_showButton, &QPushButton::clicked, this, &StandinWindow::showSelectedContact);
}

void StandinWindow::Poll()
{
    try {
        if (m_database) {
            const qint64 version = m_database->DataVersion();
            if (version != m_dataVersion) {
                m_dataVersion = version;
                reloadContacts();
            }
        }
        const QByteArray stamp = fileStamp(CommandFilePath(m_folder));
        if (stamp != m_commandFileStamp) {
            m_commandFileStamp = stamp;
            reloadCommands();
        }
    } catch (const ActError &error) {
        // Another program holding the database past the timeout: try again next tick.
        m_dataVersion = -1;
        reportError(error.reason());
    }
}

void StandinWindow::reloadContacts()
{
    const QVector<StandinContact> contacts = m_database->Contacts();
    const qint64 shown = m_database->Shown().contactId;
    const qint64 selected = m_contacts->currentRow() >= 0
                                ? m_contacts->item(m_contacts->currentRow(), 1)->text().toLongLong()
                                : 0;
    m_contacts->setRowCount(int(contacts.size()));
    for (int row = 0; row < contacts.size(); ++row) {
        const StandinContact &contact = contacts[row];
        const bool isShown = contact.id == shown;
        m_contacts->setItem(row, 0, cell(isShown ? u"▶"_s : QString(), isShown));
        m_contacts->setItem(row, 1, cell(QString::number(contact.id), isShown));
        int column = 2;
        for (const qint32 number : MainFields)
            m_contacts->setItem(row, column++, cell(contact.values.value(number), isShown));
        // A newly shown contact (a write, another program) takes the
        // highlight; else the user's row keeps it.
        if (shown != m_shownContact ? isShown : contact.id == selected)
            m_contacts->setCurrentCell(row, 1);
    }
    m_shownContact = shown;
    m_contacts->resizeColumnsToContents();
    const QString count =
        contacts.size() == 1 ? u"1 Kontakt"_s : u"%1 Kontakte"_s.arg(contacts.size());
    m_status->setText(u"Datenbank: %1 — %2"_s.arg(m_database->Path(), count));
}

void StandinWindow::reloadCommands()
{
    const ActCommandFile file(CommandFilePath(m_folder));
    const QVector<AuxCommandEntry> commands = file.Commands();
    m_commands->setRowCount(int(commands.size()));
    for (int row = 0; row < commands.size(); ++row) {
        const AuxCommandEntry &command = commands[row];
        m_commands->setItem(row, 0,
                            cell(ActCommandFile::CommandPrefix + QString::number(command.number)));
        m_commands->setItem(row, 1, cell(command.name));
        m_commands->setItem(row, 2, cell(command.program));
        m_commands->setItem(row, 3, cell(command.tooltip));
    }
    const QVector<ToolbarEntry> buttons = file.ToolbarEntries();
    m_buttons->setRowCount(int(buttons.size()));
    for (int row = 0; row < buttons.size(); ++row) {
        const ToolbarEntry &button = buttons[row];
        m_buttons->setItem(row, 0,
                           cell(ActCommandFile::ToolbarPrefix + QString::number(button.number)));
        m_buttons->setItem(row, 1, cell(button.name));
        m_buttons->setItem(row, 2, cell(QString::number(button.toolbar)));
    }
    m_commands->resizeColumnsToContents();
    m_buttons->resizeColumnsToContents();
}

void StandinWindow::showSelectedContact()
{
    const int row = m_contacts->currentRow();
    if (!m_database || row < 0)
        return;
    try {
        m_database->ShowContact(m_contacts->item(row, 1)->text().toLongLong());
        reloadContacts();
    } catch (const ActError &error) {
        reportError(error.reason());
    }
}

void StandinWindow::reportError(const QString &text)
{
    m_status->setText(text);
}
