#include "FakeActState.h"

#include <algorithm>

namespace {

bool sameName(const std::wstring &a, const std::wstring &b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

FakeActState &FakeActState::instance()
{
    static FakeActState state;
    return state;
}

const std::vector<FakeActState::Field> &FakeActState::fields()
{
    static const std::vector<Field> table = {
        {1, L"Firma"},   {2, L"Kontakt"}, {3, L"Vorname"}, {4, L"Nachname"},
        {25, L"Straße"}, {26, L"PLZ"},    {27, L"Ort"},    {40, L""},
    };
    return table;
}

bool FakeActState::isField(LONG number)
{
    const auto &table = fields();
    return std::any_of(table.begin(), table.end(),
                       [number](const Field &field) { return field.number == number; });
}

FakeActState::FakeActState()
{
    resetLocked();
}

void FakeActState::reset()
{
    Guard::Lock lock(guard_);
    resetLocked();
}

void FakeActState::resetLocked()
{
    open_ = false;
    // The contact the user has on screen when the client connects.
    contacts_ = {Contact{{1, L"Muster GmbH"}, {3, L"Erika"}, {4, L"Mustermann"}}};
    current_ = 0;
    commands_.clear();
    toolbar1_.clear();
    toolbar3_.clear();
}

bool FakeActState::isOpen()
{
    Guard::Lock lock(guard_);
    return open_;
}

void FakeActState::open()
{
    Guard::Lock lock(guard_);
    open_ = true;
}

size_t FakeActState::contactCount()
{
    Guard::Lock lock(guard_);
    return contacts_.size();
}

void FakeActState::addContact()
{
    Guard::Lock lock(guard_);
    contacts_.emplace_back();
    current_ = contacts_.size() - 1;
}

std::wstring FakeActState::currentField(LONG number)
{
    Guard::Lock lock(guard_);
    const Contact &contact = contacts_[current_];
    const auto it = contact.find(number);
    return it == contact.end() ? std::wstring() : it->second;
}

void FakeActState::setCurrentField(LONG number, const std::wstring &value)
{
    Guard::Lock lock(guard_);
    contacts_[current_][number] = value;
}

bool FakeActState::addCommand(const CommandTexts &texts, SHORT flags)
{
    Guard::Lock lock(guard_);
    if (texts[0].empty() || findCommand(texts[0]) != commands_.end())
        return false;
    commands_.push_back({texts, flags});
    return true;
}

bool FakeActState::commandExists(const std::wstring &name)
{
    Guard::Lock lock(guard_);
    return findCommand(name) != commands_.end();
}

bool FakeActState::deleteCommand(const std::wstring &name)
{
    Guard::Lock lock(guard_);
    const auto it = findCommand(name);
    if (it == commands_.end())
        return false;
    for (auto *toolbar : {&toolbar1_, &toolbar3_})
        std::erase_if(*toolbar, [&](const std::wstring &entry) { return sameName(entry, name); });
    commands_.erase(it);
    return true;
}

std::optional<std::wstring> FakeActState::commandText(const std::wstring &name, size_t index)
{
    Guard::Lock lock(guard_);
    const auto it = findCommand(name);
    if (it == commands_.end() || index >= it->texts.size())
        return std::nullopt;
    return it->texts[index];
}

bool FakeActState::addToToolbar(int toolbar, const std::wstring &name)
{
    Guard::Lock lock(guard_);
    const auto command = findCommand(name);
    if (command == commands_.end())
        return false;
    auto &list = toolbarList(toolbar);
    if (std::none_of(list.begin(), list.end(),
                     [&](const std::wstring &entry) { return sameName(entry, name); }))
        list.push_back(command->texts[0]);
    return true;
}

bool FakeActState::isOnToolbar(int toolbar, const std::wstring &name)
{
    Guard::Lock lock(guard_);
    const auto &list = toolbarList(toolbar);
    return std::any_of(list.begin(), list.end(),
                       [&](const std::wstring &entry) { return sameName(entry, name); });
}

void FakeActState::removeFromToolbar(int toolbar, const std::wstring &name)
{
    Guard::Lock lock(guard_);
    auto &list = toolbarList(toolbar);
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const std::wstring &entry) { return sameName(entry, name); });
    if (it != list.end())
        list.erase(it); // one entry: adding never makes two
}

std::vector<FakeActState::Command>::iterator FakeActState::findCommand(const std::wstring &name)
{
    return std::find_if(commands_.begin(), commands_.end(),
                        [&](const Command &command) { return sameName(command.texts[0], name); });
}

std::vector<std::wstring> &FakeActState::toolbarList(int toolbar)
{
    return toolbar == 1 ? toolbar1_ : toolbar3_;
}
