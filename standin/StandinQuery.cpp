#include "StandinQuery.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

QString asJson(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

QString contacts(ContactDatabase &database, bool json)
{
    const QVector<StandinContact> all = database.Contacts();
    const qint64 shown = database.Shown().contactId;
    if (json) {
        QJsonArray list;
        for (const StandinContact &contact : all) {
            QJsonObject values;
            for (auto it = contact.values.cbegin(); it != contact.values.cend(); ++it)
                values.insert(QString::number(it.key()), it.value());
            list.append(QJsonObject{
                {u"id"_s, contact.id}, {u"shown"_s, contact.id == shown}, {u"fields"_s, values}});
        }
        return asJson({{u"contacts"_s, list}});
    }
    QString text;
    for (const StandinContact &contact : all) {
        text +=
            u"%1%2\n"_s.arg(contact.id).arg(contact.id == shown ? u" (angezeigt)"_s : QString());
        for (auto it = contact.values.cbegin(); it != contact.values.cend(); ++it)
            text += u"  %1\t%2\n"_s.arg(it.key()).arg(it.value());
    }
    return text;
}

QString fields(ContactDatabase &database, bool json)
{
    const QVector<StandinField> all = database.Fields();
    if (json) {
        QJsonArray list;
        for (qsizetype position = 0; position < all.size(); ++position)
            list.append(QJsonObject{{u"position"_s, position},
                                    {u"number"_s, all[position].number},
                                    {u"label"_s, all[position].label}});
        return asJson({{u"fields"_s, list}});
    }
    QString text;
    for (qsizetype position = 0; position < all.size(); ++position)
        text += u"%1\t%2\t%3\n"_s.arg(position).arg(all[position].number).arg(all[position].label);
    return text;
}

QString commands(const QString &folder, bool json)
{
    const ActCommandFile file(CommandFilePath(folder));
    const QVector<AuxCommandEntry> all = file.Commands();
    const QVector<ToolbarEntry> buttons = file.ToolbarEntries();
    if (json) {
        QJsonArray commandList;
        for (const AuxCommandEntry &command : all)
            commandList.append(QJsonObject{
                {u"section"_s, ActCommandFile::CommandPrefix + QString::number(command.number)},
                {u"name"_s, command.name},
                {u"program"_s, command.program},
                {u"folder"_s, command.folder},
                {u"tooltip"_s, command.tooltip},
                {u"description"_s, command.description},
                {u"smallIcon"_s, command.smallIcon},
                {u"largeIcon"_s, command.largeIcon},
                {u"options"_s, command.options}});
        QJsonArray buttonList;
        for (const ToolbarEntry &button : buttons)
            buttonList.append(QJsonObject{
                {u"section"_s, ActCommandFile::ToolbarPrefix + QString::number(button.number)},
                {u"name"_s, button.name},
                {u"toolbar"_s, button.toolbar}});
        return asJson({{u"commands"_s, commandList}, {u"toolbarButtons"_s, buttonList}});
    }
    QString text;
    for (const AuxCommandEntry &command : all)
        text += u"%1%2\t%3\t%4\n"_s.arg(ActCommandFile::CommandPrefix)
                    .arg(command.number)
                    .arg(command.name, command.program);
    for (const ToolbarEntry &button : buttons)
        text += u"%1%2\t%3\tSymbolleiste %4\n"_s.arg(ActCommandFile::ToolbarPrefix)
                    .arg(button.number)
                    .arg(button.name)
                    .arg(button.toolbar);
    return text;
}

} // namespace

int RunStandinQuery(const QString &query, bool json, const QString &folder, QString &output,
                    QString &error)
{
    try {
        if (query == u"commands"_s) {
            output = commands(folder, json);
            return 0;
        }
        const auto database = ContactDatabase::Open(ContactDatabasePath(folder));
        if (query == u"contacts"_s) {
            output = contacts(*database, json);
            return 0;
        }
        if (query == u"fields"_s) {
            output = fields(*database, json);
            return 0;
        }
        error = u"Unbekannte Abfrage: %1"_s.arg(query);
    } catch (const ActError &failure) {
        error = failure.reason();
    }
    return 1;
}
