// Shared by the catalogue tests: driver records from short specs, and the
// catalogue tree rendered as one line of text.
//
// Rendering: manufacturers separated by " | "; each "Name(entry; entry)";
// an entry is "module help source", followed by "{attached; attached}" when
// it has attached entries. Texts are ASCII in the tests.
#pragma once

#include <QNCatalogue.h>

#include <initializer_list>
#include <string>

namespace qntest {

template <class Char> std::string Narrow(const Char* text, size_t capacity)
{
    std::string narrow;
    for (size_t i = 0; i < capacity && text[i]; ++i)
        narrow += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return narrow;
}
template <class Char, size_t N> std::string Narrow(const Char (&text)[N])
{
    return Narrow(text, N);
}

template <class Char, size_t N> void Put(Char (&field)[N], const std::string& text)
{
    size_t i = 0;
    for (; i < text.size() && i < N - 1; ++i)
        field[i] = static_cast<Char>(text[i]);
    field[i] = 0;
}

// The record's bit field as one word (bits 10 to 31 from m_nReserved).
inline uint32_t BitWord(const CDLLinfo& info)
{
    return info.m_nMode | info.m_bFlag2 << 2 | info.m_bFlag3 << 3 | info.m_bFlag4 << 4 | info.m_bFlag5 << 5 |
           info.m_bFlag6 << 6 | info.m_bFlag7 << 7 | info.m_bFlag8 << 8 | info.m_bFlag9 << 9 |
           static_cast<uint32_t>(info.m_nReserved) << 10;
}
inline void SetBitWord(CDLLinfo& info, uint32_t word)
{
    info.m_nMode = word & 3u;
    info.m_bFlag2 = word >> 2 & 1u;
    info.m_bFlag3 = word >> 3 & 1u;
    info.m_bFlag4 = word >> 4 & 1u;
    info.m_bFlag5 = word >> 5 & 1u;
    info.m_bFlag6 = word >> 6 & 1u;
    info.m_bFlag7 = word >> 7 & 1u;
    info.m_bFlag8 = word >> 8 & 1u;
    info.m_bFlag9 = word >> 9 & 1u;
    info.m_nReserved = word >> 10;
}

// Everything a record's copy carries, as text: the numbers, the bit word in
// its bits 0 to 9, then the texts.
inline std::string Carried(const CDLLinfo& info)
{
    std::string text;
    for (long long n : std::initializer_list<long long>{
             info.m_nID, info.m_nKind, info.m_nParam, info.m_nValue, BitWord(info) & QN_DRIVER_BITS_USED,
             info.m_wParam1, info.m_wParam2, info.m_wParam3, info.m_wParam4, info.m_wParam5, info.m_wFlags})
        text += std::to_string(n) + ",";
    return text + Narrow(info.m_szName) + "," + Narrow(info.m_szModule) + "," + Narrow(info.m_szHelpFile) + "," +
           Narrow(info.m_szText1) + "," + Narrow(info.m_szChildName) + "," + Narrow(info.m_szText2);
}

template <class Node> std::string Entry(const Node& entry)
{
    return Narrow(entry.m_Info.m_szModule) + " " + Narrow(entry.m_Info.m_szHelpFile) + " " + Narrow(entry.m_szDLLPath);
}

inline std::string Render(const CList<CManNode*, CManNode*>& manufacturers)
{
    std::string text;
    for (POSITION man = manufacturers.GetHeadPosition(); man;) {
        const CManNode* manufacturer = manufacturers.GetNext(man);
        text += (text.empty() ? "" : " | ") + Narrow(manufacturer->m_szManufacturer) + "(";
        for (POSITION pos = manufacturer->m_OVLList.GetHeadPosition(); pos;) {
            const COVLnode* entry = manufacturer->m_OVLList.GetNext(pos);
            text += Entry(*entry);
            for (POSITION kid = entry->m_PCLList.GetHeadPosition(); kid;) {
                text += kid == entry->m_PCLList.GetHeadPosition() ? "{" : "; ";
                text += Entry(*entry->m_PCLList.GetNext(kid));
                text += kid ? "" : "}";
            }
            text += pos ? "; " : "";
        }
        text += ")";
    }
    return text;
}

} // namespace qntest
