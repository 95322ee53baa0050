// Colour: target colour modes, panel colour encodings and the colour value class.
//
// A colour value is a 32-bit word: bits 0-7 red, 8-15 green, 16-23 blue,
// bits 24-25 attribute bits (only the 4-bit encodings read them) and bit 27 the
// transparent flag; 0x08000000 alone stands for no colour at all.
//
// A target colour mode (0 to 12) names the kind of display of the target panel:
//   0  64 colours        4  16384 colours    8  monochrome       12 8 grey levels
//   1  256 colours       5  4096 colours     9  16 grey levels
//   2  monochrome        6  16 grey levels   10 no reduction
//   3  full colour       7  65536 colours    11 8 grey levels
// Every other mode leaves colours unchanged.
//
// None of the free functions keeps state or fails; they read constant tables
// only and may be called from any thread.
#pragma once

#include <QNPlatform.h>
#include <afx/afxstr.h>

// ---------------------------------------------------------------------------
// Target colour depth

namespace KESTCOLOR {
// The depth code of a target mode: 0 (modes 2, 8, 10 and every unknown mode),
// 2 (mode 0), 3 (mode 1), 4 (mode 5), 5 (mode 4), 6 (mode 7), 7 (modes 6, 9),
// 8 (mode 3) or 9 (modes 11, 12). Only depth codes 2 and 3 change a displayed
// colour (they brighten the reduced colour so that it looks as the panel shows it).
QN_API short GetTargetColorDepth(int nMode);
} // namespace KESTCOLOR

// The colour as a display of target mode `nMode` shows it. A colour with the
// transparent flag comes back unchanged, and so does every colour in modes 3 and
// 10 and in modes outside 0-12. Other results have bits 24-31 zero.
QN_API ULONG GetConvertedTargetColor(int nMode, ULONG color);
// The same with a depth code chosen by the caller instead of the mode's own;
// the depth only matters in modes 0, 1, 6 and 9.
QN_API ULONG GetConvertedTargetColor(int nMode, short nDepth, ULONG color);

// The packed encoding that the panel's screen data holds for the colour in
// target mode `nMode` (the encoder of that mode, below). Modes 3, 10 and modes
// outside 0-12 return the value unchanged, flags included. The transparent flag
// is not tested.
QN_API ULONG GetIFileColor(int nMode, ULONG color);

// Buffers of colours, as fast as the processor allows (vector code where it has
// AVX2). Nothing happens when either pointer is null or nCount <= 0. The
// buffers must not overlap, except that pResults may be pColors itself.
//
// pResults[i] = GetConvertedTargetColor(nMode, pColors[i]) for i < nCount.
QN_API void GetConvertedTargetColors(int nMode, const ULONG* pColors, ULONG* pResults, int nCount);
// pWords[i] = the low word of GetIFileColor(nMode, pColors[i]) for i < nCount:
// the panel word of the 16-bit encodings (modes 4, 5, 7), the code repeated in
// both bytes of the 8-bit ones (0, 1, 6, 9) and in all four nibbles of the
// 4-bit ones (2, 8, 11, 12); the low word of the colour in the other modes.
QN_API void GetIFileColorWords(int nMode, const ULONG* pColors, WORD* pWords, int nCount);

// ---------------------------------------------------------------------------
// Reductions: RGB in, reduced RGB out. Each returns a colour with the
// transparent flag unchanged, without looking at it; every other result has
// bits 24-31 zero.

// Black 0x000000 when max + min of the channels is 255 or less, else white.
QN_API ULONG FindClosestBWColor(ULONG color);
// Each channel 0x00 (below 128) or 0xFF.
QN_API ULONG FindClosest8Color(ULONG color);
// One of the 8 grey levels 00 30 50 70 90 B0 D0 FF in all three channels.
QN_API ULONG FindClosest8BColor(ULONG color);
// The same levels inverted (FF D0 ... 30 00): light colours become dark.
QN_API ULONG FindClosest8BIColor(ULONG color);
// One of the 16 grey levels n x 0x11, then brightened for depths 2 and 3.
QN_API ULONG FindClosest16GColor(ULONG color, short nDepth);
// Levels 00 66 99 FF per channel, then brightened for depths 2 and 3.
QN_API ULONG FindClosest64Color(ULONG color, short nDepth);
// 8 levels of red and green and 4 of blue, then brightened for depths 2 and 3.
QN_API ULONG FindClosest256Color(ULONG color, short nDepth);
// The nearest 4-4-4, 5-5-4 and 5-6-5 bit panel levels; each equals decoding
// the word of the matching encoder.
QN_API ULONG FindClosest4096Color(ULONG color);
QN_API ULONG FindClosest16384Color(ULONG color);
QN_API ULONG FindClosest65536Color(ULONG color);

// The index of the entry among the first `nCount` entries of `pTable` that is
// nearest to `value`: the first exact match, else among equally near entries
// the highest index. 0 when nCount < 1 or pTable is null.
QN_API int FindClosestColorTableIndex(unsigned char value, unsigned char* pTable, int nCount);

// ---------------------------------------------------------------------------
// Encoders: RGB in, packed panel code out, replicated over the whole result
// (a 16-bit word in both halves, an 8-bit code in all four bytes, a 4-bit code
// in all eight nibbles). The transparent flag is not tested.

// R5G6B5 word (mode 7).
QN_API ULONG ZK5000_CalcColorR5G6B5(ULONG color);
// BL2R5G5B4 word (mode 4); the two blink bits are 0.
QN_API ULONG ZK5000_CalcColorBL2R5G5B4(ULONG color);
// BL2R4G4B4 word (mode 5): 13-10 red, 8-5 green, 3-0 blue; the blink bits are 0.
QN_API ULONG ZK5000_CalcColorBL2R4G4B4(ULONG color);
// BL2R4 byte (modes 6 and 9): bits 5-2 hold the red level; green and blue are ignored.
QN_API ULONG ZK5000_CalcColorBL2R4(ULONG color);
// Monochrome nibble (modes 2 and 8): bit 3 attribute (bit 24 or 25 of the
// colour), bit 2 light (11 x (red + green) + 10 x blue >= 4096).
QN_API ULONG CalcColor4Bit(ULONG color);
// 8-grey nibble (modes 11 and 12): bit 3 attribute, bits 2-0 the grey level
// (11 x (red + green) + 10 x blue) / 1024.
QN_API ULONG CalcColor4Bit8Grey(ULONG color);
// 64-colour byte (mode 0): the top two bits of each channel at 6-5, 3-2 and 1-0.
QN_API ULONG CalcColorR2G2B2Blink(ULONG color);
// 256-colour byte (mode 1): the top three bits of red and green, two of blue.
QN_API ULONG CalcColorR3G3B2(ULONG color);

// ---------------------------------------------------------------------------
// Decoders: the low word (or low byte) of a packed code back to a colour with
// bits 24-31 zero. Bits the encoding does not define are ignored.
QN_API ULONG ZK5000_Calc32bitColorFromR5G6B5(ULONG packed);
QN_API ULONG ZK5000_Calc32bitColorFromBL2R5G5B4(ULONG packed);
QN_API ULONG ZK5000_Calc32bitColorFromBL2R4G4B4(ULONG packed);
QN_API ULONG ZK5000_Calc32bitColorFromBL2R4(ULONG packed);

// ---------------------------------------------------------------------------
// CColor: one colour with an RGB and an HLS view, converted lazily.
//
// Byte 3 of the colour word is kept as the constructor got it: no setter
// changes it, and a colour whose byte 3 is not 0 has no table name. Getters
// are const but bring their own view up to date first; one object must not be
// used from two threads at once.
class QN_API CColor {
public:
    struct DNamedColor {
        ULONG color; // 0x00BBGGRR
        LPCWSTR name; // lower case
    };

    // Construction
    CColor(ULONG color = 0);
    CColor(const CColor& color) = default;
    CColor& operator=(const CColor& color);

    // The whole colour word, byte 3 included.
    operator ULONG() const;

    // RGB view: channels 0 to 255. The setters store the low 8 bits of the argument.
    int GetRed() const;
    int GetGreen() const;
    int GetBlue() const;
    void SetRed(int red);
    void SetGreen(int green);
    void SetBlue(int blue);
    void SetRGB(int red, int green, int blue);

    // HLS view: hue in degrees (0 to 360; pure red has 360), luminance and
    // saturation 0 to 1.
    float GetHue() const;
    float GetSaturation() const;
    float GetLuminance() const;
    void SetHue(float hue);
    void SetSaturation(float saturation);
    void SetLuminance(float luminance);
    void SetHLS(float hue, float luminance, float saturation);

    // Six upper-case hexadecimal digits, red first ("FF8000" for orange).
    CString GetString() const;
    // Reads three hexadecimal fields of at most two digits each (red, green,
    // blue), each after optional white space. True when all three were read;
    // otherwise the colour becomes black and the result is false.
    bool SetString(LPCWSTR pszText);

    // The table name of the colour (of two names with one value the later one:
    // "cyan", "magenta"), or "#" followed by GetString().
    CString GetName() const;

    // The table of named colours, sorted by name.
    static int GetNumNames();
    // Index 0 to GetNumNames() - 1. Outside that range the name is emptied.
    static void GetNameFromIndex(int nIndex, CString& name);
    // Index 0 to GetNumNames() - 1. Outside that range the result is 0xFFFFFFFF.
    static CColor GetColorFromIndex(int nIndex);
    // The value of the first entry whose name equals `name` ignoring the case
    // of A-Z, or 0xFFFFFFFF.
    static ULONG GetColorrefFromName(CString& name);

    static const DNamedColor m_namedColor[140];

private:
    void ToHLS() const;
    void ToRGB() const;
    static unsigned char ToRGB1(float m1, float m2, float hue);

    // The conversions run inside const getters and update the cached view.
    mutable ULONG m_color;
    mutable float m_fHue;
    mutable float m_fSaturation;
    mutable float m_fLuminance;
    mutable bool m_bIsRGBValid;
    mutable bool m_bIsHLSValid;
};
