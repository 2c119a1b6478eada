#include "ContactWriter.h"

#include "ActConnection.h"
#include "ActDiagnostics.h"
#include "ActHost.h"

#include "recognition/RecognitionContext.h"

#include "support/ActFields.h"
#include "support/FieldRows.h"

using namespace Qt::StringLiterals;

namespace {

// Field numbers whose values make up the contact's name.
constexpr qint32 ContactNameField = ActField::Kontakt;
constexpr qint32 FirstNameField = ActField::Vorname;
constexpr qint32 LastNameField = ActField::Nachname;

// Only blanks count as empty around the captured text.
bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

void ensureContactView(ActConnection &act)
{
    if (act.ActContactView)
        return;
    act.ActApp = CreateActObject(ActProgId::Application);
    act.ActViews = ToActObject(act.ActApp->Call(u"Views"_s));
    act.ActContactView =
        ToActObject(act.ActViews->Call(u"Create"_s, {ActView::ContactType, ActView::ContactName}));
}

// Everything that reaches ACT!; any failure throws and stops it where it is.
void sendContact(bool isNew, const FieldRows &rows, const RecognitionContext &context,
                 ActConnection &act)
{
    ensureContactView(act);
    ActObject &ActContactView = *act.ActContactView;
    const auto setField = [&ActContactView](const QVariant &fieldNumber, const QString &value) {
        ActContactView.Call(u"SetField"_s, {fieldNumber, value});
    };
    QString contactName, firstName, lastName;
    if (isNew)
        ActContactView.Call(u"AddNewContact"_s);

    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const std::optional<RowContent> content = rows.ReadRow(row);
        if (!content)
            continue;
        setField(QVariant(content->FieldNumber), content->Value);
        if (content->FieldNumber == ContactNameField)
            contactName = content->Value;
        else if (content->FieldNumber == FirstNameField)
            firstName = content->Value;
        else if (content->FieldNumber == LastNameField)
            lastName = content->Value;
    }

    if (!firstName.isEmpty() && !lastName.isEmpty() && contactName.isEmpty())
        setField(QVariant::fromValue(qint16(ContactNameField)), firstName + u' ' + lastName);

    // Hits go last, so a labelled value wins over a row of the same field.
    if (context.settings.DefinitionsLoaded) {
        for (const FieldValue &hit : context.DefinitionHits) {
            if (hit.field != -1)
                setField(QVariant::fromValue(hit.field), hit.value);
        }
    }
}

} // namespace

Outcome WriteContact(bool isNew, const FieldRows &rows, const RecognitionContext &context,
                     ActConnection &act, ActHost &host)
{
    if (isBlank(host.CapturedText()))
        return Outcome::Failed({Message::Id::NoData});

    host.SetBusyPointer(true);
    try {
        sendContact(isNew, rows, context, act);
    } catch (const std::exception &) {
        qCWarning(lcAct).noquote() << "contact not written:" << CaughtFailureReason();
        host.SetBusyPointer(false);
        host.SetTopMost(false);
        // Fields already sent stay; the next write connects afresh.
        act.ReleaseActObjects();
        return Outcome::Failed(
            {isNew ? Message::Id::ContactNotCreated : Message::Id::ContactNotEdited,
             {},
             CaughtFailureReason()});
    }
    host.SetBusyPointer(false);
    host.SetTopMost(false);

    if (host.ShowCompletionDialog(isNew) == CompletionChoiceQuit)
        host.EndProgram();
    return Outcome::Done();
}
