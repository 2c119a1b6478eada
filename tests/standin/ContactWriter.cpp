// Writes contacts through the ACT! boundary, as Ordalis does: one contact view,
// AddNewContact, then SetField per value. Used to run writers side by side.
// Arguments: tag, number of contacts.

#include "act/ActObject.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3)
        return 2;
    const QString tag = arguments[1];
    const int count = arguments[2].toInt();
    try {
        ActObjectPtr views =
            ToActObject(CreateActObject(ActProgId::Application)->Call(QStringLiteral("Views")));
        ActObjectPtr view =
            ToActObject(views->Call(QStringLiteral("Create"), {1, QStringLiteral("ContactView")}));
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("%1-%2").arg(tag).arg(i);
            view->Call(QStringLiteral("AddNewContact"));
            view->Call(QStringLiteral("SetField"), {25, name});
            view->Call(QStringLiteral("SetField"), {26, name + QStringLiteral(" Kontakt")});
            view->Call(QStringLiteral("SetField"), {30, tag});
        }
    } catch (const ActError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
