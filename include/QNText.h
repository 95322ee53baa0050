// Text helpers: the escape operations of CQNUtility::EscapeText and
// UnescapeText, and the free functions that create directory chains.
#pragma once

#include <QNPlatform.h>

// The escapes EscapeText writes and UnescapeText reads, one bit each; combine
// them with |. 0 means no operation (both conversions then copy the text).
enum eQNEscapeOperations {
    eEscApostrophe = 0x0001,     // '  <-> \'
    eEscQuote = 0x0002,          // "  <-> \"
    eEscBackslash = 0x0004,      // \  <-> \\ (two backslashes)
    eEscNewLine = 0x0008,        // LF <-> \n
    eEscReturn = 0x0010,         // CR <-> \r
    eEscTab = 0x0020,            // TAB <-> \t
    eEscControl = 0x0040,        // BEL BS VT FF <-> \a \b \v \f; UnescapeText also reads \? as ?
    eEscOctal = 0x0080,          // UnescapeText only: \ and 1 to 3 octal digits
    eEscHex = 0x0100,            // UnescapeText only: \x or \X and up to 8 hex digits (low 16 bits)
    eEscUnicode = 0x0200,        // UnescapeText only: \u or \U makes the whole call fail (E_FAIL)
    eEscOtherAsUnicode = 0x0400, // EscapeText only: every other character as \u and 4 lower-case hex digits
    eEscLFToCRLF = 0x0800,       // a line feed gets a carriage return in front of it
    eEscDropCR = 0x1000,         // carriage returns are dropped (not the ones put before a line feed)
};

constexpr eQNEscapeOperations operator|(eQNEscapeOperations a, eQNEscapeOperations b)
{
    return static_cast<eQNEscapeOperations>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr eQNEscapeOperations operator&(eQNEscapeOperations a, eQNEscapeOperations b)
{
    return static_cast<eQNEscapeOperations>(static_cast<unsigned>(a) & static_cast<unsigned>(b));
}
inline eQNEscapeOperations& operator|=(eQNEscapeOperations& a, eQNEscapeOperations b) { return a = a | b; }

#ifdef _WIN32
// Makes sure `lpszPath` is a directory, creating every missing directory on
// its way from the root. Non-zero when the path is a directory at the end
// (also when it ends with a backslash); zero when it is a file, when a file
// stands in its way, when it has no directory part to build on ("NewDir",
// "Q:" of a missing drive), when it is longer than the platform's path limit
// (259 characters, a directory part of 255), or when a creation fails.
// Directories made before a failure stay.
QN_API int ForceDirectoriesW(LPCWSTR lpszPath);
// ForceDirectoriesW of `lpszPath` converted from the system's ANSI code page.
QN_API int ForceDirectoriesA(LPCSTR lpszPath);
#endif
