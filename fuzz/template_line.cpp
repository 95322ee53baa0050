// Template-line splitting on arbitrary UTF-16 text: every part must lie inside
// the text and the parts must not overlap or leave out a semicolon.
#include "../src/frame/ConfigurationRules.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly the characters given, in a block of their own, so that a read
    // past the end is caught.
    std::vector<WCHAR> text(size / 2);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<WCHAR>(data[2 * i] | (data[2 * i + 1] << 8));
    qn::frame::TemplateLine line;
    if (!qn::frame::SplitTemplateLine(text.data(), text.size(), line))
        return 0;
    const size_t n = text.size();
    const size_t nameEnd = line.name.first + line.name.count;
    const size_t fileEnd = line.file.first + line.file.count;
    if (line.name.first != 0 || nameEnd >= n || text[nameEnd] != u';' || line.file.first != nameEnd + 1 ||
        fileEnd > n)
        __builtin_trap();
    if (line.hasPage && (fileEnd >= n || text[fileEnd] != u';' || line.page.first != fileEnd + 1 ||
                         line.page.first + line.page.count != n))
        __builtin_trap();
    if (!line.hasPage && (fileEnd != n || line.file.count == 0)) // "name;" alone is refused
        __builtin_trap();
    return 0;
}
