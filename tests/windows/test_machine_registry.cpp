// Reading ACT!'s folder from the registry of a fresh Wine prefix.

#include "support/win/MachineRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace {

const std::string AppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\act.exe";

class MachineRegistryTest : public ::testing::Test
{
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, AppPathsKey.c_str()); }

    static void Store(const std::string &valueName, DWORD type, const std::string &bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, AppPathsKey.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, valueName.c_str(), 0, type,
                                 reinterpret_cast<const BYTE *>(bytes.data()), DWORD(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

// A text value as the installer of ACT! stores it: with its NUL.
std::string WithNul(const std::string &text)
{
    return text + '\0';
}

struct StoredValue
{
    const char *name;
    DWORD type;
    std::string bytes;
    std::optional<std::string> expected;
};

TEST_F(MachineRegistryTest, TheValueIsReadIntoA255ByteBuffer)
{
    const std::vector<StoredValue> cases = {
        {"a folder", REG_SZ, WithNul("C:\\Programme\\ACT"), "C:\\Programme\\ACT"},
        {"an empty value", REG_SZ, WithNul(""), ""},
        {"umlauts in the ANSI code page", REG_SZ, WithNul("C:\\B\xFCro\\ACT"), "C:\\B\xFCro\\ACT"},
        {"254 characters and the NUL fill the buffer", REG_SZ, WithNul(std::string(254, 'x')),
         std::string(254, 'x')},
        {"255 characters do not fit", REG_SZ, WithNul(std::string(255, 'x')), std::nullopt},
        {"the text ends at its first NUL", REG_BINARY, std::string("C:\\ACT\0alt", 10), "C:\\ACT"},
        {"a value stored without its NUL", REG_BINARY, std::string(255, 'y'),
         std::string(255, 'y')},
        {"the type is not checked", REG_EXPAND_SZ, WithNul("%ProgramFiles%\\ACT"),
         "%ProgramFiles%\\ACT"},
    };
    for (const StoredValue &value : cases) {
        SCOPED_TRACE(value.name);
        Store("Path", value.type, value.bytes);
        EXPECT_EQ(winreg::ReadMachineText(AppPathsKey, "Path"), value.expected);
    }
}

TEST_F(MachineRegistryTest, AMissingKeyOrValueReadsAsNotThere)
{
    EXPECT_EQ(winreg::ReadMachineText(AppPathsKey, "Path"), std::nullopt) << "no key";
    Store("Other", REG_SZ, WithNul("C:\\ACT"));
    EXPECT_EQ(winreg::ReadMachineText(AppPathsKey, "Path"), std::nullopt) << "no value";
    EXPECT_EQ(winreg::ReadMachineText(AppPathsKey, "Other"), "C:\\ACT");
}

TEST_F(MachineRegistryTest, ValueNamesAndKeysAreFoundWhateverTheirCase)
{
    Store("Path", REG_SZ, WithNul("D:\\ACT"));
    EXPECT_EQ(winreg::ReadMachineText(
                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ACT.EXE", "PATH"),
              "D:\\ACT");
}

} // namespace
