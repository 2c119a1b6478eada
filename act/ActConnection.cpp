#include "ActConnection.h"

#include "ActDiagnostics.h"
#include "ActHost.h"

#include "support/ActFields.h"
#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <QVector>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// ACT! answers Booleans as variants; a null answer counts as false.
bool isTrue(const QVariant &answer)
{
    return answer.isValid() && !answer.isNull() && answer.toBool();
}

qint32 wholeNumber(const QVariant &answer, const QString &what)
{
    bool ok = false;
    const qlonglong number = answer.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max())
        throw ActError(u"%1: keine ganze Zahl („%2“)."_s.arg(what, answer.toString()));
    return qint32(number);
}

// The event control answers even while ACT! is closed.
bool isActRunning()
{
    const ActObjectPtr eventControl = CreateActObject(ActProgId::EventControl);
    return isTrue(eventControl->Call(u"IsActRunning"_s));
}

// The name a field gets in the lists: its label, or a made-up one when ACT!
// gives none.
QString catalogueName(qint32 fieldNumber, const QString &label)
{
    if (!label.isEmpty())
        return label;
    if (fieldNumber == ActField::EMail)
        return StandardFieldName(ActField::EMail).toString();
    return u"Feld "_s + QString::number(fieldNumber);
}

// The open database's fields in ACT!'s order. Reads everything before the
// rows are touched, so a load that fails part-way costs the rows nothing.
QVector<CatalogueEntry> readFieldList(ActObject &database, const StepProgress &progress)
{
    const ActObjectPtr contact = ToActObject(database.Call(u"Contact"_s));
    const ActObjectPtr fields = ToActObject(contact->Call(u"Fields"_s));
    const qint32 count = wholeNumber(contact->Call(u"FieldCount"_s), u"FieldCount"_s);
    // The count was a 16-bit number; a longer list cannot be walked.
    if (count < std::numeric_limits<qint16>::min() || count > std::numeric_limits<qint16>::max())
        throw ActError(
            u"Die Datenbank hat mehr Felder (%1), als gelesen werden können."_s.arg(count));

    QVector<CatalogueEntry> entries;
    entries.reserve(qMax(count, 0));
    for (qint32 position = 0; position < count; ++position) {
        const qint32 number = wholeNumber(fields->Call(u"FieldIdAt"_s, {position}), u"FieldIdAt"_s);
        const QString label = fields->Call(u"Label"_s, {number}).toString();
        entries.append({catalogueName(number, label), number});
        progress(position + 1, count);
    }
    return entries;
}

void replaceCatalogue(FieldRows &rows, const QVector<CatalogueEntry> &entries)
{
    rows.ClearAllLists();
    for (const CatalogueEntry &entry : entries)
        rows.AddEntryToAllRows(entry.Name, entry.FieldNumber);
}

Outcome failLoad(ActConnection &act, ActHost &host)
{
    host.SetBusyPointer(false);
    // The next command starts from a fresh connection rather than a dead one.
    act.ReleaseActObjects();
    return Outcome::Failed({Message::Id::FieldLoadFailed});
}

} // namespace

bool ConnectDatabase(ActConnection &act, ActHost &host)
{
    ActObjectPtr &ActDatabase = act.ActDatabase;
    host.SetBusyPointer(true);
    bool ready = false;
    try {
        if (isActRunning()) {
            if (!ActDatabase) {
                // Held before it is opened: a failing OpenEx leaves it held.
                ActDatabase = CreateActObject(ActProgId::Database);
                ActDatabase->Call(u"OpenEx"_s, {QString()});
            }
            ready = isTrue(ActDatabase->Call(u"IsOpen"_s));
        }
    } catch (const std::exception &) {
        qCWarning(lcAct).noquote() << "database not open:" << CaughtFailureReason();
        ready = false;
    }
    host.SetBusyPointer(false);
    return ready;
}

Outcome LoadFieldList(FieldRows &rows, const Settings &settings, ActConnection &act, ActHost &host,
                      const StepProgress &progress)
{
    if (!ConnectDatabase(act, host)) {
        act.ReleaseActObjects();
        // The unchanged list is saved, so a start without ACT! keeps the cache.
        SaveFieldCache(rows, settings.FilePath);
        return Outcome::Failed({Message::Id::FieldLoadFailed});
    }

    host.SetBusyPointer(true);
    QVector<CatalogueEntry> entries;
    const StepProgress step = progress ? progress : [](int, int) {};
    try {
        entries = readFieldList(*act.ActDatabase, step);
    } catch (const std::exception &) {
        qCWarning(lcAct).noquote() << "field list not read:" << CaughtFailureReason();
        // The steps end here; the failure's message follows.
        step(0, 0);
        return failLoad(act, host);
    }
    step(int(entries.size()), int(entries.size()));
    replaceCatalogue(rows, entries);
    act.ActDatabase.reset();
    host.SetBusyPointer(false);

    try {
        host.CaptureClipboard();
    } catch (const std::exception &) {
        qCWarning(lcAct).noquote()
            << "capture after the field load failed:" << CaughtFailureReason();
        return failLoad(act, host);
    }
    SaveFieldCache(rows, settings.FilePath);
    return Outcome::Done();
}

void ActConnection::ReleaseActObjects()
{
    ActContactView.reset();
    ActViews.reset();
    ActDatabase.reset();
    ActApp.reset();
}
