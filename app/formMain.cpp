#include "formMain.h"

#include "AppDiagnostics.h"
#include "CardActions.h"
#include "FieldCatalogueModel.h"
#include "FieldRowBinder.h"
#include "TextBoxText.h"
#include "Twips.h"
#include "UpdateLauncher.h"
#include "WheelNeedsFocus.h"
#include "formAbout.h"
#include "formFertigAbfrage.h"
#include "formTrenner.h"

#include "act/ContactWriter.h"
#include "recognition/ParseAddress.h"
#include "recognition/TextOps.h"
#include "support/MessageTexts.h"
#include "support/Messages.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Client area and the geometry of the controls, in twips.
constexpr int ClientWidth = 9900;
constexpr int ClientHeight = 8025;
constexpr int RowTop = 120;
constexpr int RowPitch = 360;
constexpr int RowHeight = 300;

struct ButtonLayout
{
    const char *name;
    const char *caption;
    const char *toolTip;
    int left, top, width, height;
};

// In tab order.
const ButtonLayout Buttons[] = {
    {"cmdGetClipboard", "Hole aus Zwischenablage",
     "Holt den Textinhalt aus der Zwischenablage und analysiert ihn nach Adressinformationen", 6630,
     5880, 3135, 375},
    {"cmdNeuanlageInACT", "Neu Anlegen", "Legt den oben abgebildeten Satz in ACT! an.", 6630, 6300,
     1550, 375},
    {"cmdBearbeitenInAct", "Bearbeiten",
     "Überschreibt den aktuellen Kontakt mit den oben abgebildeten Daten", 8215, 6300, 1550, 375},
    {"cmdNeuerTrenner", "Neuen Trenner wählen",
     "Ein neues Zeilentrennzeichen wählen falls die automatische Auswahl nicht korrekt war.", 6630,
     6720, 3135, 375},
    {"cmdAlleFelder", "Felder aus ACT! DB laden",
     "Es werden alle Felder aus der aktuell geöffneten ACT! DB geladen und in die Auswahlboxen "
     "eingefügt.",
     6630, 7140, 3135, 375},
    {"cmdInfo", "Über", "Über Ordalis", 6630, 7560, 1550, 375},
    {"cmdUpdate", "Updaten", "Das Online Update starten", 8215, 7560, 1550, 375},
};

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

formMain::formMain(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("formMain"));
    setWindowTitle(ProgramName);
    createControls();
    setTabStops();
    connectCommands();
    connect(qApp, &QApplication::focusChanged, this, &formMain::focusChanged);
}

formMain::~formMain()
{
    // The controls die after this object's own members: nothing may reach the
    // rows or the box through focus or row signals while they go.
    disconnect(qApp, nullptr, this, nullptr);
    delete m_binder;
    m_binder = nullptr;
}

void formMain::createControls()
{
    const qreal dpi = logicalDpiY();
    setFixedSize(TwipsToPixels(ClientWidth, dpi), TwipsToPixels(ClientHeight, dpi));

    m_catalogue = new FieldCatalogueModel(m_rows, this);
    auto *wheelNeedsFocus = new WheelNeedsFocus(this);
    for (int row = 0; row < RowCount; ++row) {
        const int top = RowTop + RowPitch * row;
        auto *value = new QLineEdit(this);
        value->setObjectName(QStringLiteral("txtWert%1").arg(row));
        value->setGeometry(TwipsRect(120, top, 7260, RowHeight, dpi));
        txtWert[row] = value;

        // Editable, so that a name with blanks can be typed and a field taken
        // away; the completion offers existing entries only and the binder
        // never lets free text become a field.
        auto *field = new QComboBox(this);
        field->setObjectName(QStringLiteral("txtField%1").arg(row));
        field->setModel(m_catalogue);
        field->setEditable(true);
        field->setInsertPolicy(QComboBox::NoInsert);
        field->setFocusPolicy(Qt::StrongFocus); // a wheel passing over takes no focus
        field->installEventFilter(wheelNeedsFocus);
        QCompleter *completer = field->completer();
        completer->setCompletionMode(QCompleter::PopupCompletion);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchStartsWith);
        completer->setMaxVisibleItems(20);
        field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        field->setMaxVisibleItems(20);
        // thousands of ACT! fields open fast
        for (QAbstractItemView *view : {field->view(), completer->popup()}) {
            if (auto *list = qobject_cast<QListView *>(view))
                list->setUniformItemSizes(true);
        }
        field->setGeometry(TwipsRect(7440, top, 2340, RowHeight, dpi));
        txtField[row] = field;
    }
    m_binder = new FieldRowBinder(m_rows, *m_catalogue, txtWert, txtField, this);

    txtClipText = new QPlainTextEdit(this);
    txtClipText->setObjectName(QStringLiteral("txtClipText"));
    txtClipText->setGeometry(TwipsRect(120, 5880, 6415, 2055, dpi));
    txtClipText->setTabChangesFocus(true);
    txtClipText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_cardActions = new CardActions(m_rows, m_context, *this, *txtClipText);

    QPushButton **targets[] = {&cmdGetClipboard, &cmdNeuanlageInACT, &cmdBearbeitenInAct,
                               &cmdNeuerTrenner, &cmdAlleFelder,     &cmdInfo,
                               &cmdUpdate};
    int index = 0;
    for (const ButtonLayout &layout : Buttons) {
        auto *button = new QPushButton(QString::fromUtf8(layout.caption), this);
        button->setObjectName(QLatin1String(layout.name));
        button->setToolTip(QString::fromUtf8(layout.toolTip));
        button->setGeometry(TwipsRect(layout.left, layout.top, layout.width, layout.height, dpi));
        button->setAutoDefault(false);
        *targets[index++] = button;
    }
}

void formMain::setTabStops()
{
    // Buttons first, then value and field of each row, row by row, then the box.
    QList<QWidget *> order = {cmdGetClipboard, cmdNeuanlageInACT, cmdBearbeitenInAct,
                              cmdNeuerTrenner, cmdAlleFelder,     cmdInfo,
                              cmdUpdate};
    for (int row = 0; row < RowCount; ++row) {
        order.append(txtWert[row]);
        order.append(txtField[row]);
    }
    order.append(txtClipText);
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void formMain::connectCommands()
{
    connect(cmdGetClipboard, &QPushButton::clicked, this, &formMain::cmdGetClipboard_Click);
    connect(cmdNeuanlageInACT, &QPushButton::clicked, this, &formMain::cmdNeuanlageInACT_Click);
    connect(cmdBearbeitenInAct, &QPushButton::clicked, this, &formMain::cmdBearbeitenInAct_Click);
    connect(cmdNeuerTrenner, &QPushButton::clicked, this, &formMain::cmdNeuerTrenner_Click);
    connect(cmdAlleFelder, &QPushButton::clicked, this, &formMain::cmdAlleFelder_Click);
    connect(cmdInfo, &QPushButton::clicked, this, &formMain::cmdInfo_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &formMain::cmdUpdate_Click);
}

void formMain::StartUp()
{
    setWindowTitle(ProgramName + QStringLiteral(" v.") + ProgramVersion);
    m_context.UserSeparator.clear();
    m_rows.FillStandardCatalogue();
    // Known before it is read, so a failed read still saves the cache there.
    m_settings.FilePath = SettingsFilePath();
    runCommand([this] { m_settings = LoadSettings(m_rows); });
    cmdAlleFelder_Click();
    setBoxText({});
    SetTopMost(true);
    SetTopMost(false);
    {
        const FlagScope startingUp(StartingUp);
        cmdGetClipboard_Click();
    }
    cmdGetClipboard->setFocus();
}

void formMain::runCommand(const std::function<void()> &command, const QString &failureMessage)
{
    try {
        command();
    } catch (...) {
        qCWarning(lcApp).noquote() << "command failed:" << CaughtFailureReason();
        SetBusyPointer(false);
        if (!failureMessage.isEmpty())
            ShowMessage(failureMessage, MessageStyle::Exclamation);
    }
}

void formMain::setBoxText(const QString &text)
{
    txtClipText->setPlainText(text);
}

// --- ActHost

void formMain::SetBusyPointer(bool busy)
{
    if (busy) {
        if (QApplication::overrideCursor() == nullptr)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        return;
    }
    // Back to the default pointer however often the hourglass was asked for.
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
}

void formMain::SetTopMost(bool onTop)
{
    // Changing the flag re-creates the native window, so only when it changes.
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    show();
    raise();
    activateWindow();
}

QString formMain::CapturedText() const
{
    return TextWithCrLf(*txtClipText);
}

void formMain::CaptureClipboard()
{
    const FlagScope busy(ParseBusy);
    setBoxText({});
    QString clipText;
    CaptureText(m_context, QGuiApplication::clipboard()->text(QClipboard::Clipboard), StartingUp,
                m_rows, clipText, this);
    setBoxText(clipText);
}

quint8 formMain::ShowCompletionDialog(bool LastWriteWasNew)
{
    formFertigAbfrage dialog(this, LastWriteWasNew);
    dialog.exec();
    return dialog.CompletionChoice();
}

void formMain::EndProgram()
{
    m_ended = true;
    close();
    emit programEnded();
}

QString formMain::Open()
{
    formTrenner dialog(this, m_context.ClipboardText);
    dialog.exec();
    return dialog.UserSeparator();
}

void formMain::closeEvent(QCloseEvent *event)
{
    m_act.ReleaseActObjects();
    event->accept();
}

// --- the commands

void formMain::cmdGetClipboard_Click()
{
    runCommand([this] { CaptureClipboard(); });
}

void formMain::cmdNeuanlageInACT_Click()
{
    runCommand([this] { WriteContact(true, m_rows, m_context, m_act, *this); },
               MessageText::ContactNotCreated);
}

void formMain::cmdBearbeitenInAct_Click()
{
    runCommand([this] { WriteContact(false, m_rows, m_context, m_act, *this); },
               MessageText::ContactNotEdited);
}

void formMain::cmdNeuerTrenner_Click()
{
    runCommand([this] {
        if (TrimBlanks(CapturedText()).isEmpty()) {
            ShowMessage(MessageText::NoData, MessageStyle::Exclamation);
            return;
        }
        m_context.UserSeparator = Open();
        if (!m_context.UserSeparator.isEmpty())
            CaptureClipboard();
    });
}

void formMain::cmdAlleFelder_Click()
{
    runCommand([this] { LoadFieldList(m_rows, m_settings, m_act, *this); },
               MessageText::FieldLoadFailed);
}

void formMain::cmdInfo_Click()
{
    runCommand([this] {
        formAbout about(this);
        about.exec();
    });
}

void formMain::cmdUpdate_Click()
{
    runCommand(
        [this] {
            if (RunOnlineUpdate())
                EndProgram();
        },
        MessageText::UpdateNotStarted);
}

// --- the captured-text box

void formMain::focusChanged(QWidget *previous, QWidget *current)
{
    // Only a move to another control of this window counts as leaving the box;
    // a message box or dialog taking the focus does not.
    if (previous == txtClipText && current != nullptr && current->window() == this)
        txtClipText_Validate();
}

void formMain::txtClipText_Validate()
{
    if (ParseBusy)
        return;
    const FlagScope busy(ParseBusy);
    const QString text = CapturedText();
    setBoxText({});
    QString clipText;
    ParseAddress(m_context, text, m_rows, clipText, this);
    setBoxText(clipText);
}
