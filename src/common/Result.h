// Early returns for result codes, the one way every subsystem passes a failure
// up. The expression is evaluated once.
#pragma once

#include <QNPlatform.h>

// Returns the result of `expr` from the calling function when it is a failure.
#define QN_RETURN_IF_FAILED(expr)           \
    do {                                    \
        const HRESULT qnResult_ = (expr);   \
        if (FAILED(qnResult_))              \
            return qnResult_;               \
    } while (0)

// Returns the result of `expr` when it is anything but S_OK: S_FALSE, the
// short read of a block, is passed up too.
#define QN_RETURN_IF_NOT_OK(expr)           \
    do {                                    \
        const HRESULT qnResult_ = (expr);   \
        if (qnResult_ != S_OK)              \
            return qnResult_;               \
    } while (0)

