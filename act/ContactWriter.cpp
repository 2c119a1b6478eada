#include "ContactWriter.h"

#include "ActConnection.h"
#include "ActDiagnostics.h"
#include "ActHost.h"

#include "recognition/ParseState.h"

#include "support/ActFields.h"
#include "support/FieldRows.h"
#include "support/MessageTexts.h"
#include "support/Messages.h"
#include "support/modZusatzDefs.h"

using namespace Qt::StringLiterals;

quint8 CompletionChoice = 0;
bool LastWriteWasNew = false;

namespace {

// Field numbers whose values make up the contact's name.
constexpr qint32 ContactNameField = ActField::Kontakt;
constexpr qint32 FirstNameField = ActField::Vorname;
constexpr qint32 LastNameField = ActField::Nachname;

constexpr quint8 ChoiceQuit = 1;

// Only blanks count as empty around the captured text.
bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

void ensureContactView()
{
    if (ActContactView)
        return;
    ActApp = CreateActObject(ActProgId::Application);
    ActViews = ToActObject(ActApp->Call(u"Views"_s));
    ActContactView = ToActObject(ActViews->Call(u"Create"_s, {1, u"ContactView"_s}));
}

void setField(const QVariant &fieldNumber, const QString &value)
{
    ActContactView->Call(u"SetField"_s, {fieldNumber, value});
}

// Everything that reaches ACT!; any failure throws and stops it where it is.
void sendContact(bool isNew, const FieldRows &rows)
{
    ensureContactView();
    QString contactName, firstName, lastName;
    if (isNew)
        ActContactView->Call(u"AddNewContact"_s);

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
    if (DefinitionsLoaded) {
        for (const clsZusatzDefs &hit : std::as_const(DefinitionHits)) {
            if (hit.ID != -1)
                setField(QVariant::fromValue(hit.ID), hit.Wert);
        }
    }
}

} // namespace

bool WriteContact(bool isNew, const FieldRows &rows, ActHost &host)
{
    if (isBlank(host.CapturedText())) {
        ShowMessage(MessageText::NoData, MessageStyle::Exclamation);
        return false;
    }

    host.SetBusyPointer(true);
    try {
        sendContact(isNew, rows);
    } catch (const std::exception &) {
        qCWarning(lcAct).noquote() << "contact not written:" << CaughtFailureReason();
        host.SetBusyPointer(false);
        host.SetTopMost(false);
        // Fields already sent stay; the next write connects afresh.
        ReleaseActObjects();
        ShowMessage(isNew ? MessageText::ContactNotCreated : MessageText::ContactNotEdited,
                    MessageStyle::Exclamation);
        return false;
    }
    host.SetBusyPointer(false);
    host.SetTopMost(false);

    CompletionChoice = 0;
    LastWriteWasNew = isNew;
    host.ShowCompletionDialog();
    if (CompletionChoice == ChoiceQuit)
        host.EndProgram();
    return true;
}
