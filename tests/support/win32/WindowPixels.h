// Test helpers for windows that paint: the pixels of a window's client area as
// shown on the screen, and a resource module put in force for a scope.
#pragma once

#include <afx/afxwin.h>

#include "support/win32/LanguageModules.h"

#include <vector>

// The client area of `window` copied from its DC into a 32-bit DIB. The
// window must be visible and uncovered (tests run one window at a time).
class WindowPixels {
public:
    explicit WindowPixels(HWND window)
    {
        RECT client = {};
        ::GetClientRect(window, &client);
        m_width = client.right;
        m_height = client.bottom;
        m_pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
        if (m_pixels.empty())
            return;
        const HDC windowDC = ::GetDC(window);
        const HDC memoryDC = ::CreateCompatibleDC(windowDC);
        const HBITMAP bitmap = ::CreateCompatibleBitmap(windowDC, m_width, m_height);
        const HGDIOBJ previous = ::SelectObject(memoryDC, bitmap);
        ::BitBlt(memoryDC, 0, 0, m_width, m_height, windowDC, 0, 0, SRCCOPY);
        ::SelectObject(memoryDC, previous);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32}; // 32-bit, top-down
        ::GetDIBits(memoryDC, bitmap, 0, static_cast<UINT>(m_height), m_pixels.data(), &info, DIB_RGB_COLORS);
        for (COLORREF& pixel : m_pixels) // 0x00RRGGBB as read, 0x00BBGGRR as kept
            pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
        ::DeleteObject(bitmap);
        ::DeleteDC(memoryDC);
        ::ReleaseDC(window, windowDC);
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // 0x00BBGGRR; CLR_INVALID outside the area.
    COLORREF At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            return CLR_INVALID;
        return m_pixels[static_cast<size_t>(y) * m_width + x];
    }
    // Pixels of the rectangle [left, right) x [top, bottom) with the colour.
    int Count(const RECT& rect, COLORREF colour) const
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += At(x, y) == colour;
        return count;
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// Loads a resource module from the test program's folder and makes it the
// resource module in force until the end of the scope.
class ResourceModuleInForce {
public:
    explicit ResourceModuleInForce(const wchar_t* fileName)
    {
        m_module = ::LoadLibraryW(qntest::BesideProgram(fileName).c_str());
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    ~ResourceModuleInForce()
    {
        AfxSetResourceHandle(m_previous);
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
    }
    ResourceModuleInForce(const ResourceModuleInForce&) = delete;
    ResourceModuleInForce& operator=(const ResourceModuleInForce&) = delete;

    HMODULE Module() const { return m_module; }

private:
    HMODULE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};
