#pragma once

#include "Guard.h"

#include <windows.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The process-wide data behind all objects: database, contacts, aux commands, toolbars.
// Every member takes the lock itself, so objects on any thread may call it.
class FakeActState
{
public:
    struct Field
    {
        LONG number;
        const wchar_t *label;
    };
    // name, path, folder, tooltip, description, small icon, large icon
    using CommandTexts = std::array<std::wstring, 7>;

    static FakeActState &instance();
    static const std::vector<Field> &fields();
    static bool isField(LONG number);

    void reset();

    bool isOpen();
    void open();

    size_t contactCount();
    void addContact();
    std::wstring currentField(LONG number);
    void setCurrentField(LONG number, const std::wstring &value);

    bool addCommand(const CommandTexts &texts, SHORT flags); // false: empty name or taken
    bool commandExists(const std::wstring &name);
    bool deleteCommand(const std::wstring &name); // false: unknown name
    std::optional<std::wstring> commandText(const std::wstring &name, size_t index);

    // Toolbars are 1 and 3; callers check the number.
    bool addToToolbar(int toolbar, const std::wstring &name); // false: unknown command
    bool isOnToolbar(int toolbar, const std::wstring &name);
    void removeFromToolbar(int toolbar, const std::wstring &name);

private:
    using Contact = std::map<LONG, std::wstring>;
    struct Command
    {
        CommandTexts texts;
        SHORT flags;
    };

    FakeActState();
    void resetLocked();
    std::vector<Command>::iterator findCommand(const std::wstring &name);
    std::vector<std::wstring> &toolbarList(int toolbar);

    Guard guard_;
    bool open_ = false;
    std::vector<Contact> contacts_;
    size_t current_ = 0;
    std::vector<Command> commands_;
    std::vector<std::wstring> toolbar1_;
    std::vector<std::wstring> toolbar3_;
};
