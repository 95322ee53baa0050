// The numeral parser's engine: a table-driven LALR(1) parser over the tables in
// NumeralParserTables.inc (made by tools/gen_numeral_tables.py, which explains
// how the automaton is built).
//
// The engine is a template over the helper type and the stack capacity so
// that the tests can run it with a recording helper and with a tiny stack;
// the library instantiates it once, with CQNUtility::CNumeralParserHelper and
// 384 entries, in NumeralParser.cpp.
#pragma once

#include <QNNumeral.h>
#include <QNResult.h>

#include "common/AsciiText.h"

#include <cstdint>
#include <cstdio>

namespace qn::numeral {

#include "text/NumeralParserTables.inc"

// A value stack entry: the character code of a terminal, a number (digit
// values, escape values, a QNDataType), or a pointer to one of the helper's
// texts (the fraction part). 32 bits on a 32-bit build, pointer-sized otherwise.
union Value {
    int32_t number;
    CString* text;
};

// Receives one complete diagnostic line, line feed included.
using DiagnosticWriter = void (*)(const char* line);

inline constexpr int kMessageSize = 64; // the longest message is 40 characters

template <class Helper, int Capacity>
struct ParserState {
    const WCHAR* pointer = nullptr;   // read position: the first character not consumed
    const WCHAR* laPointer = nullptr; // look-ahead position
    int line = 1;
    int column = 1;
    int stateStack[Capacity] = {};
    Value valueStack[Capacity] = {};
    int depth = 0; // entries in use
    int exitCode = QN_NUMERAL_RUNNING;
    char message[kMessageSize] = {};
    Helper* helper = nullptr; // the helper in use; not owned
    // The look-ahead token, once read.
    bool haveToken = false;
    uint8_t token = 0;
    uint8_t tokenLength = 0;
};

inline const char* TerminalName(int terminal) { return kSymbolNames[terminal]; }
inline const char* NonterminalName(int nonterminal) { return kSymbolNames[kTerminalCount + nonterminal]; }

inline const Entry* FindAction(const State& state, int terminal)
{
    const Entry* entry = kActionEntries + state.firstAction;
    const Entry* end = entry + state.actionCount + state.skipCount;
    for (; entry != end; ++entry) {
        if (entry->symbol == terminal)
            return entry;
    }
    return nullptr;
}

inline int GotoState(int state, int nonterminal)
{
    const Entry* entry = kGotoEntries + kStates[state].firstGoto;
    const Entry* end = entry + kStates[state].gotoCount;
    for (; entry != end; ++entry) {
        if (entry->symbol == nonterminal)
            return entry->target;
    }
    return -1; // the tables always have the goto; this is never reached
}

inline uint8_t CharacterClass(WCHAR ch) { return ch < 128 ? kCharacterClass[ch] : static_cast<uint8_t>(kT_other); }

inline bool IsWordCharacter(WCHAR ch)
{
    return qn::ascii::IsLetter(ch) || qn::ascii::IsDigit(ch) || ch == '_';
}

// The message for an error in `state` on `terminal`, whose first character is
// `ch`, in the order of precedence of the diagnosis.
inline void Diagnose(const State& state, int terminal, WCHAR ch, char (&message)[kMessageSize])
{
    const Entry* actions = kActionEntries + state.firstAction;
    // 1. Exactly one terminal is allowed here (skipped white space aside).
    if (state.defaultKind == kError && state.actionCount == 1 && *TerminalName(actions[0].symbol)) {
        std::snprintf(message, kMessageSize, "Missing %s", TerminalName(actions[0].symbol));
        return;
    }
    // 2. No default, and exactly one nonterminal can follow.
    if (state.defaultKind == kError && state.gotoCount == 1) {
        const char* name = NonterminalName(kGotoEntries[state.firstGoto].symbol);
        if (*name) {
            std::snprintf(message, kMessageSize, "Missing %s", name);
            return;
        }
    }
    if (*TerminalName(terminal))
        std::snprintf(message, kMessageSize, "Unexpected %s", TerminalName(terminal));
    else if (ch >= 0x20 && ch < 0x7F && ch != '\\')
        std::snprintf(message, kMessageSize, "Unexpected '%c'", static_cast<char>(ch));
    else
        std::snprintf(message, kMessageSize, "Unexpected input");
}

template <class Helper, int Capacity>
class Engine {
public:
    Engine(ParserState<Helper, Capacity>& ps, DiagnosticWriter write) : m_ps(ps), m_write(write) {}

    int Parse(const WCHAR* text, Helper& helper)
    {
        static const WCHAR kEmpty[1] = {0};
        m_ps.pointer = m_ps.laPointer = text ? text : kEmpty;
        m_ps.line = m_ps.column = 1;
        m_ps.depth = 0;
        m_ps.exitCode = QN_NUMERAL_RUNNING;
        m_ps.message[0] = 0;
        m_ps.helper = &helper;
        m_ps.haveToken = false;
        if (!Push(kStartState, Value{0}))
            return m_ps.exitCode;
        while (m_ps.exitCode == QN_NUMERAL_RUNNING)
            Step();
        return m_ps.exitCode;
    }

private:
    void Step()
    {
        const int current = m_ps.stateStack[m_ps.depth - 1];
        const State& state = kStates[current];
        if (state.defaultKind == kReduce) {
            Reduce(state.defaultProduction);
            return;
        }
        if (state.defaultKind == kAccept) {
            Value ignored = RunAction(0, m_ps.valueStack + m_ps.depth - kProductions[0].length);
            (void)ignored;
            m_ps.exitCode = QN_NUMERAL_SUCCESS;
            return;
        }
        if (!m_ps.haveToken)
            ReadToken(state);
        const Entry* entry = FindAction(state, m_ps.token);
        if (!entry) {
            Diagnose(state, m_ps.token, *m_ps.laPointer, m_ps.message);
            char line[kMessageSize + 48];
            std::snprintf(line, sizeof line, "%s, line %d, column %d\n", m_ps.message, m_ps.line, m_ps.column);
            m_write(line);
            helper().SyntaxError();
            m_ps.exitCode = QN_NUMERAL_SYNTAX_ERROR;
            return;
        }
        switch (entry->kind) {
        case kShift:
            if (Push(entry->target, Value{static_cast<int32_t>(*m_ps.laPointer)}))
                Consume();
            break;
        case kSkip:
            Consume();
            break;
        case kReduce:
            Reduce(entry->target);
            break;
        default:
            break;
        }
    }

    // Reads the token at the look-ahead position: a keyword where the state
    // has an action for one (the longest that matches), else the class of the
    // character.
    void ReadToken(const State& state)
    {
        const WCHAR* p = m_ps.pointer;
        m_ps.laPointer = p;
        m_ps.token = CharacterClass(*p);
        m_ps.tokenLength = *p ? 1 : 0; // the end of text is never stepped over
        if (state.keywords) {
            int longest = 0;
            for (const Keyword& keyword : kKeywords) {
                if (keyword.length > longest && FindAction(state, keyword.terminal) && Matches(p, keyword)) {
                    longest = keyword.length;
                    m_ps.token = keyword.terminal;
                    m_ps.tokenLength = keyword.length;
                }
            }
        }
        m_ps.haveToken = true;
    }

    static bool Matches(const WCHAR* p, const Keyword& keyword)
    {
        for (int i = 0; i < keyword.length; ++i) {
            if (p[i] != keyword.spelling[i])
                return false; // also stops at the end of the text
        }
        return !keyword.distinguished || !IsWordCharacter(p[keyword.length]);
    }

    // Steps the read position over the look-ahead token.
    void Consume()
    {
        for (int i = 0; i < m_ps.tokenLength; ++i) {
            const WCHAR ch = *m_ps.pointer++;
            if (ch == '\n') {
                ++m_ps.line;
                m_ps.column = 1;
            } else if (ch != '\r' && ch != '\f') {
                ++m_ps.column;
            }
        }
        m_ps.laPointer = m_ps.pointer;
        m_ps.haveToken = false;
    }

    bool Push(int state, Value value)
    {
        if (m_ps.depth >= Capacity) {
            m_ps.exitCode = QN_NUMERAL_STACK_OVERFLOW;
            char line[80];
            std::snprintf(line, sizeof line, "\nParser stack overflow, line %d, column %d\n", m_ps.line, m_ps.column);
            m_write(line);
            return false;
        }
        m_ps.stateStack[m_ps.depth] = state;
        m_ps.valueStack[m_ps.depth] = value;
        ++m_ps.depth;
        return true;
    }

    void Reduce(int production)
    {
        const Production& rule = kProductions[production];
        Value* values = m_ps.valueStack + m_ps.depth - rule.length;
        const Value result = RunAction(production, values);
        m_ps.depth -= rule.length;
        const int target = GotoState(m_ps.stateStack[m_ps.depth - 1], rule.lhs);
        Push(target, result);
    }

    Helper& helper() { return *m_ps.helper; }

    // S(x): the value, saturated at the largest 32-bit integer.
    static int32_t Saturate(int64_t value) { return value > 2147483647 ? 2147483647 : static_cast<int32_t>(value); }
    static int32_t HexLetterValue(int32_t ch) { return ch % 16 + 9; }

    Value RunAction(int production, const Value* v)
    {
        const Production& rule = kProductions[production];
        Helper& h = helper();
        // Without an action of its own a production passes its first value on.
        Value r = rule.length ? v[0] : Value{0};
        switch (rule.action) {
        case Action::Pass:
        case Action::None:
            break;
        case Action::SetDataType:
            h.SetDataType(static_cast<QNDataType>(v[0].number));
            break;
        case Action::IntegerLiteral:
            r.number = h.IntegerLiteral();
            break;
        case Action::MinusIntegerLiteral:
            h.SetMinusSign();
            r.number = h.IntegerLiteral();
            break;
        case Action::FloatLiteral:
            r.number = h.FloatLiteral();
            break;
        case Action::MinusFloatLiteral:
            h.SetMinusSign();
            r.number = h.FloatLiteral();
            break;
        case Action::BooleanLiteral:
            r.number = QNDT_BOOL;
            break;
        case Action::CharacterLiteral:
            r.number = QNDT_CHAR;
            break;
        case Action::SetIntegerValue:
            h.SetIntegerValue(v[0].number);
            break;
        case Action::SetIntegerValueSuffix:
            h.SetIntegerValue(v[0].number);
            h.NumberAppend(static_cast<WCHAR>(v[1].number));
            break;
        case Action::DecimalZero:
            h.SetNumberType(10);
            h.NumberAppend('0');
            r.number = 0;
            break;
        case Action::DecimalFirst:
            h.SetNumberType(10);
            h.NumberAppend(static_cast<WCHAR>(v[0].number));
            r.number = v[0].number - '0';
            break;
        case Action::DecimalNext:
            h.NumberAppend(static_cast<WCHAR>(v[1].number));
            r.number = Saturate(int64_t{v[0].number} * 10 + v[1].number - '0');
            break;
        case Action::HexFirstDigit:
            h.SetNumberType(16);
            h.NumberAppend(static_cast<WCHAR>(v[2].number));
            r.number = v[2].number - '0';
            break;
        case Action::HexFirstLetter:
            h.SetNumberType(16);
            h.NumberAppend(static_cast<WCHAR>(v[2].number));
            r.number = HexLetterValue(v[2].number);
            break;
        case Action::HexNextDigit:
            h.NumberAppend(static_cast<WCHAR>(v[1].number));
            r.number = Saturate(int64_t{v[0].number} * 16 + v[1].number - '0');
            break;
        case Action::HexNextLetter:
            h.NumberAppend(static_cast<WCHAR>(v[1].number));
            r.number = Saturate(int64_t{v[0].number} * 16 + HexLetterValue(v[1].number));
            break;
        case Action::OctalFirst:
            h.SetNumberType(8);
            h.NumberAppend(static_cast<WCHAR>(v[1].number));
            r.number = v[1].number - '0';
            break;
        case Action::OctalNext:
            h.NumberAppend(static_cast<WCHAR>(v[1].number));
            r.number = Saturate(int64_t{v[0].number} * 8 + v[1].number - '0');
            break;
        case Action::FloatSuffix:
            h.SetNumberType(10);
            h.NumberAppend(static_cast<WCHAR>(rule.param));
            break;
        case Action::RealFromSimple:
            h.SetNumber(h.GetReal());
            break;
        case Action::RealFromExponent:
            h.SetNumber(h.GetExponent());
            break;
        case Action::SetFloat:
            h.SetFloat(h.GetIntegerPart(), v[1].text);
            break;
        case Action::SetRealFromIntegerPart:
            h.SetReal(h.GetIntegerPart());
            break;
        case Action::SetIntegerPart:
            h.SetIntegerPart();
            break;
        case Action::ZeroSetIntegerPart:
            h.NumberAppend('0');
            h.SetIntegerPart();
            break;
        case Action::FractionFirst:
            r.text = h.NumberAppend(static_cast<WCHAR>(v[0].number));
            break;
        case Action::FractionNext:
            r.text = h.NumberAppend(static_cast<WCHAR>(v[1].number));
            break;
        case Action::SetRealFromNumber:
            h.SetReal(h.GetNumber());
            break;
        case Action::SetExponent:
            h.SetExponent(h.GetNumber());
            break;
        case Action::SetNegativeExponent:
            h.SetExponent('-', h.GetNumber());
            break;
        case Action::ExponentFirst:
            h.SetNumberType(10);
            h.NumberAppend(static_cast<WCHAR>(v[0].number));
            break;
        case Action::ExponentNext:
            h.NumberAppend(static_cast<WCHAR>(v[1].number));
            break;
        case Action::EscapeValue:
            r.number = rule.param;
            break;
        case Action::OctalEscapeFirst:
            r.number = v[1].number - '0';
            break;
        case Action::OctalEscapeNext:
            r.number = v[0].number * 8 + v[1].number - '0';
            break;
        case Action::OctalEscapeLast:
            r.number = v[0].number * 8 + v[1].number - '0';
            if (r.number > 255)
                h.ReportError(QN_ERR_OUTOFRANGE);
            break;
        }
        return r;
    }

    ParserState<Helper, Capacity>& m_ps;
    DiagnosticWriter m_write;
};

} // namespace qn::numeral
