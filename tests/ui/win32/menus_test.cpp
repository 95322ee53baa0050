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
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 100, L"Item"));
    return menu.m_hMenu;
}

TEST(Menus, SubMenuStoreOwnsAndDeletesInOrder)
{
    EXPECT_EQ(CQNUtility::AddSubMenu(nullptr), E_FAIL);
    EXPECT_EQ(CQNUtility::m_SubMenus.GetSize(), 0);
    EXPECT_EQ(CQNUtility::DeleteSubMenus(), S_OK);

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
}

TEST(Menus, SharedInPlaceMenuTakesTheHandleAndDestroysTheOldOne)
{
    EXPECT_EQ(CQNUtility::DeleteSharedMenuFXINPLACE(), 1); // none held
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(nullptr), 0);
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), nullptr);

    CMenu a, b;
    const HMENU ha = NewPopup(a), hb = NewPopup(b);
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(&a), 1);
    EXPECT_EQ(a.m_hMenu, nullptr);
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), ha);
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(&b), 1);
    EXPECT_FALSE(::IsMenu(ha));
    EXPECT_EQ(b.m_hMenu, nullptr);
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), hb);
    EXPECT_EQ(CQNUtility::SetSharedMenuFXINPLACE(nullptr), 0);
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), hb);

    EXPECT_NE(CQNUtility::DeleteSharedMenuFXINPLACE(), 0);
    EXPECT_FALSE(::IsMenu(hb));
    EXPECT_EQ(CQNUtility::GetSharedMenuFXINPLACE(), nullptr);
    EXPECT_EQ(CQNUtility::DeleteSharedMenuFXINPLACE(), 1);
}

// --- Rich-edit copy -----------------------------------------------------------

// The clipboard's data in one format, or "<none>".
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
    } else {
        for (const char c : std::string("<none>"))
            text += static_cast<Char>(c);
    }
    ::CloseClipboard();
    return text;
}

void PutSentinel()
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof L"sentinel");
    std::memcpy(::GlobalLock(block), L"sentinel", sizeof L"sentinel");
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_UNICODETEXT, block);
    ::CloseClipboard();
}

std::string InCodePage(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

struct CopyCase {
    const char* name;
    std::wstring text;
    int selStart, selEnd; // -1, -1: nothing selected at the end
    std::wstring copied;  // "sentinel": the clipboard was not touched
};

const std::wstring kLarge = [] {
    // Paragraphs of 100 characters: the control wraps each paragraph anew on
    // every change, which one paragraph of 1 MB makes quadratic.
    std::wstring s(1 << 20, L'x');
    for (size_t i = 0; i < s.size(); i += 100) {
        s[i] = static_cast<wchar_t>(L'A' + (i / 100) % 26);
        if (i > 0)
            s[i - 1] = L'\r';
    }
    return s;
}();

const CopyCase kCopyCases[] = {
    {"part", L"Hello world", 0, 5, L"Hello"},
    {"all", L"Hello world", 0, -1, L"Hello world"},
    {"no selection", L"Hello world", 3, 3, L"sentinel"},
    {"no text", L"", 0, -1, L"sentinel"},
    {"Japanese", L"\u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8", 0, -1,
     L"\u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8"},
    {"1 MB", kLarge, 0, -1, kLarge},
};

TEST(RichEditCopy, CopiesTheSelectionAsUnicodeAndCodePageText)
{
    ASSERT_NE(::LoadLibraryW(L"riched20.dll"), nullptr);
    for (const CopyCase& c : kCopyCases) {
        SCOPED_TRACE(c.name);
        HWND edit = ::CreateWindowExW(0, L"RichEdit20W", L"", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100, nullptr,
                                      nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        ::SendMessageW(edit, EM_EXLIMITTEXT, 0, 4 << 20);
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text.c_str()));
        ::SendMessageW(edit, EM_SETSEL, c.selStart, c.selEnd);
        PutSentinel();
        EXPECT_EQ(CQNUtility::HandleRichEditCopy(edit), S_OK);
        const std::wstring unicode = ClipboardText<wchar_t>(CF_UNICODETEXT);
        EXPECT_EQ(unicode.size(), c.copied.size());
        EXPECT_TRUE(unicode == c.copied);
        if (c.copied != L"sentinel") {
            EXPECT_TRUE(ClipboardText<char>(CF_TEXT) == InCodePage(c.copied));
        }
        ::DestroyWindow(edit);
        // A handle that names no window any more.
        EXPECT_EQ(CQNUtility::HandleRichEditCopy(edit), E_INVALIDARG);
    }
    EXPECT_EQ(CQNUtility::HandleRichEditCopy(nullptr), E_INVALIDARG);
}

} // namespace
