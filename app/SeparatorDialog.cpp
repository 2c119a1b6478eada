#include "SeparatorDialog.h"

#include "MarkedCharacter.h"
#include "VisibleSeparator.h"
#include "WindowMessages.h"

#include "recognition/LineSplitter.h"
#include "recognition/TextOps.h"
#include "support/MessageTexts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace {

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                        const QString &toolTip)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

QString separatorToolTip(const QString &separator)
{
    const QString base = QStringLiteral("Gewähltes Trennzeichen");
    if (separator.isEmpty())
        return base;
    return base + QStringLiteral(": ") + SeparatorNames(separator);
}

} // namespace

SeparatorDialog::SeparatorDialog(QWidget *owner, const QString &ClipboardText)
    : QDialog(owner), m_clipboardText(ClipboardText)
{
    setObjectName(QStringLiteral("formTrenner"));
    setWindowTitle(QStringLiteral("Trennzeichen wählen"));
    setModal(true);

    Label1 = new QLabel(
        QStringLiteral("Bitte markieren Sie das Trennzeichen mit der Maus und klicken Sie auf das "
                       "Häkchen-Symbol. Klicken Sie auf das UNDO Symbol wenn Ihre Auswahl doch "
                       "nicht korrekt war."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    txtClipText = new QPlainTextEdit(this);
    txtClipText->setObjectName(QStringLiteral("txtClipText"));
    // The text is only there to mark a character in; the preview and the
    // separator come from the captured text, not from edits here.
    txtClipText->setReadOnly(true);
    txtClipText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtClipText->setLineWrapMode(QPlainTextEdit::NoWrap);

    Label2 = new QLabel(QStringLiteral("Trennzeichen :"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtTrenner = new QLineEdit(this);
    txtTrenner->setObjectName(QStringLiteral("txtTrenner"));
    txtTrenner->setToolTip(separatorToolTip({}));

    cmdTrennerNeu = makeButton(
        this, "cmdTrennerNeu", QStringLiteral("Trennzeichen übernehmen"),
        QStringLiteral("Markiertes Trennzeichen wird übernommen. Unten wird eine Vorschau mit dem "
                       "gewählten Trennzeichen angezeigt."));
    cmdTrennerNeu->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    cmdTrennerVerwerfen = makeButton(
        this, "cmdTrennerVerwerfen", QStringLiteral("Trennzeichen verwerfen"),
        QStringLiteral("Zurück zum ursprünglichen Zwischenablageninhalt. Trennzeichen werden "
                       "verworfen."));
    cmdTrennerVerwerfen->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    cmdWeiter =
        makeButton(this, "cmdWeiter", QStringLiteral("Weiter mit Trennzeichen"),
                   QStringLiteral("Übernimmt das Trennzeichen in das Ordalis Hauptfenster"));
    // Enter in "Trennzeichen" takes what was typed there.
    cmdWeiter->setDefault(true);

    auto *markRow = new QHBoxLayout;
    markRow->addWidget(Label1, 1);
    markRow->addWidget(cmdTrennerNeu);
    markRow->addWidget(cmdTrennerVerwerfen);
    auto *separatorRow = new QHBoxLayout;
    separatorRow->addWidget(Label2);
    separatorRow->addWidget(txtTrenner, 1);
    separatorRow->addWidget(cmdWeiter);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(markRow);
    layout->addWidget(txtClipText, 1);
    layout->addLayout(separatorRow);
    resize(620, 360);

    connect(cmdTrennerNeu, &QPushButton::clicked, this, &SeparatorDialog::markSeparatorClicked);
    connect(cmdTrennerVerwerfen, &QPushButton::clicked, this,
            &SeparatorDialog::discardSeparatorClicked);
    connect(cmdWeiter, &QPushButton::clicked, this, &SeparatorDialog::continueClicked);
    connect(txtTrenner, &QLineEdit::textChanged, this, &SeparatorDialog::separatorTextEdited);

    showText(m_clipboardText);
}

void SeparatorDialog::showText(const QString &text)
{
    // Marked line breaks count as the capture counts them.
    m_shown = WithCrLfLineBreaks(text);
    txtClipText->setPlainText(text);
}

void SeparatorDialog::markSeparatorClicked()
{
    const QTextCursor marked = txtClipText->textCursor();
    if (!marked.hasSelection()) {
        ShowMessage(MessageText::MarkOneCharacter, MessageStyle::Information);
        return;
    }
    // Only the first marked character counts, however many are marked.
    const QChar candidate = MarkedCharacter(m_shown, marked.selectionStart());
    if (candidate.isNull())
        return;
    setSeparator(QString(candidate));
    showText(SeparatorPreview(m_clipboardText, QString(candidate)));
}

void SeparatorDialog::discardSeparatorClicked()
{
    showText(m_clipboardText);
    setSeparator({});
}

void SeparatorDialog::continueClicked()
{
    m_accepted = SeparatorFromShown(txtTrenner->text());
    accept();
}

void SeparatorDialog::setSeparator(const QString &separator)
{
    txtTrenner->setText(VisibleSeparator(separator));
}

void SeparatorDialog::separatorTextEdited(const QString &shown)
{
    const QString separator = SeparatorFromShown(shown);
    txtTrenner->setToolTip(separatorToolTip(separator));
    const QString visible = VisibleSeparator(separator);
    if (visible == shown)
        return;
    // A typed or pasted blank shows as its sign at once; signs replace
    // characters one for one, so the cursor keeps its place.
    const int cursor = txtTrenner->cursorPosition();
    txtTrenner->setText(visible);
    txtTrenner->setCursorPosition(cursor);
}
