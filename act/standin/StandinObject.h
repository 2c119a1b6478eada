#pragma once

#include "act/ActObject.h"

#include <QHash>

#include <functional>

// Base of the stand-in's automation objects: members are looked up by name
// (without regard to case, as automation does) when the call is made, the
// argument count is checked, and every call first checks that the stand-in
// runs, so a stand-in that was closed or killed fails the next call.
class StandinObject : public ActObject
{
public:
    QVariant Call(const QString &member, const QVariantList &arguments = {}) final;

protected:
    using Handler = std::function<QVariant(const QVariantList &)>;
    enum class Needs { Running, Nothing };

    StandinObject(QString objectName, QString dataFolder);
    void addMember(const QString &name, int argumentCount, Handler handler,
                   Needs needs = Needs::Running);

    const QString &dataFolder() const { return m_dataFolder; }
    // Whether the running stand-in has its database open, as seen when the
    // current call began; require… throws unless it has.
    bool databaseOpen() const { return m_databaseOpen; }
    void requireDatabaseOpen() const;
    // Names an argument in error messages.
    static QString argumentName(const QString &member, int index, const QString &meaning);

private:
    struct Member
    {
        QString name;
        int argumentCount;
        Handler handler;
        Needs needs;
    };
    QString m_objectName;
    bool m_databaseOpen = false; // as seen at the start of the current call
    QString m_dataFolder;
    QHash<QString, Member> m_members; // by upper-case name
};
