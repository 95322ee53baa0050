// The submenu store, the shared in-place menu and the rich-edit copy.
#include <QNMenus.h>

#include <richedit.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

// A block of global memory that goes back to the system unless the
// clipboard took it.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T bytes) : m_block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {}
    ~GlobalBlock()
    {
        if (m_block)
            ::GlobalFree(m_block);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    // Copies `bytes` bytes in; false when the block cannot be had or locked.
    bool Fill(const void* data, SIZE_T bytes)
    {
        if (!m_block)
            return false;
        void* target = ::GlobalLock(m_block);
        if (!target)
            return false;
        std::memcpy(target, data, bytes);
        ::GlobalUnlock(m_block);
        return true;
    }
    // Hands the block to the clipboard, which owns it once it accepts it.
    void GiveToClipboard(UINT format)
    {
        if (::SetClipboardData(format, m_block))
            m_block = nullptr;
    }

private:
    HGLOBAL m_block;
};

// The clipboard, open for the lifetime of the object (no owner window).
class OpenClipboardScope {
public:
    OpenClipboardScope() : m_open(::OpenClipboard(nullptr) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (m_open)
            ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

void PutUnicodeText(const WCHAR* text, size_t count)
{
    // security: count is at most the control's text length, checked by the caller.
    GlobalBlock block((count + 1) * sizeof(WCHAR));
    if (block.Fill(text, count * sizeof(WCHAR)))
        block.GiveToClipboard(CF_UNICODETEXT);
}

void PutCodePageText(const WCHAR* text, size_t count)
{
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    std::unique_ptr<char[]> converted(new (std::nothrow) char[static_cast<size_t>(bytes)]);
    if (!converted ||
        ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), converted.get(), bytes, nullptr, nullptr) !=
            bytes)
        return;
    GlobalBlock block(static_cast<SIZE_T>(bytes) + 1);
    if (block.Fill(converted.get(), static_cast<SIZE_T>(bytes)))
        block.GiveToClipboard(CF_TEXT);
}

} // namespace

HRESULT CQNUtility::AddSubMenu(CMenu* pMenu)
{
    if (!pMenu)
        return E_FAIL;
    m_SubMenus.Add(pMenu);
    return S_OK;
}

HRESULT CQNUtility::DeleteSubMenus()
{
    for (INT_PTR i = 0; i < m_SubMenus.GetSize(); ++i) {
        CMenu* menu = m_SubMenus[i];
        m_SubMenus[i] = nullptr;
        delete menu;
    }
    m_SubMenus.RemoveAll();
    return S_OK;
}

int CQNUtility::SetSharedMenuFXINPLACE(CMenu* pMenu)
{
    if (!pMenu)
        return 0;
    if (m_SharedMenuFXINPLACE.m_hMenu)
        m_SharedMenuFXINPLACE.DestroyMenu();
    m_SharedMenuFXINPLACE.Attach(pMenu->Detach());
    return 1;
}

HMENU CQNUtility::GetSharedMenuFXINPLACE() { return m_SharedMenuFXINPLACE.m_hMenu; }

int CQNUtility::DeleteSharedMenuFXINPLACE()
{
    if (!m_SharedMenuFXINPLACE.m_hMenu)
        return 1;
    return m_SharedMenuFXINPLACE.DestroyMenu();
}

HRESULT CQNUtility::HandleRichEditCopy(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd))
        return E_INVALIDARG;
    const LRESULT length = ::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0);
    // security: the length comes from another window's answer.
    if (length <= 0 || length >= 0x3FFFFFFF)
        return S_OK;
    std::unique_ptr<WCHAR[]> selection(new (std::nothrow) WCHAR[static_cast<size_t>(length) + 1]());
    if (!selection)
        return S_OK;
    const LRESULT selected = ::SendMessageW(hWnd, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selection.get()));
    // The control writes at most its text; an answer beyond it is not believed.
    if (selected <= 0 || selected > length)
        return S_OK;
    OpenClipboardScope clipboard;
    if (clipboard.IsOpen() && ::EmptyClipboard()) {
        PutUnicodeText(selection.get(), static_cast<size_t>(selected));
        PutCodePageText(selection.get(), static_cast<size_t>(selected));
    }
    return S_OK;
}
