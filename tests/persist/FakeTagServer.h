// A stand-in for the host's tag server: its one operation is the 55th method
// of IKESTTagServer; every other method of the host only records that it was
// called by mistake. The results it gives per tag are set by the test.
#pragma once

#include <QNRefObjList.h>
#include <support/Counted.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qntest {

class FakeTagServer final : public Counted<IKESTTagServer> {
public:
    // The result for a tag (S_OK unless set).
    void SetResult(const std::u16string& tag, HRESULT result) { m_results[tag] = result; }

    struct Call {
        std::u16string tag, owner;
        bool tagIsPlatformString, ownerIsPlatformString;
    };
    const std::vector<Call>& Calls() const { return m_calls; }
    int WrongMethodCalls() const { return m_wrongCalls; }


#define QN_FAKE_HOST_METHOD(n) \
    HRESULT STDMETHODCALLTYPE HostMethod##n() override { return WrongMethod(); }
    QN_FAKE_HOST_METHOD(04) QN_FAKE_HOST_METHOD(05) QN_FAKE_HOST_METHOD(06) QN_FAKE_HOST_METHOD(07)
    QN_FAKE_HOST_METHOD(08) QN_FAKE_HOST_METHOD(09) QN_FAKE_HOST_METHOD(10) QN_FAKE_HOST_METHOD(11)
    QN_FAKE_HOST_METHOD(12) QN_FAKE_HOST_METHOD(13) QN_FAKE_HOST_METHOD(14) QN_FAKE_HOST_METHOD(15)
    QN_FAKE_HOST_METHOD(16) QN_FAKE_HOST_METHOD(17) QN_FAKE_HOST_METHOD(18) QN_FAKE_HOST_METHOD(19)
    QN_FAKE_HOST_METHOD(20) QN_FAKE_HOST_METHOD(21) QN_FAKE_HOST_METHOD(22) QN_FAKE_HOST_METHOD(23)
    QN_FAKE_HOST_METHOD(24) QN_FAKE_HOST_METHOD(25) QN_FAKE_HOST_METHOD(26) QN_FAKE_HOST_METHOD(27)
    QN_FAKE_HOST_METHOD(28) QN_FAKE_HOST_METHOD(29) QN_FAKE_HOST_METHOD(30) QN_FAKE_HOST_METHOD(31)
    QN_FAKE_HOST_METHOD(32) QN_FAKE_HOST_METHOD(33) QN_FAKE_HOST_METHOD(34) QN_FAKE_HOST_METHOD(35)
    QN_FAKE_HOST_METHOD(36) QN_FAKE_HOST_METHOD(37) QN_FAKE_HOST_METHOD(38) QN_FAKE_HOST_METHOD(39)
    QN_FAKE_HOST_METHOD(40) QN_FAKE_HOST_METHOD(41) QN_FAKE_HOST_METHOD(42) QN_FAKE_HOST_METHOD(43)
    QN_FAKE_HOST_METHOD(44) QN_FAKE_HOST_METHOD(45) QN_FAKE_HOST_METHOD(46) QN_FAKE_HOST_METHOD(47)
    QN_FAKE_HOST_METHOD(48) QN_FAKE_HOST_METHOD(49) QN_FAKE_HOST_METHOD(50) QN_FAKE_HOST_METHOD(51)
    QN_FAKE_HOST_METHOD(52) QN_FAKE_HOST_METHOD(53) QN_FAKE_HOST_METHOD(54)
#undef QN_FAKE_HOST_METHOD

    HRESULT STDMETHODCALLTYPE ClearTagRefInfo(BSTR bstrTagID, BSTR bstrOwner) override
    {
        Call call{Text(bstrTagID), Text(bstrOwner), IsPlatformString(bstrTagID), IsPlatformString(bstrOwner)};
        m_calls.push_back(call);
        const auto found = m_results.find(call.tag);
        return found == m_results.end() ? S_OK : found->second;
    }

private:
    HRESULT WrongMethod()
    {
        ++m_wrongCalls;
        return E_UNEXPECTED;
    }
    static std::u16string Text(BSTR bstr)
    {
        std::u16string text;
        for (UINT i = 0, n = ::SysStringLen(bstr); i < n; ++i)
            text += static_cast<char16_t>(bstr[i]);
        return text;
    }
    // A platform string knows its length, and its terminator follows it.
    static bool IsPlatformString(BSTR bstr) { return bstr && bstr[::SysStringLen(bstr)] == 0; }

    std::map<std::u16string, HRESULT> m_results;
    std::vector<Call> m_calls;
    int m_wrongCalls = 0;
};

} // namespace qntest
