// The numeral evaluation helper driven member by member: each byte pair picks
// an operation and its argument, in any order the parser would never use. The
// decisions must return a type of their kind and record no error but the
// range error; copies must equal their original, with blocks of their own.
#include <QNNumeral.h>

#include <cstddef>
#include <cstdint>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;

CString* Pick(Helper& h, uint8_t arg)
{
    switch (arg % 5) {
    case 0: return h.GetNumber();
    case 1: return h.GetIntegerPart();
    case 2: return h.GetReal();
    case 3: return h.GetExponent();
    default: return nullptr;
    }
}

bool Same(const Helper& a, const Helper& b)
{
    return a.m_bstrNumber == b.m_bstrNumber && a.m_bstrIntegerPart == b.m_bstrIntegerPart &&
           a.m_bstrReal == b.m_bstrReal && a.m_bstrExponent == b.m_bstrExponent &&
           a.m_nNumberType == b.m_nNumberType && a.GetDataType() == b.GetDataType() &&
           a.m_bMinusSign == b.m_bMinusSign && a.Error() == b.Error() && a.m_lIntegerValue == b.m_lIntegerValue;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const WCHAR kCharacters[] = {'0', '1', '7', '8', '9', 'A', 'f', 'D', 'd', 'F', 'L', 'l', 'x', '.', '-', 'e', 0, 0x100};
    Helper h;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint8_t op = data[i], arg = data[i + 1];
        switch (op % 16) {
        case 0:
        case 1:
        case 2: h.NumberAppend(kCharacters[arg % (sizeof kCharacters / sizeof kCharacters[0])]); break;
        case 3: h.SetNumberType(arg % 3 == 0 ? 8 : arg % 3 == 1 ? 10 : 16 + arg / 3 % 2); break;
        case 4: h.SetNumber(Pick(h, arg)); break;
        case 5: h.SetIntegerPart(); break;
        case 6: h.SetFloat(Pick(h, arg), Pick(h, arg / 5)); break;
        case 7: h.SetReal(Pick(h, arg)); break;
        case 8: h.SetExponent(Pick(h, arg)); break;
        case 9: h.SetExponent('-', Pick(h, arg)); break;
        case 10: h.SetMinusSign(); break;
        case 11: h.SetIntegerValue(static_cast<LONG>(arg * 16777619u)); break;
        case 12: {
            const QNDataType type = h.IntegerLiteral();
            if (type != QNDT_INT8 && type != QNDT_INT16 && type != QNDT_INT32 && type != QNDT_INT64)
                __builtin_trap();
            break;
        }
        case 13: {
            const QNDataType type = h.FloatLiteral();
            if (type != QNDT_FLOAT && type != QNDT_DOUBLE)
                __builtin_trap();
            break;
        }
        case 14: h.ResetNumber(); break;
        default: {
            Helper copy(h);
            Helper assigned;
            assigned = h;
            if (!Same(copy, h) || !Same(assigned, h) ||
                (!h.m_bstrReal.IsEmpty() && static_cast<LPCWSTR>(copy.m_bstrReal) == static_cast<LPCWSTR>(h.m_bstrReal)))
                __builtin_trap();
            break;
        }
        }
        if (h.Error() != 0 && h.Error() != QN_ERR_OUTOFRANGE)
            __builtin_trap();
    }
    return 0;
}
