// The registry adapter on the real registry of the Wine prefix, and the settings on top of it.
#include <gtest/gtest.h>
#include <windows.h>

#include "mainwindow/user_settings.h"
#include "platform/win32/win32_registry.h"

namespace snapdesk {
namespace {

constexpr const wchar_t* kTestKey = L"Software\\Zim Software\\Snapdesk Registry Test";
constexpr const char* kTestKeyUtf8 = "Software\\Zim Software\\Snapdesk Registry Test";

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

    static void writeRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
        RegCloseKey(key);
    }

    Win32Registry registry;
};

TEST_F(RegistryTest, WritesCreateTheKeyAndReadBackWholeValues) {
    EXPECT_FALSE(registry.readUserString(kTestKeyUtf8, "Height").has_value());
    ASSERT_TRUE(registry.writeUserString(kTestKeyUtf8, "Height", "9000"));
    EXPECT_EQ(registry.readUserString(kTestKeyUtf8, "height"), "9000");  // names ignore case
    // Longer than a 99-character buffer, and not ASCII.
    const std::string longValue = std::string(300, 'x') + "\xC3\xA9t\xC3\xA9";
    ASSERT_TRUE(registry.writeUserString(kTestKeyUtf8, "Long", longValue));
    EXPECT_EQ(registry.readUserString(kTestKeyUtf8, "Long"), longValue);
}

TEST_F(RegistryTest, ValuesOfOtherTypesAndUnterminatedStringsReadSafely) {
    const DWORD number = 5;
    writeRaw(L"Number", REG_DWORD, &number, sizeof(number));
    EXPECT_FALSE(registry.readUserString(kTestKeyUtf8, "Number").has_value());
    // A string stored without its terminating zero, as some programs write them.
    const wchar_t text[] = {L'a', L'b', L'c'};
    writeRaw(L"Raw", REG_SZ, text, sizeof(text));
    EXPECT_EQ(registry.readUserString(kTestKeyUtf8, "Raw"), "abc");
}

TEST_F(RegistryTest, MachineValuesOfTheSystemAreReadable) {
    const auto product = registry.readMachineString(
        "Software\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
    ASSERT_TRUE(product.has_value());
    EXPECT_FALSE(product->empty());
    EXPECT_FALSE(registry.readMachineString("Software\\No Such Key Here", "x").has_value());
}

TEST(UserSettingsOnTheRegistry, FirstStartWritesEveryDefaultUnderTheUsersKey) {
    const wchar_t* key = L"Software\\Zim Software\\Snapdesk\\userSettings";
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    Win32Registry registry;
    const UserSettings settings = loadUserSettings(registry);
    EXPECT_EQ(settings.Update_Setting, "2");
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    wchar_t tabs[16] = {};
    DWORD size = sizeof(tabs);
    DWORD type = 0;
    RegQueryValueExW(opened, L"tabs", nullptr, &type, reinterpret_cast<BYTE*>(tabs), &size);
    RegCloseKey(opened);
    EXPECT_EQ(values, 15u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(tabs, L"2");
    // A second start finds them all and writes nothing new.
    EXPECT_EQ(loadUserSettings(registry).tabs, "2");
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

}  // namespace
}  // namespace snapdesk
