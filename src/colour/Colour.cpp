// CColor: a colour with lazily converted RGB and HLS views, its hexadecimal
// text and the table of named colours.
#include <QNColour.h>

#include "common/AsciiText.h"

#include <cstddef>

namespace {

constexpr ULONG kChannelMask = 0x00FFFFFF;
constexpr ULONG kNoSuchColor = 0xFFFFFFFF;

// The single-precision factors the conversions use: 1/510 and 1/60.
constexpr float kHalfOf255th = 0.0019607844f;
constexpr float kSixtieth = 0.016666668f;

unsigned Red(ULONG color) { return color & 0xFF; }
unsigned Green(ULONG color) { return (color >> 8) & 0xFF; }
unsigned Blue(ULONG color) { return (color >> 16) & 0xFF; }

// v x 255 truncated toward zero. In range (v in 0..1) that is the channel;
// values that HLS components outside their ranges produce are held to 0..255
// (and NaN gives 0) rather than wrapped.
unsigned char ChannelFromUnit(float v)
{
    const float scaled = v * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    if (scaled >= 255.0f)
        return 255;
    return static_cast<unsigned char>(scaled);
}


// One "%2x" field: white space skipped, then at most two characters, an
// optional sign (counted in the width, as the C runtime counts it) and
// hexadecimal digits. False when no digit was read. A "0x" prefix is not
// special: "0x" reads as the field 0 followed by the text "x".
bool ScanHexField(LPCWSTR& text, unsigned& value)
{
    while (qn::ascii::IsCSpace(*text))
        ++text;
    int width = 2;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
        --width;
    }
    unsigned result = 0;
    int digits = 0;
    for (; width > 0; --width, ++text, ++digits) {
        const int digit = qn::ascii::HexDigitValue(*text);
        if (digit < 0)
            break;
        result = result * 16 + static_cast<unsigned>(digit);
    }
    if (digits == 0)
        return false;
    value = negative ? 0u - result : result;
    return true;
}

// Equal texts when the letters A-Z are taken as a-z (and nothing else is folded).
bool EqualIgnoringAsciiCase(LPCWSTR text, int length, LPCWSTR lowerName)
{
    for (int i = 0; i < length; ++i, ++lowerName) {
        const WCHAR ch = qn::ascii::ToLower(text[i]);
        if (*lowerName == 0 || ch != *lowerName)
            return false;
    }
    return *lowerName == 0;
}

} // namespace

// The layout hosts compile against: colour word, hue, saturation, luminance and
// the two one-byte flags, the same in 32-bit and 64-bit builds (the fields are
// private, so their offsets are pinned in the constructor).
static_assert(sizeof(CColor) == 20, "CColor layout");

// ---------------------------------------------------------------------------
// Construction

// The HLS view starts stale; its fields are zeroed only so that copying a fresh
// object never reads indeterminate values.
CColor::CColor(ULONG color)
    : m_color(color), m_fHue(0.0f), m_fSaturation(0.0f), m_fLuminance(0.0f), m_bIsRGBValid(true),
      m_bIsHLSValid(false)
{
    static_assert(offsetof(CColor, m_color) == 0 && offsetof(CColor, m_fHue) == 4 &&
                      offsetof(CColor, m_fSaturation) == 8 && offsetof(CColor, m_fLuminance) == 12 &&
                      offsetof(CColor, m_bIsRGBValid) == 16 && offsetof(CColor, m_bIsHLSValid) == 17,
                  "CColor field offsets");
}

CColor& CColor::operator=(const CColor& color)
{
    m_color = color.m_color;
    m_fHue = color.m_fHue;
    m_fSaturation = color.m_fSaturation;
    m_fLuminance = color.m_fLuminance;
    m_bIsRGBValid = color.m_bIsRGBValid;
    m_bIsHLSValid = color.m_bIsHLSValid;
    return *this;
}

CColor::operator ULONG() const
{
    ToRGB();
    return m_color;
}

// ---------------------------------------------------------------------------
// RGB view

int CColor::GetRed() const
{
    ToRGB();
    return static_cast<int>(Red(m_color));
}

int CColor::GetGreen() const
{
    ToRGB();
    return static_cast<int>(Green(m_color));
}

int CColor::GetBlue() const
{
    ToRGB();
    return static_cast<int>(Blue(m_color));
}

void CColor::SetRed(int red)
{
    ToRGB();
    m_color = (m_color & ~ULONG(0x0000FF)) | (static_cast<ULONG>(red) & 0xFF);
    m_bIsHLSValid = false;
}

void CColor::SetGreen(int green)
{
    ToRGB();
    m_color = (m_color & ~ULONG(0x00FF00)) | (static_cast<ULONG>(green) & 0xFF) << 8;
    m_bIsHLSValid = false;
}

void CColor::SetBlue(int blue)
{
    ToRGB();
    m_color = (m_color & ~ULONG(0xFF0000)) | (static_cast<ULONG>(blue) & 0xFF) << 16;
    m_bIsHLSValid = false;
}

void CColor::SetRGB(int red, int green, int blue)
{
    m_color = (m_color & ~kChannelMask) | (static_cast<ULONG>(red) & 0xFF) |
              (static_cast<ULONG>(green) & 0xFF) << 8 | (static_cast<ULONG>(blue) & 0xFF) << 16;
    m_bIsRGBValid = true;
    m_bIsHLSValid = false;
}

// ---------------------------------------------------------------------------
// HLS view

float CColor::GetHue() const
{
    ToHLS();
    return m_fHue;
}

float CColor::GetSaturation() const
{
    ToHLS();
    return m_fSaturation;
}

float CColor::GetLuminance() const
{
    ToHLS();
    return m_fLuminance;
}

void CColor::SetHue(float hue)
{
    ToHLS();
    m_fHue = hue;
    m_bIsRGBValid = false;
}

void CColor::SetSaturation(float saturation)
{
    ToHLS();
    m_fSaturation = saturation;
    m_bIsRGBValid = false;
}

void CColor::SetLuminance(float luminance)
{
    ToHLS();
    m_fLuminance = luminance;
    m_bIsRGBValid = false;
}

void CColor::SetHLS(float hue, float luminance, float saturation)
{
    m_fHue = hue;
    m_fLuminance = luminance;
    m_fSaturation = saturation;
    m_bIsHLSValid = true;
    m_bIsRGBValid = false;
}

// ---------------------------------------------------------------------------
// Conversions (single precision throughout, as the stored HLS values are)

void CColor::ToHLS() const
{
    if (m_bIsHLSValid)
        return;
    const int r = static_cast<int>(Red(m_color));
    const int g = static_cast<int>(Green(m_color));
    const int b = static_cast<int>(Blue(m_color));
    const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);

    m_fLuminance = static_cast<float>(mx + mn) * kHalfOf255th;
    if (mx == mn) {
        m_fSaturation = 0.0f;
        m_fHue = 0.0f;
        m_bIsHLSValid = true;
        return;
    }
    const float d = static_cast<float>(mx - mn);
    const float rc = static_cast<float>(mx - r) / d;
    const float gc = static_cast<float>(mx - g) / d;
    const float bc = static_cast<float>(mx - b) / d;
    m_fSaturation = mx + mn <= 255 ? d / static_cast<float>(mx + mn) : d / static_cast<float>(510 - mx - mn);

    // Each test overrides the one before: yellow (r = g = max) gets the green
    // formula's 60, not the red formula's 420.
    float hue = 0.0f;
    if (r == mx)
        hue = (bc + 6.0f - gc) * 60.0f;
    if (g == mx)
        hue = (rc + 2.0f - bc) * 60.0f;
    if (b == mx)
        hue = (gc + 4.0f - rc) * 60.0f;
    // Only values above 360 wrap: pure red keeps the hue 360.
    if (hue > 360.0f)
        hue -= 360.0f;
    m_fHue = hue;
    m_bIsHLSValid = true;
}

void CColor::ToRGB() const
{
    if (m_bIsRGBValid)
        return;
    unsigned red, green, blue;
    if (m_fSaturation == 0.0f) {
        red = green = blue = ChannelFromUnit(m_fLuminance);
    } else {
        const float m2 = m_fLuminance <= 0.5f ? m_fLuminance * (1.0f + m_fSaturation)
                                              : m_fLuminance + m_fSaturation - m_fLuminance * m_fSaturation;
        const float m1 = 2.0f * m_fLuminance - m2;
        red = ToRGB1(m1, m2, m_fHue + 120.0f);
        green = ToRGB1(m1, m2, m_fHue);
        blue = ToRGB1(m1, m2, m_fHue - 120.0f);
    }
    m_color = (m_color & ~kChannelMask) | red | green << 8 | blue << 16;
    m_bIsRGBValid = true;
}

unsigned char CColor::ToRGB1(float m1, float m2, float hue)
{
    // One turn at most: hues beyond -360..720 are not brought back further.
    if (hue > 360.0f)
        hue -= 360.0f;
    else if (hue < 0.0f)
        hue += 360.0f;

    float v;
    if (hue < 60.0f)
        v = m1 + (m2 - m1) * hue * kSixtieth;
    else if (hue < 180.0f)
        v = m2;
    else if (hue < 240.0f)
        v = m1 + (m2 - m1) * (240.0f - hue) * kSixtieth;
    else
        v = m1;
    return ChannelFromUnit(v);
}

// ---------------------------------------------------------------------------
// Text

CString CColor::GetString() const
{
    ToRGB();
    CString text;
    text.Format(_T("%02X%02X%02X"), Red(m_color), Green(m_color), Blue(m_color));
    return text;
}

bool CColor::SetString(LPCWSTR pszText)
{
    unsigned red = 0, green = 0, blue = 0;
    const bool read = pszText && ScanHexField(pszText, red) && ScanHexField(pszText, green) &&
                      ScanHexField(pszText, blue);
    if (read)
        SetRGB(static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
    else
        SetRGB(0, 0, 0);
    return read;
}

CString CColor::GetName() const
{
    ToRGB();
    // From the last entry down, so that of two names with one value the later wins.
    for (int index = GetNumNames() - 1; index >= 0; --index) {
        if (m_namedColor[index].color == m_color)
            return CString(m_namedColor[index].name);
    }
    return CString(_T("#")) + GetString();
}

// ---------------------------------------------------------------------------
// Named colours

int CColor::GetNumNames() { return static_cast<int>(sizeof(m_namedColor) / sizeof(m_namedColor[0])); }

void CColor::GetNameFromIndex(int nIndex, CString& name)
{
    if (nIndex < 0 || nIndex >= GetNumNames()) {
        name.Empty();
        return;
    }
    name = m_namedColor[nIndex].name;
}

CColor CColor::GetColorFromIndex(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetNumNames())
        return CColor(kNoSuchColor);
    return CColor(m_namedColor[nIndex].color);
}

ULONG CColor::GetColorrefFromName(CString& name)
{
    const LPCWSTR text = name;
    const int length = name.GetLength();
    for (const DNamedColor& entry : m_namedColor) {
        if (EqualIgnoringAsciiCase(text, length, entry.name))
            return entry.color;
    }
    return kNoSuchColor;
}

// The web colour names, sorted, with their values as 0x00BBGGRR. Two entries
// differ from the web set on purpose: "cornflower" (the web's "cornflowerblue")
// and the value of "darkseagreen" (0x8BBC8F, blue 0x8B).
const CColor::DNamedColor CColor::m_namedColor[140] = {
    {0x00FFF8F0, _T("aliceblue")},
    {0x00D7EBFA, _T("antiquewhite")},
    {0x00FFFF00, _T("aqua")},
    {0x00D4FF7F, _T("aquamarine")},
    {0x00FFFFF0, _T("azure")},
    {0x00DCF5F5, _T("beige")},
    {0x00C4E4FF, _T("bisque")},
    {0x00000000, _T("black")},
    {0x00CDEBFF, _T("blanchedalmond")},
    {0x00FF0000, _T("blue")},
    {0x00E22B8A, _T("blueviolet")},
    {0x002A2AA5, _T("brown")},
    {0x0087B8DE, _T("burlywood")},
    {0x00A09E5F, _T("cadetblue")},
    {0x0000FF7F, _T("chartreuse")},
    {0x001E69D2, _T("chocolate")},
    {0x00507FFF, _T("coral")},
    {0x00ED9564, _T("cornflower")},
    {0x00DCF8FF, _T("cornsilk")},
    {0x003C14DC, _T("crimson")},
    {0x00FFFF00, _T("cyan")},
    {0x008B0000, _T("darkblue")},
    {0x008B8B00, _T("darkcyan")},
    {0x000B86B8, _T("darkgoldenrod")},
    {0x00A9A9A9, _T("darkgray")},
    {0x00006400, _T("darkgreen")},
    {0x006BB7BD, _T("darkkhaki")},
    {0x008B008B, _T("darkmagenta")},
    {0x002F6B55, _T("darkolivegreen")},
    {0x00008CFF, _T("darkorange")},
    {0x00CC3299, _T("darkorchid")},
    {0x0000008B, _T("darkred")},
    {0x007A96E9, _T("darksalmon")},
    {0x008BBC8F, _T("darkseagreen")},
    {0x008B3D48, _T("darkslateblue")},
    {0x004F4F2F, _T("darkslategray")},
    {0x00D1CE00, _T("darkturquoise")},
    {0x00D30094, _T("darkviolet")},
    {0x009314FF, _T("deeppink")},
    {0x00FFBF00, _T("deepskyblue")},
    {0x00696969, _T("dimgray")},
    {0x00FF901E, _T("dodgerblue")},
    {0x002222B2, _T("firebrick")},
    {0x00F0FAFF, _T("floralwhite")},
    {0x00228B22, _T("forestgreen")},
    {0x00FF00FF, _T("fuchsia")},
    {0x00DCDCDC, _T("gainsboro")},
    {0x00FFF8F8, _T("ghostwhite")},
    {0x0000D7FF, _T("gold")},
    {0x0020A5DA, _T("goldenrod")},
    {0x00808080, _T("gray")},
    {0x00008000, _T("green")},
    {0x002FFFAD, _T("greenyellow")},
    {0x00F0FFF0, _T("honeydew")},
    {0x00B469FF, _T("hotpink")},
    {0x005C5CCD, _T("indianred")},
    {0x0082004B, _T("indigo")},
    {0x00F0FFFF, _T("ivory")},
    {0x008CE6F0, _T("khaki")},
    {0x00FAE6E6, _T("lavender")},
    {0x00F5F0FF, _T("lavenderblush")},
    {0x0000FC7C, _T("lawngreen")},
    {0x00CDFAFF, _T("lemonchiffon")},
    {0x00E6D8AD, _T("lightblue")},
    {0x008080F0, _T("lightcoral")},
    {0x00FFFFE0, _T("lightcyan")},
    {0x00D2FAFA, _T("lightgoldenrodyellow")},
    {0x0090EE90, _T("lightgreen")},
    {0x00D3D3D3, _T("lightgrey")},
    {0x00C1B6FF, _T("lightpink")},
    {0x007AA0FF, _T("lightsalmon")},
    {0x00AAB220, _T("lightseagreen")},
    {0x00FACE87, _T("lightskyblue")},
    {0x00998877, _T("lightslategray")},
    {0x00DEC4B0, _T("lightsteelblue")},
    {0x00E0FFFF, _T("lightyellow")},
    {0x0000FF00, _T("lime")},
    {0x0032CD32, _T("limegreen")},
    {0x00E6F0FA, _T("linen")},
    {0x00FF00FF, _T("magenta")},
    {0x00000080, _T("maroon")},
    {0x00AACD66, _T("mediumaquamarine")},
    {0x00CD0000, _T("mediumblue")},
    {0x00D355BA, _T("mediumorchid")},
    {0x00DB7093, _T("mediumpurple")},
    {0x0071B33C, _T("mediumseagreen")},
    {0x00EE687B, _T("mediumslateblue")},
    {0x009AFA00, _T("mediumspringgreen")},
    {0x00CCD148, _T("mediumturquoise")},
    {0x008515C7, _T("mediumvioletred")},
    {0x00701919, _T("midnightblue")},
    {0x00FAFFF5, _T("mintcream")},
    {0x00E1E4FF, _T("mistyrose")},
    {0x00B5E4FF, _T("moccasin")},
    {0x00ADDEFF, _T("navajowhite")},
    {0x00800000, _T("navy")},
    {0x00E6F5FD, _T("oldlace")},
    {0x00008080, _T("olive")},
    {0x00238E6B, _T("olivedrab")},
    {0x0000A5FF, _T("orange")},
    {0x000045FF, _T("orangered")},
    {0x00D670DA, _T("orchid")},
    {0x00AAE8EE, _T("palegoldenrod")},
    {0x0098FB98, _T("palegreen")},
    {0x00EEEEAF, _T("paleturquoise")},
    {0x009370DB, _T("palevioletred")},
    {0x00D5EFFF, _T("papayawhip")},
    {0x00B9DAFF, _T("peachpuff")},
    {0x003F85CD, _T("peru")},
    {0x00CBC0FF, _T("pink")},
    {0x00DDA0DD, _T("plum")},
    {0x00E6E0B0, _T("powderblue")},
    {0x00800080, _T("purple")},
    {0x000000FF, _T("red")},
    {0x008F8FBC, _T("rosybrown")},
    {0x00E16941, _T("royalblue")},
    {0x0013458B, _T("saddlebrown")},
    {0x007280FA, _T("salmon")},
    {0x0060A4F4, _T("sandybrown")},
    {0x00578B2E, _T("seagreen")},
    {0x00EEF5FF, _T("seashell")},
    {0x002D52A0, _T("sienna")},
    {0x00C0C0C0, _T("silver")},
    {0x00EBCE87, _T("skyblue")},
    {0x00CD5A6A, _T("slateblue")},
    {0x00908070, _T("slategray")},
    {0x00FAFAFF, _T("snow")},
    {0x007FFF00, _T("springgreen")},
    {0x00B48246, _T("steelblue")},
    {0x008CB4D2, _T("tan")},
    {0x00808000, _T("teal")},
    {0x00D8BFD8, _T("thistle")},
    {0x004763FF, _T("tomato")},
    {0x00D0E040, _T("turquoise")},
    {0x00EE82EE, _T("violet")},
    {0x00B3DEF5, _T("wheat")},
    {0x00FFFFFF, _T("white")},
    {0x00F5F5F5, _T("whitesmoke")},
    {0x0000FFFF, _T("yellow")},
    {0x0032CD9A, _T("yellowgreen")},
};
