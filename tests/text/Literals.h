// The numeral texts of the text tests, in two tables. kLiterals: texts the
// parser accepts, with what its helper decides (the type, the integer value
// saturated to 32 bits, 0 for the others, and the error). kRejected: texts it
// refuses, with the diagnostic line it writes. The parser, helper, fast path
// and type detection are all held to these rows (numeral_test.cpp).
#pragma once

#include <QNNumeral.h>

#include <string_view>

namespace qntest {

struct Literal {
    std::string_view text; // bytes, widened one to one
    QNDataType type;
    LONG value;
    int error;
};

struct Rejected {
    std::string_view text;
    const char* line; // what goes to the standard error stream
};

inline constexpr int kRange = QN_ERR_OUTOFRANGE;
inline const Literal kLiterals[] = {
    {" 42\r\n", QNDT_INT8, 42, 0}, {"\t\f\n 7 \t", QNDT_INT8, 7, 0}, {"0", QNDT_INT8, 0, 0},
    {"017", QNDT_INT8, 15, 0}, {"0x00FF", QNDT_INT16, 255, 0}, {"0XaBc", QNDT_INT16, 2748, 0},
    {"0x1F", QNDT_INT8, 31, 0}, {"0x1D", QNDT_INT8, 29, 0}, {"7L", QNDT_INT64, 7, 0}, {"0x7FL", QNDT_INT64, 127, 0},
    {"017l", QNDT_INT64, 15, 0}, {"-0", QNDT_INT8, 0, 0}, {"99999999999", QNDT_INT64, 2147483647, kRange},
    {"-2147483648", QNDT_INT32, -2147483647, 0}, {"0xFFFFFFFFFFFFFFFFFF", QNDT_INT64, 2147483647, kRange},
    {"0777777777777", QNDT_INT64, 2147483647, kRange}, {"5.", QNDT_FLOAT, 0, 0}, {"0.5", QNDT_FLOAT, 0, 0},
    {"0.", QNDT_FLOAT, 0, 0}, {"1e5", QNDT_FLOAT, 0, 0}, {"1E+05", QNDT_FLOAT, 0, 0}, {"1.5e-3", QNDT_FLOAT, 0, 0},
    {"0e0", QNDT_FLOAT, 0, 0}, {"1.5f", QNDT_FLOAT, 0, 0}, {"1.5F", QNDT_FLOAT, 0, 0}, {"1.5d", QNDT_FLOAT, 0, 0},
    {"-1.5D", QNDT_FLOAT, 0, 0}, {"12e-003", QNDT_FLOAT, 0, 0}, {"true", QNDT_BOOL, 0, 0},
    {" false ", QNDT_BOOL, 0, 0}, {"'a'", QNDT_CHAR, 0, 0}, {"' '", QNDT_CHAR, 0, 0}, {"'\"'", QNDT_CHAR, 0, 0},
    {"'\\n'", QNDT_CHAR, 0, 0}, {"'\\''", QNDT_CHAR, 0, 0}, {"'\\\\'", QNDT_CHAR, 0, 0}, {"'\\\"'", QNDT_CHAR, 0, 0},
    {"'\\101'", QNDT_CHAR, 0, 0}, {"'\\0'", QNDT_CHAR, 0, 0}, {"'\\377'", QNDT_CHAR, 0, 0},
    {"'\\400'", QNDT_CHAR, 0, kRange}, {"'\\u41'", QNDT_CHAR, 0, 0}, {"'\\U0041'", QNDT_CHAR, 0, 0},
    {"'\xE9'", QNDT_CHAR, 0, 0}, {"'\f'", QNDT_CHAR, 0, 0}, {"127", QNDT_INT8, 127, 0}, {"128", QNDT_INT16, 128, 0},
    {"-128", QNDT_INT8, -128, 0}, {"-129", QNDT_INT16, -129, 0}, {"32767", QNDT_INT16, 32767, 0},
    {"32768", QNDT_INT32, 32768, 0}, {"-32768", QNDT_INT16, -32768, 0}, {"-32769", QNDT_INT32, -32769, 0},
    {"2147483647", QNDT_INT32, 2147483647, 0}, {"2147483648", QNDT_INT64, 2147483647, kRange},
    {"-2147483649", QNDT_INT64, -2147483647, kRange}, {"2147483648L", QNDT_INT64, 2147483647, 0},
    {"-1l", QNDT_INT64, -1, 0}, {"9223372036854775807L", QNDT_INT64, 2147483647, 0},
    {"9223372036854775808L", QNDT_INT64, 2147483647, kRange}, {"-9223372036854775808L", QNDT_INT64, -2147483647, 0},
    {"-9223372036854775809L", QNDT_INT64, -2147483647, kRange}, {"9223372036854775807", QNDT_INT64, 2147483647, kRange},
    {"9223372036854775808", QNDT_INT64, 2147483647, kRange}, {"0xFF", QNDT_INT8, 255, 0}, {"0xff", QNDT_INT8, 255, 0},
    {"0x100", QNDT_INT16, 256, 0}, {"0x0FF", QNDT_INT16, 255, 0}, {"0xFFFF", QNDT_INT16, 65535, 0},
    {"0x10000", QNDT_INT32, 65536, 0}, {"0xFFFFFFFF", QNDT_INT32, 2147483647, 0},
    {"0x100000000", QNDT_INT64, 2147483647, kRange}, {"0x100000000L", QNDT_INT64, 2147483647, 0},
    {"0xFFFFFFFFFFFFFFFFL", QNDT_INT64, 2147483647, 0}, {"0x0FFFFFFFFFFFFFFFFL", QNDT_INT64, 2147483647, kRange},
    {"-0x80", QNDT_INT8, -128, 0}, {"-0x81", QNDT_INT16, -129, 0}, {"-0x8000", QNDT_INT16, -32768, 0},
    {"-0x8001", QNDT_INT32, -32769, 0}, {"-0x80000000", QNDT_INT32, -2147483647, 0},
    {"-0x80000001", QNDT_INT64, -2147483647, kRange}, {"-0x8000000000000000L", QNDT_INT64, -2147483647, 0},
    {"-0x8000000000000001L", QNDT_INT64, -2147483647, kRange}, {"0377", QNDT_INT8, 255, 0},
    {"0400", QNDT_INT16, 256, 0}, {"0177777", QNDT_INT16, 65535, 0}, {"0200000", QNDT_INT32, 65536, 0},
    {"037777777777", QNDT_INT32, 2147483647, 0}, {"040000000000", QNDT_INT64, 2147483647, kRange},
    {"-0200", QNDT_INT8, -128, 0}, {"-0201", QNDT_INT16, -129, 0}, {"-020000000000", QNDT_INT32, -2147483647, 0},
    {"01777777777777777777777L", QNDT_INT64, 2147483647, 0},
    {"02000000000000000000000L", QNDT_INT64, 2147483647, kRange},
    {"-01000000000000000000000L", QNDT_INT64, -2147483647, 0},
    {"-01000000000000000000001L", QNDT_INT64, -2147483647, kRange}, {"1.5", QNDT_FLOAT, 0, 0},
    {"-0.5", QNDT_FLOAT, 0, 0}, {"3.4028e38", QNDT_FLOAT, 0, 0}, {"340.28e36", QNDT_FLOAT, 0, 0},
    {"1.1754e-38", QNDT_FLOAT, 0, 0}, {"0.011754e-36", QNDT_FLOAT, 0, 0}, {"3.40282e38", QNDT_DOUBLE, 0, 0},
    {"340.282e36", QNDT_DOUBLE, 0, 0}, {"1e39", QNDT_DOUBLE, 0, 0}, {"1e-39", QNDT_DOUBLE, 0, 0},
    {"1.1753e-38", QNDT_DOUBLE, 0, 0}, {"3.40282e38f", QNDT_DOUBLE, 0, kRange}, {"1e-39F", QNDT_DOUBLE, 0, kRange},
    {"1.8e308", QNDT_DOUBLE, 0, kRange}, {"1.7976931348623157e308", QNDT_DOUBLE, 0, 0},
    {"1.79769313486231570e308", QNDT_DOUBLE, 0, 0},
    {"1.79769313486231571e308", QNDT_DOUBLE, 0, kRange}, {"1e309", QNDT_DOUBLE, 0, kRange},
    {"4.94065645841246544e-324", QNDT_DOUBLE, 0, 0}, {"4.95e-324", QNDT_DOUBLE, 0, 0},
    {"4.9e-324", QNDT_DOUBLE, 0, kRange}, {"1e-325", QNDT_DOUBLE, 0, kRange}, {"1e-1234", QNDT_FLOAT, 0, kRange},
    {"1e00001", QNDT_FLOAT, 0, kRange}, {"1e-999", QNDT_DOUBLE, 0, kRange}, {"0e400", QNDT_DOUBLE, 0, kRange},
    {"-25", QNDT_INT8, -25, 0}, {"0x7FFFFFFF", QNDT_INT32, 2147483647, 0}, {"0x80000000", QNDT_INT32, 2147483647, 0},
    {"0177", QNDT_INT8, 127, 0}, {"0.05e-37", QNDT_DOUBLE, 0, 0}, {"0.00123", QNDT_FLOAT, 0, 0},
    {"1.", QNDT_FLOAT, 0, 0}, {"5.f", QNDT_FLOAT, 0, 0}, {"0.e5", QNDT_FLOAT, 0, 0}, {"-0.0", QNDT_FLOAT, 0, 0},
    {"-1e39f", QNDT_DOUBLE, 0, kRange}, {"1e-38", QNDT_DOUBLE, 0, 0}, {"1e1000", QNDT_DOUBLE, 0, kRange},
    {"0.00000000000000000000000000000000000000", QNDT_FLOAT, 0, 0}, // 38 zeros after the dot: a float,
    {"0.000000000000000000000000000000000000000", QNDT_DOUBLE, 0, 0}, // 39: a double
    {std::string_view("12\0x", 4), QNDT_INT8, 12, 0}, // the text ends at a NUL
};

inline const Rejected kRejected[] = {
    {"12x", "Unexpected 'x', line 1, column 3\n"}, {"4 2", "Missing eof, line 1, column 3\n"},
    {"'\\u00411'", "Missing '\\'', line 1, column 8\n"}, {"", "Unexpected eof, line 1, column 1\n"},
    {"   ", "Unexpected eof, line 1, column 4\n"}, {"+5", "Unexpected PLUS, line 1, column 1\n"},
    {"- 5", "Unexpected ' ', line 1, column 2\n"}, {"--5", "Unexpected MINUS, line 1, column 2\n"},
    {".5", "Unexpected DOT, line 1, column 1\n"}, {"1e", "Unexpected eof, line 1, column 3\n"},
    {"1e+", "Unexpected eof, line 1, column 4\n"}, {"1..", "Unexpected DOT, line 1, column 3\n"},
    {"00", "Unexpected '0', line 1, column 2\n"}, {"09", "Unexpected '9', line 1, column 2\n"},
    {"008", "Unexpected '0', line 1, column 2\n"}, {"018", "Unexpected '8', line 1, column 3\n"},
    {"0x", "Unexpected eof, line 1, column 3\n"}, {"0xG", "Unexpected 'G', line 1, column 3\n"},
    {"0x1.5", "Unexpected DOT, line 1, column 4\n"}, {"1F", "Unexpected 'F', line 1, column 2\n"},
    {"1D", "Unexpected 'D', line 1, column 2\n"}, {"1.5L", "Unexpected 'L', line 1, column 4\n"},
    {"1LL", "Missing eof, line 1, column 3\n"}, {"1.5ff", "Missing eof, line 1, column 5\n"},
    {"True", "Unexpected 'T', line 1, column 1\n"}, {"true1", "Unexpected 't', line 1, column 1\n"},
    {"true_", "Unexpected 't', line 1, column 1\n"}, {"-true", "Unexpected 't', line 1, column 2\n"},
    {"true false", "Missing eof, line 1, column 6\n"}, {"x", "Unexpected 'x', line 1, column 1\n"},
    {"\\", "Unexpected '\\\\', line 1, column 1\n"}, {"''", "Unexpected '\\'', line 1, column 2\n"},
    {"'ab'", "Missing '\\'', line 1, column 3\n"}, {"'a", "Missing '\\'', line 1, column 3\n"},
    {"'", "Unexpected eof, line 1, column 2\n"}, {"'\\8'", "Unexpected '8', line 1, column 3\n"},
    {"'\\", "Unexpected eof, line 1, column 3\n"}, {"'\\u'", "Unexpected '\\'', line 1, column 4\n"},
    {"'\\x41'", "Unexpected 'x', line 1, column 3\n"}, {"'\\1234'", "Missing '\\'', line 1, column 6\n"},
    {"'\n'", "Unexpected input, line 1, column 2\n"}, {"'\\n\\t'", "Missing '\\'', line 1, column 4\n"},
    {"\t\n x", "Unexpected 'x', line 2, column 2\n"}, {"\r\n5 \r\n6", "Missing eof, line 3, column 1\n"},
    {"1\f2", "Missing eof, line 1, column 2\n"}, {"1\x7f", "Unexpected input, line 1, column 2\n"},
    {"1\x01", "Unexpected input, line 1, column 2\n"}, {"\xE9", "Unexpected input, line 1, column 1\n"},
    {"\n\n+", "Unexpected PLUS, line 3, column 1\n"}, {"1,5", "Unexpected ',', line 1, column 2\n"},
    {"017.5", "Unexpected DOT, line 1, column 4\n"}, {"1L2", "Missing eof, line 1, column 3\n"},
    {"'a' b", "Missing eof, line 1, column 5\n"}, {"1e+-5", "Unexpected MINUS, line 1, column 4\n"},
};

} // namespace qntest
