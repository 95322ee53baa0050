// SECRegistry: ownership, opening without creating, the capacity rules of text
// reads, typed reads and writes, enumeration, and the result codes.
#include <QNRegistry.h>

#include "support/win32/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const wchar_t kScratch[] = L"Software\\QNTestRegistry";

const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
const HRESULT kMoreData = HRESULT_FROM_WIN32(ERROR_MORE_DATA);
const HRESULT kWrongType = HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE);
const HRESULT kNoKey = HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
const HRESULT kNoMore = HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS);

class Registry : public ::testing::Test {
protected:
    RegistrySandbox m_sandbox{HKEY_CURRENT_USER, kScratch};

    void SetUp() override { RegistrySandbox::MakeKey(HKEY_CURRENT_USER, kScratch); }
    void Set(const wchar_t* name, DWORD type, const std::wstring& chars, DWORD bytes)
    {
        RegistrySandbox::SetRaw(HKEY_CURRENT_USER, kScratch, name, type, chars.data(), bytes);
    }
    static bool IsLiveKey(HKEY key) { return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; }
};

TEST_F(Registry, OwnsItsKeyAndMovesIt)
{
    SECRegistry first;
    EXPECT_FALSE(first.IsOpen());
    ASSERT_EQ(first.Open(HKEY_CURRENT_USER, kScratch, KEY_READ), S_OK);
    const HKEY handle = first.GetHandle();

    SECRegistry second(std::move(first));
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(second.GetHandle(), handle);

    SECRegistry third;
    ASSERT_EQ(third.Open(HKEY_CURRENT_USER, kScratch, KEY_READ), S_OK);
    const HKEY replaced = third.GetHandle();
    third = std::move(second);
    EXPECT_EQ(third.GetHandle(), handle);
    EXPECT_FALSE(IsLiveKey(replaced)) << "assigning over a key closes it";

    const HKEY detached = third.Detach();
    third.Close(); // holds nothing: no second close
    EXPECT_TRUE(IsLiveKey(detached));
    ::RegCloseKey(detached);
}

TEST_F(Registry, OpenNeverCreatesAndKeepsTheKeyOnFailure)
{
    SECRegistry key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kScratch, KEY_READ), S_OK);
    const HKEY held = key.GetHandle();
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\Missing", KEY_READ), kNotFound);
    EXPECT_EQ(key.GetHandle(), held);
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\Missing"));
    EXPECT_EQ(key.Open(nullptr, kScratch, KEY_READ), E_INVALIDARG);

    DWORD disposition = 0;
    SECRegistry made;
    ASSERT_EQ(made.Create(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\Made", KEY_READ, &disposition), S_OK);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
    ASSERT_EQ(made.Create(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\Made", KEY_READ, &disposition), S_OK);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
}

TEST_F(Registry, TheAccessMaskIsTheOneAskedFor)
{
    SECRegistry key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kScratch, KEY_QUERY_VALUE), S_OK);
    EXPECT_EQ(key.SetString(L"x", L"y"), E_ACCESSDENIED);
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kScratch, KEY_SET_VALUE), S_OK);
    EXPECT_EQ(key.SetString(L"x", L"y"), S_OK);
}

struct TextCase {
    const char* label;
    DWORD type;
    std::wstring stored; // characters written, embedded zeros included
    DWORD bytes;         // bytes written
    DWORD capacity;
    HRESULT expect;
    const wchar_t* text;
};

TEST_F(Registry, TextReadsFollowTheCapacity)
{
    const std::wstring abc(L"abc\0", 4);
    const TextCase cases[] = {
        {"fits", REG_SZ, abc, 8, 520, S_OK, L"abc"},
        {"fills the capacity with its terminator", REG_SZ, abc, 8, 8, S_OK, L"abc"},
        {"one character too long", REG_SZ, abc, 8, 6, kMoreData, L""},
        {"stored without terminator", REG_SZ, abc, 6, 8, S_OK, L"abc"},
        {"odd byte count: the half character is dropped", REG_SZ, abc, 7, 520, S_OK, L"abc"},
        {"text ends at the first zero", REG_SZ, std::wstring(L"ab\0cd\0", 6), 12, 520, S_OK, L"ab"},
        {"expandable text is not expanded", REG_EXPAND_SZ, std::wstring(L"%TEMP%\0", 7), 14, 520, S_OK, L"%TEMP%"},
        {"multi-string: the first string", REG_MULTI_SZ, std::wstring(L"a\0b\0\0", 5), 10, 520, S_OK, L"a"},
        {"empty value, no capacity", REG_SZ, std::wstring(), 0, 0, S_OK, L""},
        {"a number is no text", REG_DWORD, std::wstring(L"\x0001\0", 2), 4, 520, kWrongType, L""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.label);
        Set(L"v", c.type, c.stored, c.bytes);
        SECRegistry key;
        ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kScratch, KEY_READ), S_OK);
        CString text(L"old");
        EXPECT_EQ(key.QueryString(L"v", text, c.capacity), c.expect);
        EXPECT_STREQ(text, c.text);
        if (c.expect != kMoreData) { // the unlimited form reads the same
            text = L"old";
            EXPECT_EQ(key.QueryString(L"v", text), c.expect);
            EXPECT_STREQ(text, c.text);
        }
    }
    SECRegistry key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kScratch, KEY_READ), S_OK);
    CString text(L"old");
    EXPECT_EQ(key.QueryString(L"missing", text, 520), kNotFound);
    EXPECT_STREQ(text, L"");

    const std::wstring large(20000, L'x');
    RegistrySandbox::SetText(HKEY_CURRENT_USER, kScratch, L"large", large);
    EXPECT_EQ(key.QueryString(L"large", text), S_OK);
    EXPECT_EQ(text.GetLength(), 20000);
}

TEST_F(Registry, NumbersAndWrites)
{
    SECRegistry key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kScratch, KEY_READ | KEY_SET_VALUE), S_OK);
    DWORD value = 7;
    EXPECT_EQ(key.QueryDWORD(L"n", value), kNotFound);
    ASSERT_EQ(key.SetDWORD(L"n", 0xDEADBEEF), S_OK);
    EXPECT_EQ(key.QueryDWORD(L"n", value), S_OK);
    EXPECT_EQ(value, 0xDEADBEEFu);

    ASSERT_EQ(key.SetString(L"s", nullptr), S_OK); // null stores the empty text
    value = 7;
    EXPECT_EQ(key.QueryDWORD(L"s", value), kWrongType);
    const BYTE eight[8] = {};
    RegistrySandbox::SetRaw(HKEY_CURRENT_USER, kScratch, L"b", REG_BINARY, eight, 8);
    EXPECT_EQ(key.QueryDWORD(L"b", value), kWrongType);
    EXPECT_EQ(value, 7u);

    DWORD type = 0, bytes = 0;
    EXPECT_EQ(key.QueryValue(L"s", &type, nullptr, &bytes), S_OK);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(bytes, 2u); // the terminator
    EXPECT_EQ(key.QueryValue(L"s", nullptr, &value, nullptr), E_POINTER);

    EXPECT_EQ(key.DeleteValue(L"s"), S_OK);
    EXPECT_EQ(key.DeleteValue(L"s"), kNotFound);
    EXPECT_EQ(key.DeleteSubKey(L""), E_INVALIDARG);
}

TEST_F(Registry, EnumeratesValuesAndSubkeys)
{
    for (const wchar_t* name : {L"alpha", L"beta", L"gamma"})
        RegistrySandbox::SetText(HKEY_CURRENT_USER, kScratch, name, name);
    RegistrySandbox::MakeKey(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\one");
    RegistrySandbox::MakeKey(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\two");

    SECRegistry key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kScratch, KEY_READ), S_OK);
    std::set<std::wstring> values, keys;
    CString name;
    DWORD type = 0, index = 0;
    for (; key.EnumValue(index, name, &type) == S_OK; ++index) {
        values.insert(static_cast<LPCWSTR>(name));
        EXPECT_EQ(type, DWORD(REG_SZ));
    }
    EXPECT_EQ(key.EnumValue(index, name), kNoMore);
    for (index = 0; key.EnumKey(index, name) == S_OK; ++index)
        keys.insert(static_cast<LPCWSTR>(name));
    EXPECT_EQ(key.EnumKey(index, name), kNoMore);
    EXPECT_EQ(values, (std::set<std::wstring>{L"alpha", L"beta", L"gamma"}));
    EXPECT_EQ(keys, (std::set<std::wstring>{L"one", L"two"}));

    EXPECT_EQ(key.DeleteSubKey(L"one"), S_OK);
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\one"));
}

TEST(RegistryWithoutKey, EveryMemberReportsTheMissingKey)
{
    SECRegistry key;
    CString text(L"old");
    DWORD value = 0;
    EXPECT_EQ(key.QueryString(L"v", text, 8), kNoKey);
    EXPECT_STREQ(text, L"");
    EXPECT_EQ(key.QueryString(L"v", text), kNoKey);
    EXPECT_EQ(key.QueryDWORD(L"v", value), kNoKey);
    EXPECT_EQ(key.QueryValue(L"v", nullptr, nullptr, nullptr), kNoKey);
    EXPECT_EQ(key.SetString(L"v", L""), kNoKey);
    EXPECT_EQ(key.SetDWORD(L"v", 1), kNoKey);
    EXPECT_EQ(key.DeleteValue(L"v"), kNoKey);
    EXPECT_EQ(key.DeleteSubKey(L"v"), kNoKey);
    EXPECT_EQ(key.EnumValue(0, text), kNoKey);
    EXPECT_EQ(key.EnumKey(0, text), kNoKey);
}

} // namespace
