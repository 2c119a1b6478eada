#pragma once

#include "act/ActHost.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The completion dialog after a successful write: back for the next address
// (CompletionChoice 2) or quit (1). Closed any other way the choice stays 0,
// which the caller treats as back.
// Formerly formFertigAbfrage.
class CompletionDialog : public QDialog
{
    Q_OBJECT
public:
    CompletionDialog(QWidget *owner, bool LastWriteWasNew);

    quint8 CompletionChoice() const { return m_choice; }

private:
    void choose(quint8 choice);

    quint8 m_choice = CompletionChoiceNone;
    QLabel *Label1;
    QPushButton *cmdNeueRunde;
    QPushButton *cmdRaus;
};
