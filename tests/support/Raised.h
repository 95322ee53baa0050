// What an operation raised, for tables of failure paths: the cause of the
// framework exception E, 0 for a memory exception (it has none), -1 when
// nothing was raised.
#pragma once

#include <afx/afx.h>

#include <type_traits>

template <class E, class Operation> int CauseRaised(Operation&& operation)
{
    try {
        operation();
    } catch (E* e) {
        int cause = 0;
        if constexpr (!std::is_same_v<E, CMemoryException>)
            cause = e->m_cause;
        e->Delete(); // the static memory exception survives Delete
        return cause;
    }
    return -1;
}
