// qnutil: windows saved as PNG files.
#include "Screenshot.h"

#include <afx/afxwin.h>
#include <afx/atlbase.h>

#include <wincodec.h>

#include <vector>

namespace qnutil {

bool SaveWindowPng(HWND window, const std::wstring& path)
{
    // The client area: under a display without a window manager the frame
    // is not drawn, so a picture of the whole window shows a black caption.
    RECT rect = {};
    ::GetClientRect(window, &rect);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    std::vector<BYTE> pixels(size_t(width) * size_t(height) * 4);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    {
        CClientDC screen(nullptr);
        CDC memory;
        CBitmap bitmap;
        if (!memory.CreateCompatibleDC(&screen) || !bitmap.CreateCompatibleBitmap(&screen, width, height))
            return false;
        CBitmap* previous = memory.SelectObject(&bitmap);
        memory.BitBlt(0, 0, width, height, &screen, rect.left, rect.top, SRCCOPY);
        memory.SelectObject(previous);
        ::GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    }
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 0xFF; // the screen leaves alpha at 0

    CComPtr<IWICImagingFactory> factory;
    CComPtr<IWICBitmap> source;
    CComPtr<IWICStream> stream;
    CComPtr<IWICBitmapEncoder> encoder;
    CComPtr<IWICBitmapFrameEncode> frame;
    CComPtr<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const UINT stride = UINT(width) * 4;
    return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                        reinterpret_cast<void**>(&factory))) &&
           SUCCEEDED(factory->CreateBitmapFromMemory(UINT(width), UINT(height), format, stride,
                                                     static_cast<UINT>(pixels.size()), pixels.data(), &source)) &&
           SUCCEEDED(factory->CreateStream(&stream)) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
           SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options)) &&
           SUCCEEDED(frame->SetSize(UINT(width), UINT(height))) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WriteSource(source, nullptr)) && SUCCEEDED(frame->Commit()) &&
           SUCCEEDED(encoder->Commit());
}

} // namespace qnutil
