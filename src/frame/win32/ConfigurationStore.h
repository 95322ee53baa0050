// Reads of the configuration keys, shared by the configuration, language and
// resource-scope code (Windows only).
#pragma once

#include <QNConfiguration.h>
#include <QNRegistry.h>

namespace qn::frame {

// The text value `name` of `root`\`key`, read with `access` into `capacity`
// bytes; the empty text when the key cannot be opened, the value is missing
// or not text, or it is longer than the capacity.
inline CString ReadConfigurationText(HKEY root, LPCWSTR key, LPCWSTR name, DWORD capacity, REGSAM access = KEY_READ)
{
    CString text;
    SECRegistry registry;
    if (SUCCEEDED(registry.Open(root, key, access)))
        (void)registry.QueryString(name, text, capacity); // a failed read leaves the text empty
    return text;
}

} // namespace qn::frame
