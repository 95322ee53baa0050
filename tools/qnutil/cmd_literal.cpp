// qnutil literal: the data type the library decides for each text, as the
// editor's property fields would see it (user's locale, numeral grammar).
#include "Command.h"

#include <QNUtility.h>

#include <string>

namespace {

using qnutil::Fail;
using qnutil::Out;

const wchar_t* TypeName(QNDataType type)
{
    switch (type) {
    case QNDT_UNKNOWN: return L"QNDT_UNKNOWN";
    case QNDT_NUMBER: return L"QNDT_NUMBER";
    case QNDT_BOOL: return L"QNDT_BOOL";
    case QNDT_INT8: return L"QNDT_INT8";
    case QNDT_CHAR: return L"QNDT_CHAR";
    case QNDT_INT16: return L"QNDT_INT16";
    case QNDT_INT32: return L"QNDT_INT32";
    case QNDT_INT64: return L"QNDT_INT64";
    case QNDT_FLOAT: return L"QNDT_FLOAT";
    case QNDT_DOUBLE: return L"QNDT_DOUBLE";
    case QNDT_INVALID: return L"QNDT_INVALID";
    }
    return L"?";
}

std::wstring Widen(const char* text)
{
    std::wstring out;
    for (; *text; ++text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

// For each text: "TEXT: QNDT_INT8, value 42" on standard output (the value
// only for the integer types: the detection yields no value for the others);
// an invalid
// text gets the reason on standard error (the parser's own diagnostic line
// stands there too) and makes the exit code 1.
int RunLiteral(std::span<const std::wstring> args)
{
    if (args.empty())
        return qnutil::Usage(L"literal");
    int status = 0;
    for (const std::wstring& text : args) {
        LONG value = 0;
        const QNDataType type = CQNUtility::ParserAndGetDataType(CString(text.c_str()), &value);
        if (type != QNDT_INVALID) {
            const bool integer = type == QNDT_INT8 || type == QNDT_INT16 || type == QNDT_INT32 || type == QNDT_INT64;
            Out(text + L": " + TypeName(type) + (integer ? L", value " + std::to_wstring(value) : std::wstring()) +
                L"\n");
            continue;
        }
        const int error = CQNUtility::GetLastParserError();
        if (error == QN_ERR_OUTOFRANGE) {
            status = Fail(L"literal", text + L": out of the range of its type (error " + std::to_wstring(error) + L")");
            continue;
        }
        int line = 0, column = 0;
        const std::wstring message = Widen(GetNumeralParserMessage(&line, &column));
        status = Fail(L"literal", text + L": " + message + L", line " + std::to_wstring(line) + L", column " +
                                      std::to_wstring(column));
    }
    return status;
}

const qnutil::Registration literal{L"literal", L"TEXT...",
                                   L"the data type and integer value of each literal, or why it is invalid",
                                   RunLiteral};

} // namespace
