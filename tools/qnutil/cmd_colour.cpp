// qnutil commands of the colour subsystem:
//   colour   one colour as each target mode shows and encodes it, with its HLS
//            values and name;
//   preview  an image converted pixel by pixel to what a panel of one mode shows.
#include "Command.h"

#include <QNUtility.h>
#include <afx/atlbase.h>

#include <wincodec.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

namespace {

using qnutil::Fail;
using qnutil::Out;

// What each target mode is, in the order of the mode numbers.
const wchar_t* const kModeDisplays[13] = {
    L"64 colours",    L"256 colours",    L"monochrome",    L"full colour",    L"16384 colours",
    L"4096 colours",  L"16 grey levels", L"65536 colours", L"monochrome",     L"16 grey levels",
    L"no reduction",  L"8 grey levels",  L"8 grey levels",
};
constexpr int kModeCount = 13;

// A mode number 0 to 12.
std::optional<int> ParseMode(const std::wstring& text)
{
    if (text.size() > 2)
        return std::nullopt;
    return qnutil::DecimalIn(text, 0, kModeCount - 1);
}

bool IsHexText(const std::wstring& text)
{
    for (wchar_t ch : text) {
        const bool hex = (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
        if (!hex)
            return false;
    }
    return !text.empty();
}

// RRGGBB or #RRGGBB (red first), 0xVALUE (the colour value itself, 0x00BBGGRR
// with its attribute and transparent bits) or a colour name.
std::optional<ULONG> ParseColour(const std::wstring& text)
{
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        const std::wstring digits = text.substr(2);
        if (digits.size() > 8 || !IsHexText(digits))
            return std::nullopt;
        return static_cast<ULONG>(std::wcstoul(digits.c_str(), nullptr, 16));
    }
    const std::wstring rgb = !text.empty() && text[0] == L'#' ? text.substr(1) : text;
    if (rgb.size() == 6 && IsHexText(rgb)) {
        CColor colour;
        if (!colour.SetString(rgb.c_str()))
            return std::nullopt;
        return static_cast<ULONG>(colour);
    }
    CString name(text.c_str());
    const ULONG value = CColor::GetColorrefFromName(name);
    if (value == 0xFFFFFFFF)
        return std::nullopt;
    return value;
}

// RRGGBB for a plain colour; the whole value when it has flag or attribute bits.
std::wstring ShowColour(ULONG value)
{
    if (value >> 24)
        return L"0x" + qnutil::Hex(value, 8);
    return std::wstring(static_cast<LPCWSTR>(CColor(value).GetString()));
}

std::wstring Format(const wchar_t* format, ...)
{
    wchar_t buffer[256];
    va_list args;
    va_start(args, format);
    std::vswprintf(buffer, 256, format, args);
    va_end(args);
    return buffer;
}

int RunColour(std::span<const std::wstring> args)
{
    std::optional<int> onlyMode;
    std::optional<std::wstring> colourText;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--mode") {
            if (i + 1 >= args.size())
                return qnutil::Usage(L"colour");
            onlyMode = ParseMode(args[++i]);
            if (!onlyMode)
                return Fail(L"colour", L"mode '" + args[i] + L"' is not one of 0 to 12");
        } else if (!colourText) {
            colourText = args[i];
        } else {
            return qnutil::Usage(L"colour");
        }
    }
    if (!colourText)
        return qnutil::Usage(L"colour");
    const std::optional<ULONG> value = ParseColour(*colourText);
    if (!value)
        return Fail(L"colour", L"'" + *colourText + L"' is neither RRGGBB, 0xVALUE nor a colour name");

    const CColor colour(*value);
    std::wstring text;
    text += L"colour      0x" + qnutil::Hex(*value, 8) + L"  RGB " + std::wstring(colour.GetString()) + L"  name " +
            std::wstring(colour.GetName()) + L"\n";
    if (*value & 0x08000000)
        text += L"            transparent: every reduction passes it through unchanged\n";
    text += Format(L"HLS         hue %.2f  luminance %.4f  saturation %.4f\n\n", colour.GetHue(),
                   colour.GetLuminance(), colour.GetSaturation());
    text += L"mode  display          depth  shown     packed\n";
    for (int mode = 0; mode < kModeCount; ++mode) {
        if (onlyMode && mode != *onlyMode)
            continue;
        const ULONG shown = GetConvertedTargetColor(mode, *value);
        const ULONG packed = GetIFileColor(mode, *value);
        text += Format(L"%4d  %-15ls  %5d  %-8ls  0x%08lX\n", mode, kModeDisplays[mode],
                       KESTCOLOR::GetTargetColorDepth(mode), ShowColour(shown).c_str(), packed);
    }
    Out(text);
    return 0;
}

// --- preview ---------------------------------------------------------------------

// Initialises COM for the command and undoes it at the end.
std::wstring HrText(HRESULT hr) { return L"0x" + qnutil::Hex(static_cast<ULONG>(hr), 8); }

// The WIC container for an output name: .png or .bmp.
std::optional<GUID> ContainerFor(const std::wstring& path)
{
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos)
        return std::nullopt;
    std::wstring extension = path.substr(dot + 1);
    for (wchar_t& ch : extension)
        ch = ch >= L'A' && ch <= L'Z' ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
    if (extension == L"png")
        return GUID_ContainerFormatPng;
    if (extension == L"bmp")
        return GUID_ContainerFormatBmp;
    return std::nullopt;
}

// Larger images are refused rather than allocated: 16384 x 16384 pixels.
constexpr uint64_t kMaxPixels = 16384ull * 16384ull;

int RunPreview(std::span<const std::wstring> args)
{
    if (args.size() != 4 || args[0] != L"--mode")
        return qnutil::Usage(L"preview");
    const std::optional<int> mode = ParseMode(args[1]);
    if (!mode)
        return Fail(L"preview", L"mode '" + args[1] + L"' is not one of 0 to 12");
    const std::wstring& input = args[2];
    const std::wstring& output = args[3];
    const std::optional<GUID> container = ContainerFor(output);
    if (!container)
        return Fail(L"preview", output + L": the output must be a .png or .bmp file");

    qnutil::ComScope com;
    if (FAILED(com.hr))
        return Fail(L"preview", L"COM cannot start: " + HrText(com.hr));
    CComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&factory));
    if (FAILED(hr))
        return Fail(L"preview", L"the Windows Imaging Component is not available: " + HrText(hr));

    // Read the first frame as 32-bit BGRA.
    CComPtr<IWICBitmapDecoder> decoder;
    hr = factory->CreateDecoderFromFilename(input.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                            &decoder);
    if (FAILED(hr))
        return Fail(L"preview", input + L": not a readable image (" + HrText(hr) + L")");
    CComPtr<IWICBitmapFrameDecode> frame;
    CComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(hr = decoder->GetFrame(0, &frame)) ||
        FAILED(hr = factory->CreateFormatConverter(&converter)) ||
        FAILED(hr = converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                          nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(hr = converter->GetSize(&width, &height)))
        return Fail(L"preview", input + L": cannot decode the image (" + HrText(hr) + L")");
    // security: the size comes from the file.
    if (width == 0 || height == 0 || uint64_t(width) * height > kMaxPixels)
        return Fail(L"preview", input + L": image size " + std::to_wstring(width) + L" x " +
                                    std::to_wstring(height) + L" is out of range");
    const UINT stride = width * 4;
    std::vector<BYTE> pixels(size_t(stride) * height);
    if (FAILED(hr = converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data())))
        return Fail(L"preview", input + L": cannot read the pixels (" + HrText(hr) + L")");

    // Each pixel as the panel shows it, a run of pixels at a time through the
    // bulk conversion; alpha stays.
    constexpr size_t kRun = 4096;
    ULONG colours[kRun];
    for (size_t first = 0; first < pixels.size(); first += 4 * kRun) {
        BYTE* run = pixels.data() + first;
        const size_t count = std::min(kRun, (pixels.size() - first) / 4);
        for (size_t i = 0; i < count; ++i)
            colours[i] = ULONG(run[4 * i + 2]) | ULONG(run[4 * i + 1]) << 8 | ULONG(run[4 * i]) << 16;
        GetConvertedTargetColors(*mode, colours, colours, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) {
            run[4 * i] = static_cast<BYTE>(colours[i] >> 16);
            run[4 * i + 1] = static_cast<BYTE>(colours[i] >> 8);
            run[4 * i + 2] = static_cast<BYTE>(colours[i]);
        }
    }

    CComPtr<IWICBitmap> bitmap;
    CComPtr<IWICStream> stream;
    CComPtr<IWICBitmapEncoder> encoder;
    CComPtr<IWICBitmapFrameEncode> target;
    CComPtr<IPropertyBag2> options;
    if (FAILED(hr = factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, stride,
                                                    static_cast<UINT>(pixels.size()), pixels.data(),
                                                    &bitmap)) ||
        FAILED(hr = factory->CreateStream(&stream)))
        return Fail(L"preview", L"cannot prepare the output (" + HrText(hr) + L")");
    if (FAILED(hr = stream->InitializeFromFilename(output.c_str(), GENERIC_WRITE)))
        return Fail(L"preview", output + L": cannot create the file (" + HrText(hr) + L")");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(hr = factory->CreateEncoder(*container, nullptr, &encoder)) ||
        FAILED(hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(hr = encoder->CreateNewFrame(&target, &options)) ||
        FAILED(hr = target->Initialize(options.p)) || FAILED(hr = target->SetSize(width, height)) ||
        FAILED(hr = target->SetPixelFormat(&format)) || FAILED(hr = target->WriteSource(bitmap.p, nullptr)) ||
        FAILED(hr = target->Commit()) || FAILED(hr = encoder->Commit()))
        return Fail(L"preview", output + L": cannot write the image (" + HrText(hr) + L")");
    Out(output + L": " + std::to_wstring(width) + L" x " + std::to_wstring(height) + L" as mode " +
        std::to_wstring(*mode) + L" (" + kModeDisplays[*mode] + L") shows it\n");
    return 0;
}

const qnutil::Registration colour{L"colour", L"RRGGBB|0xVALUE|NAME [--mode N]",
                                  L"a colour in each target mode: depth, shown colour, packed code; HLS and name",
                                  RunColour};
const qnutil::Registration preview{L"preview", L"--mode N IN OUT",
                                   L"an image (PNG or BMP) as a panel of target mode N shows it", RunPreview};

} // namespace
