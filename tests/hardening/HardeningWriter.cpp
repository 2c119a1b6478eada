// The child the hardening tests start and kill: it writes one of the files
// users care about, over and over, until it is killed.
//   hardening_writer cache <settings file>   saves two catalogues in turn
//   hardening_writer cycle                   adds and deletes a command in ACT!
//   hardening_writer add <first> <count>     adds commands "Zusatz <n>", then ends

#include "HardeningData.h"

#include "act/ActObject.h"
#include "support/SettingsFile.h"

#include <cstdio>

namespace {

int saveForever(const QString &settingsFile)
{
    FieldRows first;
    FieldRows second;
    HardeningData::FillCatalogue(first, false);
    HardeningData::FillCatalogue(second, true);
    for (;;) {
        SaveFieldCache(first, settingsFile);
        SaveFieldCache(second, settingsFile);
    }
}

int cycleForever()
{
    const ActObjectPtr commands = CreateActObject(ActProgId::AuxCommands);
    for (;;) {
        commands->Call(QStringLiteral("AddAuxCommand"),
                       HardeningData::AddArguments(HardeningData::CycledCommand));
        commands->Call(QStringLiteral("DeleteAuxCommand"), {HardeningData::CycledCommand});
    }
}

int addCommands(int first, int count)
{
    const ActObjectPtr commands = CreateActObject(ActProgId::AuxCommands);
    for (int n = first; n < first + count; ++n) {
        const QVariant result =
            commands->Call(QStringLiteral("AddAuxCommand"),
                           HardeningData::AddArguments(QStringLiteral("Zusatz %1").arg(n)));
        if (result.toInt() != 0)
            return 3;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    try {
        if (mode == u"cache" && argc == 3)
            return saveForever(QString::fromLocal8Bit(argv[2]));
        if (mode == u"cycle")
            return cycleForever();
        if (mode == u"add" && argc == 4)
            return addCommands(std::atoi(argv[2]), std::atoi(argv[3]));
    } catch (const ActError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
    std::fprintf(stderr, "usage: hardening_writer cache FILE | cycle | add FIRST COUNT\n");
    return 1;
}
