#pragma once

#include "act/ActConnection.h"
#include "act/ActHost.h"
#include "app/BusyCursor.h"
#include "app/RowRefills.h"
#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"
#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class AddressBookCommands;
class CardActions;
class FieldCatalogueModel;
class FieldRowBinder;
class RowsPanel;
class QAction;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The main window: sixteen field rows, the captured-text box and seven
// commands. It is the front end of the ACT! commands (ActHost), and shows what
// the core's steps report.
// Formerly formMain.
class MainWindow : public QWidget, public ActHost
{
    Q_OBJECT
public:
    static constexpr int RowCount = FieldRows::RowCount;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up as the program runs it once the window exists: catalogue,
    // settings, field load, to the front, and the silent first capture.
    void StartUp();

    FieldRows &Rows() { return m_rows; }
    RecognitionContext &Context() { return m_context; }
    const ActConnection &Act() const { return m_act; }
    AddressBookCommands &AddressBook() { return *m_addressBook; }
    // True once the program was told to end (quit after a write, update started).
    bool Ended() const { return m_ended; }
    // A command runs: the window repaints meanwhile, but no second command starts.
    bool Busy() const { return m_commandRunning; }

    // ActHost
    void SetBusyPointer(bool busy) override;
    void SetTopMost(bool onTop) override;
    QString CapturedText() const override;
    void CaptureClipboard() override;
    quint8 ShowCompletionDialog(bool LastWriteWasNew) override;
    void EndProgram() override;

signals:
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    QLayout *createNotices();
    QLayout *createButtons();
    void setTabStops();
    void connectCommands();
    void restoreWindowState();
    void saveWindowState() const;

    void getClipboardClicked();
    // "Neu Anlegen" (isNew) or "Bearbeiten" into ACT!.
    void writeToAct(bool isNew);
    void newSeparatorClicked();
    void allFieldsClicked();
    void infoClicked();
    void updateClicked();
    // "Neu Anlegen" / "Bearbeiten" and the field load, to ACT! or the address book.
    void writeContact(bool isNew);
    void loadFieldLists();
    void txtClipText_Validate();
    void focusChanged(QWidget *previous, QWidget *current);
    void restoreRows();
    void resetSeparator();
    // The recognizer the user chose: kept with the window state, and the box's
    // text recognised anew with it (a refill that can be undone).
    void chooseRecognizer(int index);

    // Runs something that fills the rows anew, so that rows the user changed
    // can be brought back afterwards.
    void refillRows(const std::function<void()> &refill);
    bool fillRowsFromCard();
    // Runs a parse and shows what it reports; when it finds no separator, says
    // so, asks for one and parses again with the one chosen.
    void recognise(const std::function<ParseOutcome()> &parse);
    // The separator dialog, modal over this window; empty: none chosen.
    QString askSeparator();
    void showNotices();

    // Runs one command to its end: an unexpected failure restores the pointer
    // and shows the command's own message (if it has one). Refused while
    // another command runs.
    void runCommand(const std::function<void()> &command, const QString &failureMessage = {});
    void setBoxText(const QString &text);

    FieldRows m_rows;
    Settings m_settings;
    RecognitionContext m_context{m_settings};
    ActConnection m_act;
    RowRefills m_refills{m_rows};
    FieldCatalogueModel *m_catalogue = nullptr;
    FieldRowBinder *m_binder = nullptr;
    CardActions *m_cardActions = nullptr;
    AddressBookCommands *m_addressBook = nullptr;
    RowsPanel *m_rowsPanel = nullptr;

    std::array<QLineEdit *, RowCount> txtWert{};
    std::array<QComboBox *, RowCount> txtField{};
    QPlainTextEdit *txtClipText = nullptr;
    QPushButton *cmdGetClipboard = nullptr;
    QPushButton *cmdNeuanlageInACT = nullptr;
    QPushButton *cmdBearbeitenInAct = nullptr;
    QPushButton *cmdNeuerTrenner = nullptr;
    QPushButton *cmdAlleFelder = nullptr;
    QPushButton *cmdInfo = nullptr;
    QPushButton *cmdUpdate = nullptr;
    // Notes under the rows: rows replaced and how to get them back, and the
    // separator chosen for every capture until it is reset.
    QLabel *lblZeilenErsetzt = nullptr;
    QPushButton *cmdZeilenWiederherstellen = nullptr;
    QAction *actZeilenWiederherstellen = nullptr;
    QLabel *lblTrenner = nullptr;
    QPushButton *cmdTrennerAutomatisch = nullptr;
    QComboBox *cboErkennung = nullptr;

    // The hourglass the ACT! commands ask for, apart from the commands' own.
    std::optional<BusyCursor> m_actPointer;
    bool m_commandRunning = false;
    bool m_parseBusy = false;
    bool m_startingUp = false;
    bool m_ended = false;
};
