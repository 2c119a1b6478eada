#pragma once

#include <QMainWindow>

#include <memory>

class ContactDatabase;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

// The stand-in's window: the contacts with their main fields (the one shown
// marked), a way to show another one, and the commands and toolbar buttons of
// actcmd.ini. It follows what other programs change by polling.
class StandinWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `database` is null when the stand-in runs without one.
    StandinWindow(QString folder, std::shared_ptr<ContactDatabase> database,
                  QWidget *parent = nullptr);

    static constexpr int PollIntervalMs = 500;

    // Looks for changes now instead of at the next tick.
    void Poll();

private:
    void buildUi();
    void reloadContacts();
    void reloadCommands();
    void showSelectedContact();
    void reportError(const QString &text);

    QString m_folder;
    std::shared_ptr<ContactDatabase> m_database;
    QTableWidget *m_contacts = nullptr;
    QPushButton *m_showButton = nullptr;
    QTableWidget *m_commands = nullptr;
    QTableWidget *m_buttons = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_timer = nullptr;
    qint64 m_dataVersion = -1;
    qint64 m_shownContact = -1; // the contact shown at the last reload
    QByteArray m_commandFileStamp;
};
