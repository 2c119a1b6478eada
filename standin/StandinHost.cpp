#include "StandinHost.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "support/Registry.h"

#include <QDir>

using namespace Qt::StringLiterals;

StandinHost::StandinHost(QString folder)
    : m_folder(std::move(folder)), m_lock(RunLockPath(m_folder))
{}

StandinHost::~StandinHost()
{
    m_database.reset();
    m_lock.Release();
}

QString StandinHost::Start(bool noDatabase, std::optional<int> fieldCount)
{
    if (!QDir().mkpath(m_folder))
        return u"Der Ordner %1 lässt sich nicht anlegen."_s.arg(m_folder);
    if (!m_lock.TryAcquire()) {
        if (StandinRunLock::IsHeld(RunLockPath(m_folder)))
            return u"act-standin läuft bereits für den Ordner %1."_s.arg(m_folder);
        return u"Die Sperrdatei %1 lässt sich nicht anlegen."_s.arg(RunLockPath(m_folder));
    }
    if (!noDatabase) {
        try {
            m_database = ContactDatabase::OpenOrCreate(ContactDatabasePath(m_folder), fieldCount);
        } catch (const ActError &error) {
            m_lock.Release();
            return error.reason();
        }
    }
    // A gap an installer left while the stand-in was closed ends the next
    // installer's clean-up early; it lasts no longer than this start.
    try {
        ActCommandFile(CommandFilePath(m_folder)).Heal();
    } catch (const ActError &) {
        // Busy or read-only: the next call that takes the file's lock heals it.
    }
    m_lock.PublishDatabaseOpen(!noDatabase);
    IniFileRegistry(IniFileRegistry::DefaultFilePath())
        .WriteString(ActAppPathsKey, ActAppPathsValue, m_folder);
    return {};
}
