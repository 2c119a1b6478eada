#pragma once

#include <QString>
#include <QVector>

// One user command in actcmd.ini (section "AuxCommand-<number>").
struct AuxCommandEntry
{
    int number = -1; // section number; -1 for one not yet written
    QString name;    // "cmdname"
    QString program; // "cmdline"
    QString folder;
    QString tooltip;
    QString description;
    QString smallIcon;
    QString largeIcon;
    qint32 options = 0; // AddAuxCommand's last argument, kept as given
};

// One toolbar button in actcmd.ini (section "AuxTBarCommand-<number>").
struct ToolbarEntry
{
    int number = -1;
    QString name; // "cmdname"
    qint32 toolbar = 0;
};

// ACT!'s command file as the stand-in keeps it. Each family of sections is
// numbered 0, 1, 2, ... without gaps, because the installer's clean-up stops at
// the first gap: every call that takes the file's lock closes gaps, whoever
// left them and whether or not the call changes anything else (later sections
// move down, only the number in their header changes), and a new section
// takes the next number. Every edit is one atomic replacement of the file
// under CommandFileLock, so a reader never sees part of a section, and lines
// it does not touch stay as they were. Names compare as the file stores them
// (control characters as blanks), without regard to case and surrounding
// blanks, as the installer compares them; a text the file's encoding cannot
// hold is refused, never stored mangled. An edit that did not reach the file
// throws ActError.
class ActCommandFile
{
public:
    explicit ActCommandFile(QString path);

    // 0 when added, 1 when a command of that name exists (nothing changes).
    // A text the file's encoding cannot hold throws.
    // A command of that name without a program is what an interrupted add
    // left behind: it is completed. A command without a program is refused.
    int AddAuxCommand(const AuxCommandEntry &command);
    bool AuxCommandExists(const QString &name) const;
    // Removes the command and its toolbar buttons; false when there was none.
    bool DeleteAuxCommand(const QString &name);
    // False when the button is there already (nothing changes).
    bool AddToToolbar(qint32 toolbar, const QString &name);
    bool ExistsInToolbar(qint32 toolbar, const QString &name) const;
    // False when there was no such button.
    bool RemoveFromToolbar(qint32 toolbar, const QString &name);
    // Closes the gaps in the numbering; the stand-in does so when it starts.
    void Heal();

    QVector<AuxCommandEntry> Commands() const;
    QVector<ToolbarEntry> ToolbarEntries() const;

    // Two names as the file stores them.
    static bool SameName(const QString &a, const QString &b);
    static const QString CommandPrefix; // "AuxCommand-"
    static const QString ToolbarPrefix; // "AuxTBarCommand-"

private:
    QString m_path;
};
