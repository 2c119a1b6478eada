#include "CardActions.h"

#include "WindowMessages.h"

#include "cards/ContactValues.h"
#include "cards/NoteLabels.h"
#include "cards/VCardWriter.h"
#include "recognition/RecognitionContext.h"
#include "support/ActFields.h"
#include "support/AtomicReplace.h"
#include "support/FieldRows.h"
#include "support/MessageTexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString VCardMimeType = u"text/vcard"_s;

// Characters no file name on Windows or Linux may hold.
QString fileNameOf(QString name)
{
    static const QString forbidden = u"\\/:*?\"<>|"_s;
    for (QChar &c : name) {
        if (forbidden.contains(c) || c.unicode() < 32)
            c = u'_';
    }
    return name.trimmed();
}

} // namespace

CardActions::CardActions(const FieldRows &rows, const RecognitionContext &context, QWidget &window,
                         QPlainTextEdit &textBox)
    : QObject(&window), m_rows(rows), m_context(context), m_window(window), m_textBox(textBox)
{
    m_copy = new QAction(u"Als vCard kopieren"_s, this);
    m_copy->setObjectName(u"actVCardKopieren"_s);
    m_copy->setShortcut(QKeySequence(u"Ctrl+Shift+C"_s));
    m_copy->setShortcutContext(Qt::WindowShortcut);
    connect(m_copy, &QAction::triggered, this, &CardActions::CopyCard);

    m_save = new QAction(u"Als vCard speichern …"_s, this);
    m_save->setObjectName(u"actVCardSpeichern"_s);
    m_save->setShortcut(QKeySequence::Save);
    m_save->setShortcutContext(Qt::WindowShortcut);
    connect(m_save, &QAction::triggered, this, &CardActions::SaveCard);

    window.addAction(m_copy);
    window.addAction(m_save);
    textBox.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&textBox, &QWidget::customContextMenuRequested, this, &CardActions::showTextBoxMenu);
}

QByteArray CardActions::card() const
{
    return WriteVCard(ValuesFromRows(m_rows, m_context.LoadedDefinitionHits()),
                      NoteLabels(CatalogueFromRows(m_rows)), VCardVersion::V4);
}

bool CardActions::hasValues() const
{
    if (!ValuesFromRows(m_rows, m_context.LoadedDefinitionHits()).isEmpty())
        return true;
    ShowMessage(MessageText::NoData, MessageStyle::Exclamation);
    return false;
}

void CardActions::CopyCard()
{
    if (!hasValues())
        return;
    const QByteArray bytes = card();
    auto *data = new QMimeData;
    data->setData(VCardMimeType, bytes);
    data->setText(QString::fromUtf8(bytes));
    QApplication::clipboard()->setMimeData(data);
}

QString CardActions::suggestedFileName() const
{
    const ContactValues values = ValuesFromRows(m_rows, m_context.LoadedDefinitionHits());
    for (const qint32 field : {ActField::Kontakt, ActField::Nachname, ActField::Firma}) {
        const QString name = fileNameOf(values.value(field));
        if (!name.isEmpty())
            return name + u".vcf"_s;
    }
    return u"Kontakt.vcf"_s;
}

void CardActions::SaveCard()
{
    if (!hasValues())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(&m_window, u"Als vCard speichern"_s,
                                                      QDir(folder).filePath(suggestedFileName()),
                                                      u"vCard (*.vcf)"_s);
    if (path.isEmpty())
        return;
    if (!ReplaceAtomically(path, card()))
        ShowMessage(u"Die vCard ließ sich nicht speichern:\n%1"_s.arg(path),
                    MessageStyle::Exclamation);
}

void CardActions::showTextBoxMenu(const QPoint &position)
{
    QMenu *menu = m_textBox.createStandardContextMenu(position);
    menu->addSeparator();
    menu->addAction(m_copy);
    menu->addAction(m_save);
    if (!m_menuExtras.isEmpty()) {
        menu->addSeparator();
        menu->addActions(m_menuExtras);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_textBox.viewport()->mapToGlobal(position));
}
