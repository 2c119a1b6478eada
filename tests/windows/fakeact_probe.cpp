// fakeact_probe: reads the fake ACT! server's state from outside, for the GUI test.
//   fakeact_probe hold <seconds>     keeps the local server alive
//   fakeact_probe contact            contact count, then "<field>=<value>" of the current
//                                    contact for every field of the list that holds a value
//   fakeact_probe command <name>...  "<name> <exists> <on toolbar 1> <on toolbar 3> <path>"
//   fakeact_probe count              "commands=<n> toolbar1=<n> toolbar3=<n>", all there are
// Output is UTF-8.

#include "act/com/Automation.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::u16string &text)
{
    if (text.empty())
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(text.data());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, int(text.size()), narrow.data(), size, nullptr, nullptr);
    return narrow;
}

std::u16string wide(const wchar_t *text)
{
    return std::u16string(reinterpret_cast<const char16_t *>(text));
}

std::int32_t number(const com::Value &value)
{
    if (const auto *n = std::get_if<std::int32_t>(&value))
        return *n;
    if (const auto *n = std::get_if<std::int16_t>(&value))
        return *n;
    return -1;
}

// The local server ends with its last object: one held here keeps its state for the programs.
int hold(int seconds)
{
    const com::ObjectPtr control = com::CreateObject(u"FakeAct.Control");
    std::puts("holding");
    std::fflush(stdout);
    Sleep(DWORD(seconds) * 1000);
    return 0;
}

com::ObjectPtr contactView()
{
    const com::ObjectPtr app = com::CreateObject(u"ACTOLE.APPOBJECT");
    const auto views = std::get<com::ObjectPtr>(app->Call(u"Views", {}));
    return std::get<com::ObjectPtr>(
        views->Call(u"Create", {std::int16_t(1), std::u16string(u"ContactView")}));
}

int contact()
{
    const com::ObjectPtr view = contactView();
    std::printf("contacts=%d\n", int(number(view->Call(u"ContactCount", {}))));
    const com::ObjectPtr database = com::CreateObject(u"ACTOLE.DATABASE");
    database->Call(u"OpenEx", {std::u16string()});
    const auto table = std::get<com::ObjectPtr>(database->Call(u"Contact", {}));
    const auto fields = std::get<com::ObjectPtr>(table->Call(u"Fields", {}));
    const std::int32_t count = number(table->Call(u"FieldCount", {}));
    for (std::int32_t position = 0; position < count; ++position) {
        const std::int32_t field = number(fields->Call(u"FieldIdAt", {position}));
        const auto value = std::get<std::u16string>(view->Call(u"GetField", {field}));
        if (!value.empty())
            std::printf("%d=%s\n", int(field), utf8(value).c_str());
    }
    return 0;
}

int commands(int count, wchar_t **names)
{
    const com::ObjectPtr aux = com::CreateObject(u"ACTOLE.AUXCMDS");
    for (int i = 0; i < count; ++i) {
        const std::u16string name = wide(names[i]);
        const bool exists = number(aux->Call(u"AuxCommandExists", {name})) == 1;
        std::string line = utf8(name) + (exists ? " 1" : " 0");
        if (exists) {
            for (const std::int16_t toolbar : {1, 3})
                line += number(aux->Call(u"AuxCommandExistsInToolbar", {toolbar, name})) == 1
                            ? " 1"
                            : " 0";
            line += ' ' + utf8(std::get<std::u16string>(
                              aux->Call(u"AuxCommandText", {name, std::int16_t(1)})));
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

int count()
{
    const com::ObjectPtr control = com::CreateObject(u"FakeAct.Control");
    std::printf("commands=%d toolbar1=%d toolbar3=%d\n",
                int(number(control->Call(u"CommandCount", {}))),
                int(number(control->Call(u"ButtonCount", {std::int16_t(1)}))),
                int(number(control->Call(u"ButtonCount", {std::int16_t(3)}))));
    return 0;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    try {
        if (mode == L"hold" && argc == 3)
            return hold(_wtoi(argv[2]));
        if (mode == L"contact" && argc == 2)
            return contact();
        if (mode == L"command")
            return commands(argc - 2, argv + 2);
        if (mode == L"count" && argc == 2)
            return count();
    } catch (const com::Error &error) {
        std::fprintf(stderr, "fakeact_probe: %s failed (%08lx): %s\n",
                     utf8(error.Subject()).c_str(), static_cast<unsigned long>(error.Result()),
                     utf8(error.Description()).c_str());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: fakeact_probe hold <seconds> | contact | command <name>... | count\n");
    return 2;
}
