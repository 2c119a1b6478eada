#pragma once

#include "app/WindowMessages.h"

#include <QList>
#include <QStringList>

// Records every message instead of showing it; answers from a script, then as
// an unattended program does (OK, and No to questions).
class RecordingPresenter : public MessagePresenter
{
public:
    struct Shown
    {
        QString title, text;
        qint16 style = 0;
    };

    qint16 Present(const QString &title, const QString &text, qint16 style) override
    {
        shown.append({title, text, style});
        return answers.isEmpty() ? UnattendedAnswer(style) : answers.takeFirst();
    }
    QStringList Texts() const
    {
        QStringList texts;
        for (const Shown &message : shown)
            texts.append(message.text);
        return texts;
    }
    QList<qint16> Styles() const
    {
        QList<qint16> styles;
        for (const Shown &message : shown)
            styles.append(message.style);
        return styles;
    }

    QList<Shown> shown;
    QList<qint16> answers;
};
