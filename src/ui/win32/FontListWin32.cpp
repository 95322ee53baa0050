// The font catalogue over the platform's font enumeration, and the height
// conversions at the screen's resolution.
#include "ui/FontCatalogue.h"

#include <exception>

namespace {

// A device context of the screen, released with the owner.
class ScreenDC {
public:
    ScreenDC() : m_dc(::GetDC(nullptr)) {}
    ~ScreenDC()
    {
        if (m_dc)
            ::ReleaseDC(nullptr, m_dc);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

int ScreenPixelsPerInchY()
{
    ScreenDC dc;
    return dc.Get() ? ::GetDeviceCaps(dc.Get(), LOGPIXELSY) : 0;
}

struct Building {
    CHMIFontList* list;
    std::exception_ptr failure; // a memory exception, raised again after the enumeration
};

// Every enumerated (face, character set, script) reaches here; the
// enumeration is stopped only when memory runs out (an exception must not
// travel through the platform's frames).
int CALLBACK AddEnumeratedFont(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD, LPARAM context)
{
    auto* building = reinterpret_cast<Building*>(context);
    const auto* font = reinterpret_cast<const ENUMLOGFONTEXW*>(logFont);
    const unsigned charset = font->elfLogFont.lfCharSet;
    if (!qn::ui::IsCatalogueFont(font->elfFullName, charset))
        return 1;
    try {
        CHMIFont record(font->elfLogFont.lfFaceName, static_cast<unsigned char>(charset), font->elfScript, L"");
        qn::ui::InsertSorted(*building->list, record);
    } catch (...) {
        building->failure = std::current_exception();
        return 0;
    }
    return 1;
}

} // namespace

HRESULT CQNUtility::LoadFontList()
{
    if (m_pFontList)
        return S_FALSE;
    m_pFontList = new CHMIFontList(10);
    // The library has no window of its own: the screen's context enumerates
    // the fonts of the display the host's windows are on.
    ScreenDC dc;
    LOGFONTW every = {};
    every.lfCharSet = DEFAULT_CHARSET;
    every.lfPitchAndFamily = 0;
    Building building{m_pFontList, nullptr};
    if (dc.Get())
        ::EnumFontFamiliesExW(dc.Get(), &every, &AddEnumeratedFont, reinterpret_cast<LPARAM>(&building), 0);
    if (building.failure) {
        // No half-built catalogue: the next use builds it again.
        DeleteFontList();
        std::rethrow_exception(building.failure);
    }
    return S_OK;
}

CList<CHMIFont, CHMIFont&>* CQNUtility::GetFontList()
{
    if (!m_pFontList)
        LoadFontList();
    return m_pFontList;
}

long CQNUtility::PixelToPoint(long lPixels)
{
    return -qn::ui::MulDivRounded(lPixels, 72, ScreenPixelsPerInchY());
}

long CQNUtility::PointToPixel(long lPoints)
{
    return -qn::ui::MulDivRounded(lPoints, ScreenPixelsPerInchY(), 72);
}
