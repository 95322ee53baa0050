// Test helpers for windows that paint: the pixels of a window's client area as
// shown on the screen, and a resource module put in force for a scope.
#pragma once

#include <afx/afxwin.h>

#include <string>
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
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        const HDC windowDC = ::GetDC(window);
        const HDC memoryDC = ::CreateCompatibleDC(windowDC);
        void* bits = nullptr;
        const HBITMAP bitmap = ::CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previous = ::SelectObject(memoryDC, bitmap);
        ::BitBlt(memoryDC, 0, 0, m_width, m_height, windowDC, 0, 0, SRCCOPY);
        ::GdiFlush();
        const auto* bgra = static_cast<const DWORD*>(bits);
        for (size_t i = 0; i < m_pixels.size(); ++i)
            m_pixels[i] = RGB((bgra[i] >> 16) & 0xFF, (bgra[i] >> 8) & 0xFF, bgra[i] & 0xFF);
        ::SelectObject(memoryDC, previous);
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
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring full(path);
        full = full.substr(0, full.find_last_of(L'\\') + 1) + fileName;
        m_module = ::LoadLibraryW(full.c_str());
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
