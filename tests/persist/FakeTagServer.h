// A stand-in for the host's tag server: its one operation is the 55th method
// of IKESTTagServer; the host's other methods count calls made by mistake. The
// result for a tag is S_OK unless the test sets another.
#pragma once

#include <QNRefObjList.h>
#include <support/Counted.h>

#include <map>
#include <string>
#include <vector>

namespace qntest {

class FakeTagServer final : public Counted<IKESTTagServer> {
public:
    std::map<std::u16string, HRESULT> results;
    std::vector<std::pair<std::u16string, std::u16string>> calls; // tag, owner
    int wrongCalls = 0;

#define QN_FAKE_HOST_METHOD(n) \
    HRESULT STDMETHODCALLTYPE HostMethod##n() override { return ++wrongCalls, E_UNEXPECTED; }
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

    // Both names must come as platform strings: their length prefix counts
    // up to the terminator.
    HRESULT STDMETHODCALLTYPE ClearTagRefInfo(BSTR tag, BSTR owner) override
    {
        calls.emplace_back(Text(tag), Text(owner));
        const auto found = results.find(calls.back().first);
        return found == results.end() ? S_OK : found->second;
    }

private:
    static std::u16string Text(BSTR bstr)
    {
        const UINT length = ::SysStringLen(bstr);
        return bstr && bstr[length] == 0 ? std::u16string(bstr, bstr + length) : u"<not a platform string>";
    }
};

} // namespace qntest
