#include "MainWindow.h"

#include "AboutDialog.h"
#include "AddressBookCommands.h"
#include "AppDiagnostics.h"
#include "CardActions.h"
#include "ClipboardCard.h"
#include "CompletionDialog.h"
#include "DelayedProgress.h"
#include "FieldCatalogueModel.h"
#include "FieldRowBinder.h"
#include "RowsPanel.h"
#include "SeparatorDialog.h"
#include "TextBoxText.h"
#include "Twips.h"
#include "UpdateLauncher.h"
#include "VisibleSeparator.h"
#include "WindowMessages.h"

#include "act/ContactWriter.h"
#include "recognition/ParseAddress.h"
#include "recognition/TextOps.h"
#include "support/MessageTexts.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyle>

namespace {

// The window's default client size, in twips.
constexpr int ClientWidth = 9900;
constexpr int ClientHeight = 8025;
constexpr int Margin = 120;
constexpr int ButtonHeight = 375;
constexpr int ButtonSpacing = 45;

struct ButtonLayout
{
    const char *name;
    const char *caption;
    const char *toolTip;
    int row, column, columnSpan;
};

// In tab order; two columns, a wide button spans both.
const ButtonLayout Buttons[] = {
    {"cmdGetClipboard", "Hole aus Zwischenablage",
     "Holt den Textinhalt aus der Zwischenablage und analysiert ihn nach Adressinformationen", 0, 0,
     2},
    {"cmdNeuanlageInACT", "Neu Anlegen", "Legt den oben abgebildeten Satz in ACT! an.", 1, 0, 1},
    {"cmdBearbeitenInAct", "Bearbeiten",
     "Überschreibt den aktuellen Kontakt mit den oben abgebildeten Daten", 1, 1, 1},
    {"cmdNeuerTrenner", "Neuen Trenner wählen",
     "Ein neues Zeilentrennzeichen wählen falls die automatische Auswahl nicht korrekt war.", 2, 0,
     2},
    {"cmdAlleFelder", "Felder aus ACT! DB laden",
     "Es werden alle Felder aus der aktuell geöffneten ACT! DB geladen und in die Auswahlboxen "
     "eingefügt.",
     3, 0, 2},
    {"cmdInfo", "Über", "Über Ordalis", 4, 0, 1},
    {"cmdUpdate", "Updaten", "Das Online Update starten", 4, 1, 1},
};

// Not the text fields' own Ctrl+Z, which undoes typing.
const QKeySequence RestoreRowsKey(Qt::CTRL | Qt::ALT | Qt::Key_Z);
const QKeySequence GetClipboardKey(Qt::CTRL | Qt::SHIFT | Qt::Key_V);

// Window state lives where the platform keeps a program's preferences, apart
// from the settings file.
QSettings windowSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, ProgramName, ProgramName);
}
const QString GeometryKey = QStringLiteral("formMain/geometry");
const QString RecognizerKey = QStringLiteral("formMain/recognizer");

// Sets a flag for the length of a scope, also when the scope is left by a throw.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("formMain"));
    setWindowTitle(ProgramName);
    createControls();
    setTabStops();
    connectCommands();
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::focusChanged);
}

MainWindow::~MainWindow()
{
    // The controls die after this object's own members: nothing may reach the
    // rows or the box through focus or row signals while they go.
    disconnect(qApp, nullptr, this, nullptr);
    delete m_binder;
    m_binder = nullptr;
}

void MainWindow::createControls()
{
    const qreal dpi = logicalDpiY();
    m_catalogue = new FieldCatalogueModel(m_rows, this);
    m_rowsPanel = new RowsPanel(m_catalogue, this);
    txtWert = m_rowsPanel->Values();
    txtField = m_rowsPanel->Fields();
    m_binder = new FieldRowBinder(m_rows, *m_catalogue, txtWert, txtField, this);

    txtClipText = new QPlainTextEdit(this);
    txtClipText->setObjectName(QStringLiteral("txtClipText"));
    txtClipText->setTabChangesFocus(true);
    txtClipText->setLineWrapMode(QPlainTextEdit::NoWrap);
    // As high as the buttons beside it; the rows take the height left.
    txtClipText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_cardActions = new CardActions(m_rows, m_context, *this, *txtClipText);
    m_addressBook = new AddressBookCommands(*this, *this);
    m_cardActions->AddToTextBoxMenu(m_addressBook->SetupAction());

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(txtClipText, 1);
    bottom->addLayout(createButtons());

    const int margin = TwipsToPixels(Margin, dpi);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(TwipsToPixels(ButtonSpacing, dpi));
    layout->addWidget(m_rowsPanel, 1);
    layout->addLayout(createNotices());
    layout->addLayout(bottom);

    // The rows scroll before the box and the buttons leave the screen.
    m_rowsPanel->setMinimumHeight(txtWert[0]->sizeHint().height() * 3);
    txtClipText->setMinimumHeight(txtWert[0]->sizeHint().height() * 3);
    // Today's size where the screen has room for it, with its frame.
    const QRect screen = this->screen()->availableGeometry();
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    resize(std::min(TwipsToPixels(ClientWidth, dpi), screen.width() - frame),
           std::min(TwipsToPixels(ClientHeight, dpi), screen.height() - frame - titleBar));
}

QLayout *MainWindow::createButtons()
{
    const qreal dpi = logicalDpiY();
    auto *grid = new QGridLayout;
    grid->setSpacing(TwipsToPixels(ButtonSpacing, dpi));
    QPushButton **targets[] = {&cmdGetClipboard, &cmdNeuanlageInACT, &cmdBearbeitenInAct,
                               &cmdNeuerTrenner, &cmdAlleFelder,     &cmdInfo,
                               &cmdUpdate};
    int index = 0;
    for (const ButtonLayout &layout : Buttons) {
        auto *button = new QPushButton(QString::fromUtf8(layout.caption), this);
        button->setObjectName(QLatin1String(layout.name));
        button->setToolTip(QString::fromUtf8(layout.toolTip));
        button->setMinimumHeight(TwipsToPixels(ButtonHeight, dpi));
        button->setAutoDefault(false);
        grid->addWidget(button, layout.row, layout.column, 1, layout.columnSpan);
        *targets[index++] = button;
    }
    grid->setRowStretch(int(std::size(Buttons)), 1);
    cmdGetClipboard->setShortcut(GetClipboardKey);
    cmdGetClipboard->setToolTip(QStringLiteral("%1 (%2)").arg(
        cmdGetClipboard->toolTip(), GetClipboardKey.toString(QKeySequence::NativeText)));
    return grid;
}

QLayout *MainWindow::createNotices()
{
    lblZeilenErsetzt = new QLabel(this);
    lblZeilenErsetzt->setObjectName(QStringLiteral("lblZeilenErsetzt"));
    // Wraps rather than widening the window past a small screen.
    lblZeilenErsetzt->setWordWrap(true);
    actZeilenWiederherstellen = new QAction(QStringLiteral("Zeilen wiederherstellen"), this);
    actZeilenWiederherstellen->setObjectName(QStringLiteral("actZeilenWiederherstellen"));
    actZeilenWiederherstellen->setShortcut(RestoreRowsKey);
    actZeilenWiederherstellen->setShortcutContext(Qt::WindowShortcut);
    actZeilenWiederherstellen->setToolTip(
        QStringLiteral("Holt die Zeilen zurück, wie sie vor dem neuen Füllen waren (%1)")
            .arg(RestoreRowsKey.toString(QKeySequence::NativeText)));
    addAction(actZeilenWiederherstellen);
    m_cardActions->AddToTextBoxMenu(actZeilenWiederherstellen);
    cmdZeilenWiederherstellen = new QPushButton(actZeilenWiederherstellen->text(), this);
    cmdZeilenWiederherstellen->setObjectName(QStringLiteral("cmdZeilenWiederherstellen"));
    cmdZeilenWiederherstellen->setToolTip(actZeilenWiederherstellen->toolTip());
    cmdZeilenWiederherstellen->setAutoDefault(false);

    lblTrenner = new QLabel(this);
    lblTrenner->setObjectName(QStringLiteral("lblTrenner"));
    cmdTrennerAutomatisch = new QPushButton(QStringLiteral("Automatisch"), this);
    cmdTrennerAutomatisch->setObjectName(QStringLiteral("cmdTrennerAutomatisch"));
    cmdTrennerAutomatisch->setToolTip(
        QStringLiteral("Zurück zur automatischen Erkennung des Zeilentrennzeichens"));
    cmdTrennerAutomatisch->setAutoDefault(false);

    // In the order of the Recognizer enum.
    cboErkennung = new QComboBox(this);
    cboErkennung->setObjectName(QStringLiteral("cboErkennung"));
    cboErkennung->addItems({QStringLiteral("wie beschrieben"), QStringLiteral("verbessert")});
    cboErkennung->setToolTip(
        QStringLiteral("„verbessert“ lässt Grüße, Berufsbezeichnungen und Registerangaben weg, "
                       "trennt Anrede und Titel vom Namen und Zeilen mit mehreren Angaben"));
    auto *lblErkennung = new QLabel(QStringLiteral("&Erkennung:"), this);
    lblErkennung->setBuddy(cboErkennung);

    auto *notices = new QHBoxLayout;
    notices->addWidget(lblZeilenErsetzt);
    notices->addWidget(cmdZeilenWiederherstellen);
    notices->addStretch(1);
    notices->addWidget(lblTrenner);
    notices->addWidget(cmdTrennerAutomatisch);
    notices->addWidget(lblErkennung);
    notices->addWidget(cboErkennung);
    notices->addWidget(m_addressBook->TargetButton());
    showNotices();
    return notices;
}

void MainWindow::setTabStops()
{
    // Buttons first, then value and field of each row, row by row, then the
    // box; the notes' buttons after it, as they come and go.
    QList<QWidget *> order = {cmdGetClipboard, cmdNeuanlageInACT, cmdBearbeitenInAct,
                              cmdNeuerTrenner, cmdAlleFelder,     cmdInfo,
                              cmdUpdate};
    for (int row = 0; row < RowCount; ++row) {
        order.append(txtWert[row]);
        order.append(txtField[row]);
    }
    order.append(txtClipText);
    order.append(cmdZeilenWiederherstellen);
    order.append(cmdTrennerAutomatisch);
    order.append(cboErkennung);
    order.append(m_addressBook->TargetButton());
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void MainWindow::connectCommands()
{
    connect(cmdGetClipboard, &QPushButton::clicked, this, &MainWindow::getClipboardClicked);
    connect(cmdNeuanlageInACT, &QPushButton::clicked, this, [this] { writeContact(true); });
    connect(cmdBearbeitenInAct, &QPushButton::clicked, this, [this] { writeContact(false); });
    connect(cmdNeuerTrenner, &QPushButton::clicked, this, &MainWindow::newSeparatorClicked);
    connect(cmdAlleFelder, &QPushButton::clicked, this, &MainWindow::loadFieldLists);
    connect(cmdInfo, &QPushButton::clicked, this, &MainWindow::infoClicked);
    connect(cmdUpdate, &QPushButton::clicked, this, &MainWindow::updateClicked);
    connect(actZeilenWiederherstellen, &QAction::triggered, this, &MainWindow::restoreRows);
    connect(cmdZeilenWiederherstellen, &QPushButton::clicked, this, &MainWindow::restoreRows);
    connect(cmdTrennerAutomatisch, &QPushButton::clicked, this, &MainWindow::resetSeparator);
    connect(cboErkennung, &QComboBox::currentIndexChanged, this, &MainWindow::chooseRecognizer);
    connect(m_addressBook, &AddressBookCommands::targetChanged, this, &MainWindow::loadFieldLists);
}

void MainWindow::StartUp()
{
    setWindowTitle(ProgramName + QStringLiteral(" v.") + ProgramVersion);
    // Shown first, so that start-up messages appear over the window.
    restoreWindowState();
    show();
    raise();
    activateWindow();
    m_context.UserSeparator.clear();
    m_rows.FillStandardCatalogue();
    // Known before it is read, so a failed read still saves the cache there.
    m_settings.FilePath = SettingsFilePath();
    runCommand([this] { m_settings = LoadSettings(m_rows); });
    loadFieldLists();
    setBoxText({});
    SetTopMost(true);
    SetTopMost(false);
    {
        const FlagScope startingUp(m_startingUp);
        getClipboardClicked();
    }
    cmdGetClipboard->setFocus();
}

void MainWindow::restoreWindowState()
{
    const QSettings settings = windowSettings();
    const QByteArray geometry = settings.value(GeometryKey).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    m_context.recognizer =
        RecognizerNamed(settings.value(RecognizerKey).toString()).value_or(Recognizer::Classic);
    const QSignalBlocker quiet(cboErkennung);
    cboErkennung->setCurrentIndex(int(m_context.recognizer));
}

void MainWindow::saveWindowState() const
{
    QSettings settings = windowSettings();
    settings.setValue(GeometryKey, saveGeometry());
}

void MainWindow::runCommand(const std::function<void()> &command, const QString &failureMessage)
{
    // Work that lets the window repaint may see a click on another command.
    if (m_commandRunning)
        return;
    const FlagScope running(m_commandRunning);
    try {
        command();
    } catch (...) {
        qCWarning(lcApp).noquote() << "command failed:" << CaughtFailureReason();
        SetBusyPointer(false);
        if (!failureMessage.isEmpty())
            ShowMessage(failureMessage, MessageStyle::Exclamation);
    }
}

void MainWindow::setBoxText(const QString &text)
{
    txtClipText->setPlainText(text);
}

// --- ActHost

void MainWindow::SetBusyPointer(bool busy)
{
    // However often the hourglass was asked for, one "not busy" takes it back;
    // a command's own hourglass stays until the command ends.
    if (busy && !m_actPointer)
        m_actPointer.emplace();
    else if (!busy)
        m_actPointer.reset();
}

void MainWindow::SetTopMost(bool onTop)
{
    // Changing the flag re-creates the native window, so only when it changes.
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    show();
    raise();
    activateWindow();
}

QString MainWindow::CapturedText() const
{
    return TextWithCrLf(*txtClipText);
}

void MainWindow::CaptureClipboard()
{
    // A large clipboard takes seconds to read and recognise.
    const BusyCursor busy;
    refillRows([this] {
        if (fillRowsFromCard())
            return;
        const FlagScope busy(m_parseBusy);
        setBoxText({});
        QString clipText;
        const QString clipboard = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
        recognise(
            [&] { return CaptureText(m_context, clipboard, m_startingUp, m_rows, clipText); });
        setBoxText(clipText);
    });
}

bool MainWindow::fillRowsFromCard()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    const std::optional<ClipboardCard> card = CardOnClipboard(data, CatalogueFromRows(m_rows));
    if (!card)
        return false;
    // The card's fields as they are: nothing to recognise, no labels to find.
    RowsFromValues(card->Values, m_rows);
    m_context.DefinitionHits.clear();
    m_context.ClipboardText = WithCrLfLineBreaks(card->Text);
    setBoxText(QString(card->Text).remove(u'\r'));
    return true;
}

void MainWindow::refillRows(const std::function<void()> &refill)
{
    const auto kept = [this] {
        return RowRefills::Extra{txtClipText->toPlainText(), m_context.DefinitionHits};
    };
    try {
        m_refills.Run(refill, kept);
    } catch (...) {
        showNotices();
        throw;
    }
    showNotices();
}

void MainWindow::restoreRows()
{
    const std::optional<RowRefills::Extra> kept = m_refills.Restore();
    if (!kept)
        return;
    m_context.DefinitionHits = kept->DefinitionHits;
    setBoxText(kept->BoxText);
    showNotices();
}

void MainWindow::resetSeparator()
{
    m_context.UserSeparator.clear();
    showNotices();
}

void MainWindow::chooseRecognizer(int index)
{
    m_context.recognizer = Recognizer(index);
    windowSettings().setValue(RecognizerKey, RecognizerName(m_context.recognizer).toString());
    // A request to recognise the box anew, as an edit of it is.
    if (txtClipText->toPlainText().trimmed().isEmpty())
        return;
    txtClipText->document()->setModified(true);
    txtClipText_Validate();
}

void MainWindow::showNotices()
{
    const bool canRestore = m_refills.CanRestore();
    lblZeilenErsetzt->setText(
        QStringLiteral("Ihre geänderten Zeilen wurden ersetzt. Zurückholen mit %1:")
            .arg(RestoreRowsKey.toString(QKeySequence::NativeText)));
    lblZeilenErsetzt->setVisible(canRestore);
    cmdZeilenWiederherstellen->setVisible(canRestore);
    actZeilenWiederherstellen->setEnabled(canRestore);

    const QString &separator = m_context.UserSeparator;
    const bool chosen = !separator.isEmpty();
    lblTrenner->setText(QStringLiteral("Trennzeichen: „%1“").arg(VisibleSeparator(separator)));
    lblTrenner->setToolTip(
        chosen ? QStringLiteral("Gilt für jede Erfassung: %1").arg(SeparatorNames(separator))
               : QString());
    lblTrenner->setVisible(chosen);
    cmdTrennerAutomatisch->setVisible(chosen);
}

quint8 MainWindow::ShowCompletionDialog(bool LastWriteWasNew)
{
    const BusyCursor::Pause pause;
    CompletionDialog dialog(this, LastWriteWasNew);
    dialog.exec();
    return dialog.CompletionChoice();
}

void MainWindow::EndProgram()
{
    m_ended = true;
    close();
    emit programEnded();
}

void MainWindow::recognise(const std::function<ParseOutcome()> &parse)
{
    ParseOutcome outcome = parse();
    if (outcome.status == ParseStatus::NoSeparator) {
        ShowMessage(outcome.message);
        m_context.UserSeparator = askSeparator();
        if (m_context.UserSeparator.isEmpty())
            return;
        outcome = parse();
    }
    ShowMessage(outcome.message);
}

QString MainWindow::askSeparator()
{
    // Asked in the middle of a capture.
    const BusyCursor::Pause pause;
    SeparatorDialog dialog(this, m_context.ClipboardText);
    dialog.exec();
    return dialog.UserSeparator();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveWindowState();
    m_act.ReleaseActObjects();
    event->accept();
}

// --- the commands

void MainWindow::getClipboardClicked()
{
    runCommand([this] { CaptureClipboard(); });
}

void MainWindow::writeToAct(bool isNew)
{
    runCommand(
        [this, isNew] {
            const BusyCursor busy;
            ShowMessage(WriteContact(isNew, m_rows, m_context, m_act, *this).message);
        },
        isNew ? MessageText::ContactNotCreated : MessageText::ContactNotEdited);
}

void MainWindow::newSeparatorClicked()
{
    runCommand([this] {
        if (TrimBlanks(CapturedText()).isEmpty()) {
            ShowMessage(MessageText::NoData, MessageStyle::Exclamation);
            return;
        }
        m_context.UserSeparator = askSeparator();
        showNotices();
        if (!m_context.UserSeparator.isEmpty())
            CaptureClipboard();
    });
}

void MainWindow::allFieldsClicked()
{
    // A new catalogue takes the rows' fields away before its own capture refills them.
    runCommand(
        [this] {
            const BusyCursor busy;
            DelayedProgress progress(*this, QStringLiteral("Felder werden geladen …"));
            refillRows([&] {
                ShowMessage(
                    LoadFieldList(m_rows, m_settings, m_act, *this, progress.Callback()).message);
            });
        },
        MessageText::FieldLoadFailed);
}

void MainWindow::infoClicked()
{
    runCommand([this] {
        AboutDialog about(this);
        about.exec();
    });
}

void MainWindow::updateClicked()
{
    runCommand(
        [this] {
            const BusyCursor busy;
            if (RunOnlineUpdate())
                EndProgram();
        },
        MessageText::UpdateNotStarted);
}

// --- the captured-text box

void MainWindow::focusChanged(QWidget *previous, QWidget *current)
{
    // Only a move to another control of this window counts as leaving the box;
    // a message box or dialog taking the focus does not.
    if (previous == txtClipText && current != nullptr && current->window() == this)
        txtClipText_Validate();
}

void MainWindow::txtClipText_Validate()
{
    // Only an edited text is recognised anew: unchanged text would only
    // replace the rows the user corrected since.
    if (m_parseBusy || !txtClipText->document()->isModified())
        return;
    const BusyCursor pointer;
    refillRows([this] {
        const FlagScope busy(m_parseBusy);
        const QString text = CapturedText();
        setBoxText({});
        QString clipText;
        recognise([&] { return ParseAddress(m_context, text, m_rows, clipText); });
        setBoxText(clipText);
    });
    showNotices();
}

// --- the address book as destination; ACT!'s commands stay as they are

void MainWindow::writeContact(bool isNew)
{
    if (!m_addressBook->Active()) {
        writeToAct(isNew);
        return;
    }
    runCommand([this, isNew] { m_addressBook->Write(isNew, m_rows, m_context); },
               isNew ? MessageText::ContactNotCreated : MessageText::ContactNotEdited);
}

void MainWindow::loadFieldLists()
{
    if (!m_addressBook->Active()) {
        allFieldsClicked();
        return;
    }
    // The box's text goes into the new lists; the clipboard may hold something else by now.
    runCommand([this] { refillRows([this] { m_addressBook->LoadFields(m_rows, m_settings); }); });
    if (!txtClipText->toPlainText().trimmed().isEmpty()) {
        txtClipText->document()->setModified(true);
        txtClipText_Validate();
    }
}
