// The script search members and RemoveUnnecessarySpace on arbitrary UTF-16
// text: the first unit is the character to find, the rest the script. Every
// position found must hold the text searched for, a replacement must count
// what the searches find, and the reverse search must agree with its first
// algorithm (a fresh scanner on each cut working copy).
#include <QNUtility.h>

#include "../src/text/ScriptScanner.h"

#include <cstddef>
#include <cstdint>

namespace {

int ReverseFindByFreshScanners(const CString& text, WCHAR find)
{
    return qn::text::ReverseFindWithFreshScanners(
        qn::text::TextView(static_cast<LPCWSTR>(text), size_t(text.GetLength())), find);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const WCHAR find = static_cast<WCHAR>(data[0] | (data[1] << 8));
    CString text;
    for (size_t i = 2; i + 1 < size; i += 2)
        text += static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
    const CString findText(find, 1 + (size & 1));

    int found = 0;
    for (int p = CQNUtility::FindSkipStringAndComment(text, findText, 0); p >= 0;
         p = CQNUtility::FindSkipStringAndComment(text, findText, p + findText.GetLength())) {
        if (p + findText.GetLength() > text.GetLength() || text.Mid(p, findText.GetLength()) != findText)
            __builtin_trap();
        ++found;
    }
    const int last = CQNUtility::ReverseFindSkipStringAndComment(text, find);
    if (last >= text.GetLength() || (last >= 0 && text[last] != find) || last != ReverseFindByFreshScanners(text, find))
        __builtin_trap();

    CString replaced = text;
    if (CQNUtility::ReplaceSkipStringAndComment(replaced, findText, CString(_T("<>")), 0) != found)
        __builtin_trap();
    const CString compact = CQNUtility::RemoveUnnecessarySpace(text);
    if (compact.GetLength() > text.GetLength())
        __builtin_trap();
    return 0;
}
