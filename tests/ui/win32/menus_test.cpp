// The submenu store, the shared in-place menu, and the rich-edit copy with a
// real RichEdit20W control and the real clipboard (under Xvfb).
#include <QNMenus.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

HMENU NewPopup(CMenu& menu)
{
    EXPECT_TRUE(menu.CreatePopupMenu());
    return menu.m_hMenu;
}

TEST(Menus, SubMenuStoreAndSharedInPlaceMenu)
{
    EXPECT_EQ(CQNUtility::AddSubMenu(nullptr), E_FAIL);
    EXPECT_EQ(CQNUtility::m_SubMenus.GetSize(), 0);
    auto* first = new CMenu;
    auto* second = new CMenu;
    const HMENU handles[] = {NewPopup(*first), NewPopup(*second)};
    EXPECT_EQ(CQNUtility::AddSubMenu(first), S_OK);
    CMenu* none = nullptr;
    CQNUtility::m_SubMenus.Add(none); // a null element is passed over
    EXPECT_EQ(CQNUtility::AddSubMenu(second), S_OK);
    ASSERT_EQ(CQNUtility::m_SubMenus.GetSize(), 3);
    EXPECT_EQ(CQNUtility::m_SubMenus[2], second);
    EXPECT_EQ(CQNUtility::DeleteSubMenus(), S_OK);
    EXPECT_EQ(CQNUtility::m_SubMenus.GetSize(), 0);
    for (HMENU h : handles)
        EXPECT_FALSE(::IsMenu(h)); // deleting the objects destroyed their menus
    EXPECT_EQ(CQNUtility::DeleteSubMenus(), S_OK);

    EXPECT_EQ(CQNUtility::DeleteSharedMenuFXINPLACE(), 1); // none held
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(nullptr), 0);
    CMenu a, b;
    const HMENU ha = NewPopup(a), hb = NewPopup(b);
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(&a), 1);
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), ha);
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(&b), 1);
    EXPECT_FALSE(::IsMenu(ha));
    EXPECT_EQ(a.m_hMenu, nullptr);
    EXPECT_EQ(b.m_hMenu, nullptr);
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(nullptr), 0);
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), hb);
    EXPECT_NE(CQNUtility::DeleteSharedMenuFXINPLACE(), 0);
    EXPECT_FALSE(::IsMenu(hb));
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), nullptr);
}

// The clipboard's data in one format (empty when it has none: every expected text has some).
template <class Char> std::basic_string<Char> ClipboardText(UINT format)
{
    std::basic_string<Char> text;
    if (!::OpenClipboard(nullptr))
        return text;
    HANDLE data = ::GetClipboardData(format);
    const auto* chars = data ? static_cast<const Char*>(::GlobalLock(data)) : nullptr;
    if (chars) {
        text = chars;
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

const std::wstring kLarge = [] {
    // Paragraphs of 100 characters: the control wraps each paragraph anew on
    // every change, which one paragraph of 1 MB makes quadratic.
    std::wstring s(1 << 20, L'x');
    for (size_t i = 100; i < s.size(); i += 100)
        s[i - 1] = L'\r';
    return s;
}();

TEST(RichEditCopy, CopiesTheSelectionAsUnicodeAndCodePageText)
{
    ASSERT_NE(::LoadLibraryW(L"riched20.dll"), nullptr);
    const std::wstring japanese = L"\u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8";
    const struct {
        std::wstring text;
        int selStart, selEnd;
        std::wstring copied; // "sentinel": the clipboard was not touched
    } cases[] = {
        {L"Hello world", 0, 5, L"Hello"}, {L"Hello world", 3, 3, L"sentinel"}, {L"", 0, -1, L"sentinel"},
        {japanese, 0, -1, japanese},       {kLarge, 0, -1, kLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copied.size());
        HWND edit = ::CreateWindowExW(0, L"RichEdit20W", L"", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100, nullptr,
                                      nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        ::SendMessageW(edit, EM_EXLIMITTEXT, 0, 4 << 20);
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text.c_str()));
        ::SendMessageW(edit, EM_SETSEL, c.selStart, c.selEnd);
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof L"sentinel");
        std::memcpy(::GlobalLock(block), L"sentinel", sizeof L"sentinel");
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_UNICODETEXT, block);
        ::CloseClipboard();

        EXPECT_EQ(CQNUtility::HandleRichEditCopy(edit), S_OK);
        EXPECT_TRUE(ClipboardText<wchar_t>(CF_UNICODETEXT) == c.copied);
        if (c.copied != L"sentinel") {
            const int n = ::WideCharToMultiByte(CP_ACP, 0, c.copied.data(), int(c.copied.size()), nullptr, 0, nullptr,
                                                nullptr);
            std::string bytes(size_t(n), '\0');
            ::WideCharToMultiByte(CP_ACP, 0, c.copied.data(), int(c.copied.size()), bytes.data(), n, nullptr, nullptr);
            EXPECT_TRUE(ClipboardText<char>(CF_TEXT) == bytes);
        }
        ::DestroyWindow(edit);
        EXPECT_EQ(CQNUtility::HandleRichEditCopy(edit), E_INVALIDARG); // names no window any more
    }
    EXPECT_EQ(CQNUtility::HandleRichEditCopy(nullptr), E_INVALIDARG);
}

} // namespace
