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
    SECRegistry m_key;
    void SetUp() override { ASSERT_EQ(m_key.Create(HKEY_CURRENT_USER, kScratch, KEY_ALL_ACCESS), S_OK); }
};

bool IsLiveKey(HKEY key)
{
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS;
}

TEST_F(Registry, OwnsItsKeyMovesItAndNeverCreatesOnOpen)
{
    SECRegistry first(std::move(m_key));
    EXPECT_FALSE(m_key.IsOpen());
    const HKEY held = first.GetHandle();
    EXPECT_EQ(first.Open(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\Missing", KEY_READ), kNotFound);
    EXPECT_EQ(first.GetHandle(), held) << "a failed open keeps the key";
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\Missing"));
    EXPECT_EQ(first.Open(nullptr, kScratch, KEY_READ), E_INVALIDARG);

    SECRegistry second;
    ASSERT_EQ(second.Open(HKEY_CURRENT_USER, kScratch, KEY_QUERY_VALUE), S_OK);
    EXPECT_EQ(second.SetString(L"x", L"y"), E_ACCESSDENIED); // the access asked for, no more
    const HKEY replaced = second.GetHandle();
    second = std::move(first);
    EXPECT_EQ(second.GetHandle(), held);
    EXPECT_FALSE(IsLiveKey(replaced)) << "assigning over a key closes it";
    const HKEY detached = second.Detach();
    second.Close(); // holds nothing: no second close
    EXPECT_TRUE(IsLiveKey(detached));
    ::RegCloseKey(detached);
    DWORD disposition = 0;
    ASSERT_EQ(second.Create(HKEY_CURRENT_USER, kScratch, KEY_READ, &disposition), S_OK);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
}

TEST_F(Registry, TextReadsFollowTheCapacity)
{
    const struct {
        DWORD type;
        std::wstring stored; // embedded zeros included
        DWORD bytes;         // bytes written
        DWORD capacity;
        HRESULT expect;
        const wchar_t* text;
    } cases[] = {
        {REG_SZ, {L"abc\0", 4}, 8, 520, S_OK, L"abc"},
        {REG_SZ, {L"abc\0", 4}, 8, 8, S_OK, L"abc"},     // fills the capacity
        {REG_SZ, {L"abc\0", 4}, 8, 6, kMoreData, L""},   // one character too long
        {REG_SZ, {L"abc", 3}, 6, 8, S_OK, L"abc"},       // stored without terminator
        {REG_SZ, {L"abc\0", 4}, 7, 520, S_OK, L"abc"},   // odd byte count
        {REG_SZ, {L"ab\0cd\0", 6}, 12, 520, S_OK, L"ab"}, // ends at the first zero
        {REG_EXPAND_SZ, {L"%TEMP%\0", 7}, 14, 520, S_OK, L"%TEMP%"}, // not expanded
        {REG_MULTI_SZ, {L"a\0b\0\0", 5}, 10, 520, S_OK, L"a"},
        {REG_SZ, {}, 0, 0, S_OK, L""},
        {REG_DWORD, {L"\x0001\0", 2}, 4, 520, kWrongType, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.bytes << " " << c.capacity);
        RegistrySandbox::SetRaw(HKEY_CURRENT_USER, kScratch, L"v", c.type, c.stored.data(), c.bytes);
        CString text(L"old");
        EXPECT_EQ(m_key.QueryString(L"v", text, c.capacity), c.expect);
        EXPECT_STREQ(text, c.text);
        text = L"old";
        EXPECT_EQ(m_key.QueryString(L"v", text), c.expect == kMoreData ? S_OK : c.expect) << "any length";
        EXPECT_STREQ(text, c.expect == kMoreData ? L"abc" : c.text);
    }
    CString text(L"old");
    EXPECT_EQ(m_key.QueryString(L"missing", text, 520), kNotFound);
    EXPECT_STREQ(text, L"");
    RegistrySandbox::SetText(HKEY_CURRENT_USER, kScratch, L"large", std::wstring(20000, L'x'));
    EXPECT_EQ(m_key.QueryString(L"large", text), S_OK);
    EXPECT_EQ(text.GetLength(), 20000);
}

TEST_F(Registry, NumbersWritesAndEnumeration)
{
    DWORD value = 7;
    EXPECT_EQ(m_key.QueryDWORD(L"n", value), kNotFound);
    ASSERT_EQ(m_key.SetDWORD(L"n", 0xDEADBEEF), S_OK);
    ASSERT_EQ(m_key.SetString(L"s", nullptr), S_OK); // the empty text
    const BYTE eight[8] = {};
    RegistrySandbox::SetRaw(HKEY_CURRENT_USER, kScratch, L"b", REG_BINARY, eight, 8);
    EXPECT_EQ(m_key.QueryDWORD(L"s", value), kWrongType);
    EXPECT_EQ(m_key.QueryDWORD(L"b", value), kWrongType);
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(m_key.QueryDWORD(L"n", value), S_OK);
    EXPECT_EQ(value, 0xDEADBEEFu);
    DWORD type = 0, bytes = 0;
    EXPECT_EQ(m_key.QueryValue(L"s", &type, nullptr, &bytes), S_OK);
    EXPECT_EQ(std::make_pair(type, bytes), std::make_pair(DWORD(REG_SZ), DWORD(2)));
    EXPECT_EQ(m_key.QueryValue(L"s", nullptr, &value, nullptr), E_POINTER);

    RegistrySandbox::MakeKey(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\one");
    RegistrySandbox::MakeKey(HKEY_CURRENT_USER, L"Software\\QNTestRegistry\\two");
    std::set<std::wstring> names;
    CString name;
    DWORD index = 0;
    for (; m_key.EnumValue(index, name) == S_OK; ++index)
        names.insert(std::wstring(name));
    EXPECT_EQ(m_key.EnumValue(index, name), kNoMore);
    for (index = 0; m_key.EnumKey(index, name) == S_OK; ++index)
        names.insert(L"key " + std::wstring(name));
    EXPECT_EQ(m_key.EnumKey(index, name), kNoMore);
    EXPECT_EQ(names, (std::set<std::wstring>{L"n", L"s", L"b", L"key one", L"key two"}));

    EXPECT_EQ(m_key.DeleteValue(L"s"), S_OK);
    EXPECT_EQ(m_key.DeleteValue(L"s"), kNotFound);
    EXPECT_EQ(m_key.DeleteSubKey(L"one"), S_OK);
    EXPECT_EQ(m_key.DeleteSubKey(L"one"), kNotFound);
    EXPECT_EQ(m_key.DeleteSubKey(L""), E_INVALIDARG);

    // Without a key every member reports it.
    SECRegistry none;
    CString text(L"old");
    for (const HRESULT hr : {none.QueryString(L"v", text, 8), none.QueryString(L"v", text), none.QueryDWORD(L"v", value),
                             none.QueryValue(L"v", nullptr, nullptr, nullptr), none.SetString(L"v", L""),
                             none.SetDWORD(L"v", 1), none.DeleteValue(L"v"), none.DeleteSubKey(L"v"),
                             none.EnumValue(0, text), none.EnumKey(0, text)})
        EXPECT_EQ(hr, kNoKey);
    EXPECT_STREQ(text, L"");
}

} // namespace
