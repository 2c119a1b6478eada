#include "CompletionDialog.h"

#include "Twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

CompletionDialog::CompletionDialog(QWidget *owner, bool LastWriteWasNew) : QDialog(owner)
{
    setObjectName(QStringLiteral("formFertigAbfrage"));
    setWindowTitle(QStringLiteral("Beenden oder zurück zum Ordalis"));
    setModal(true);
    // In front of every ordinary window, ACT! included, until the user answers.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const qreal dpi = logicalDpiY();
    setFixedSize(TwipsToPixels(4815, dpi), TwipsToPixels(1695, dpi));

    Label1 = new QLabel(LastWriteWasNew ? QStringLiteral("Kontakt wurde erfolgreich angelegt.")
                                        : QStringLiteral("Kontakt wurde erfolgreich bearbeitet."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(TwipsRect(120, 120, 4575, 375, dpi));
    // 12 point bold; a wider desktop font than the layout was made for gets
    // smaller until the whole sentence fits the line.
    QFont bold = Label1->font();
    bold.setBold(true);
    for (int points = 12; points >= 7; --points) {
        bold.setPointSize(points);
        if (QFontMetrics(bold).horizontalAdvance(Label1->text()) <= Label1->width())
            break;
    }
    Label1->setFont(bold);

    cmdNeueRunde = new QPushButton(QStringLiteral("Zurück zum Ordalis"), this);
    cmdNeueRunde->setObjectName(QStringLiteral("cmdNeueRunde"));
    cmdNeueRunde->setGeometry(TwipsRect(120, 480, 4575, 495, dpi));
    cmdRaus = new QPushButton(QStringLiteral("Den Ordalis verlassen"), this);
    cmdRaus->setObjectName(QStringLiteral("cmdRaus"));
    cmdRaus->setGeometry(TwipsRect(120, 1080, 4575, 495, dpi));
    setTabOrder(cmdNeueRunde, cmdRaus);
    cmdNeueRunde->setDefault(true);
    cmdNeueRunde->setFocus();

    connect(cmdNeueRunde, &QPushButton::clicked, this, [this] { choose(CompletionChoiceBack); });
    connect(cmdRaus, &QPushButton::clicked, this, [this] { choose(CompletionChoiceQuit); });
}

void CompletionDialog::choose(quint8 choice)
{
    m_choice = choice;
    accept();
}
