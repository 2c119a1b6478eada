#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The completion dialog after a successful write: back for the next address
// (CompletionChoice 2) or quit (1). Closed any other way it leaves the choice
// as it found it (0), which the caller treats as back.
class formFertigAbfrage : public QDialog
{
    Q_OBJECT
public:
    explicit formFertigAbfrage(QWidget *owner);

private:
    void choose(quint8 choice);

    QLabel *Label1;
    QPushButton *cmdNeueRunde;
    QPushButton *cmdRaus;
};
