// The target colour modes written out once more, plainly, from their
// definition (each mode's shown colour and packed code, the nearest-level rule
// computed here by a search), and one sweep that holds every per-colour
// function and every bulk path this machine runs to it. The unit tests sweep a
// small set of colours at every alignment and tail; the exhaustive test sweeps
// every colour.
#pragma once

#include <QNColour.h>
#include <colour/ColourLevels.h>
#include <colour/TargetColourBulk.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace qntest {

using namespace qn::colour;

inline uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | g << 8 | b << 16; }
inline uint32_t Grey(unsigned level) { return Rgb(level, level, level); }

struct Model {
    unsigned char r4[256], r5[256], r6[256]; // nearest level index; ties to the higher level

    Model()
    {
        const auto nearest = [](unsigned v, const unsigned char* levels, int count) {
            int best = 0;
            for (int i = 1; i < count; ++i)
                if (std::abs(int(levels[i]) - int(v)) <= std::abs(int(levels[best]) - int(v)))
                    best = i;
            return static_cast<unsigned char>(best);
        };
        for (unsigned v = 0; v < 256; ++v) {
            r4[v] = nearest(v, kLevels4Bit, 16);
            r5[v] = nearest(v, kLevels5Bit, 32);
            r6[v] = nearest(v, kLevels6Bit, 64);
        }
    }

    static uint32_t Fill(uint32_t c, short depth)
    {
        if (c == 0 || c == 0xFFFFFF)
            return c;
        if (depth == 2)
            return c | 0x3F3F3F;
        if (depth == 3)
            return Rgb((c & 0xFF) | 0x1F, ((c >> 8) & 0xFF) | 0x1F, ((c >> 16) & 0xC0) | 0x1F);
        return c;
    }

    // GetConvertedTargetColor(mode, depth, c).
    uint32_t Shown(int mode, short depth, uint32_t c) const
    {
        if (c & 0x08000000)
            return c;
        const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        const unsigned s = (r > g ? (r > b ? r : b) : (g > b ? g : b)) + (r < g ? (r < b ? r : b) : (g < b ? g : b));
        switch (mode) {
        case 0: return Fill(Rgb(kLevels64[r >> 6], kLevels64[g >> 6], kLevels64[b >> 6]), depth);
        case 1: return Fill(Rgb(kLevels256RedGreen[r >> 5], kLevels256RedGreen[g >> 5], kLevels256Blue[b >> 6]), depth);
        case 2: case 8: return s > 255 ? 0xFFFFFF : 0;
        case 4: return Rgb(kLevels5Bit[r5[r]], kLevels5Bit[r5[g]], kLevels4Bit[r4[b]]);
        case 5: return Rgb(kLevels4Bit[r4[r]], kLevels4Bit[r4[g]], kLevels4Bit[r4[b]]);
        case 6: case 9: return Fill(Grey((s >> 5) * 0x11), depth);
        case 7: return Rgb(kLevels5Bit[r5[r]], kLevels6Bit[r6[g]], kLevels5Bit[r5[b]]);
        case 11: case 12: return Grey(kLevels8Grey[s >> 6]);
        default: return c;
        }
    }

    // GetIFileColor(mode, c).
    uint32_t Packed(int mode, uint32_t c) const
    {
        const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        const unsigned s = 11 * (r + g) + 10 * b, attribute = (c & 0x03000000) ? 8 : 0;
        switch (mode) {
        case 0: return ((r >> 6) << 5 | (g >> 6) << 2 | b >> 6) * 0x01010101u;
        case 1: return ((r >> 5) << 5 | (g >> 5) << 2 | b >> 6) * 0x01010101u;
        case 2: case 8: return ((s >= 4096 ? 4 : 0) | attribute) * 0x11111111u;
        case 4: return (r5[r] << 9 | r5[g] << 4 | r4[b]) * 0x00010001u;
        case 5: return (r4[r] << 10 | r4[g] << 5 | r4[b]) * 0x00010001u;
        case 6: case 9: return (r4[r] << 2) * 0x01010101u;
        case 7: return (r5[r] << 11 | r6[g] << 5 | r5[b]) * 0x00010001u;
        case 11: case 12: return ((s >> 10) | attribute) * 0x11111111u;
        default: return c;
        }
    }
};

// Runs every mode from -1 to 13 over a buffer of colours: the per-colour
// functions and each bulk path this machine runs against the model, counting
// failures and keeping the first.
class Sweeper {
public:
    explicit Sweeper(size_t capacity)
        : m_shown(capacity), m_out(capacity + 16), m_words(capacity), m_outWords(capacity + 16) {}

    // Modes -1 to 13, or only those given: the two-argument form and the bulk
    // paths against the definition (the three-argument form and
    // GetIFileColor), and with `checkModel` the definition against the model.
    // `outOffset` shifts the bulk outputs (alignment); `inPlace` converts a copy
    // of the input in the output itself.
    void Run(const uint32_t* in, size_t n, bool checkModel, size_t outOffset = 0, bool inPlace = false,
             std::initializer_list<int> modes = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})
    {
        uint32_t* out = m_out.data() + outOffset;
        uint16_t* words = m_outWords.data() + outOffset;
        for (int mode : modes) {
            const short depth = KESTCOLOR::GetTargetColorDepth(mode);
            for (size_t i = 0; i < n; ++i) {
                const uint32_t c = in[i], packed = GetIFileColor(mode, c);
                m_shown[i] = GetConvertedTargetColor(mode, depth, c);
                m_words[i] = static_cast<uint16_t>(packed);
                if (GetConvertedTargetColor(mode, c) != m_shown[i])
                    Fail(c, mode, "two-argument form");
                if (checkModel && (m_shown[i] != m_model.Shown(mode, mode == 0 ? 2 : mode == 1 ? 3 : 0, c) ||
                                   packed != m_model.Packed(mode, c)))
                    Fail(c, mode, "model");
            }
            for (BulkPath path : kBulkPaths) {
                if (!BulkPathAvailable(path))
                    continue;
                if (inPlace)
                    std::copy(in, in + n, out);
                // Guards after the n outputs: no path writes past its count.
                std::fill(out + n, m_out.data() + m_out.size(), kGuard);
                std::fill(words + n, m_outWords.data() + m_outWords.size(), uint16_t(kGuard));
                ConvertColors(path, mode, inPlace ? out : in, out, n);
                PackWords(path, mode, in, words, n);
                const auto guard = [](auto x) { return x == decltype(x)(kGuard); };
                if (!std::all_of(out + n, m_out.data() + m_out.size(), guard) ||
                    !std::all_of(words + n, m_outWords.data() + m_outWords.size(), guard))
                    Fail(n ? in[n - 1] : 0, mode, "past the count");
                if (std::equal(out, out + n, m_shown.data()) && std::equal(words, words + n, m_words.data()))
                    continue;
                for (size_t i = 0; i < n; ++i)
                    if (out[i] != m_shown[i] || words[i] != m_words[i])
                        Fail(in[i], mode, BulkPathName(path));
            }
        }
    }

    uint64_t failures = 0;
    uint32_t firstColour = 0;
    int firstMode = 0;
    const char* firstWhere = "";

private:
    void Fail(uint32_t colour, int mode, const char* where)
    {
        if (failures++ == 0) {
            firstColour = colour;
            firstMode = mode;
            firstWhere = where;
        }
    }

    static constexpr uint32_t kGuard = 0xA5A5A5A5;
    Model m_model;
    std::vector<uint32_t> m_shown, m_out;
    std::vector<uint16_t> m_words, m_outWords;
};

} // namespace qntest
