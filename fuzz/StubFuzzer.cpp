// Feeds arbitrary requests to the portal stub's command handlers, as one connection's
// requests reach them: any command id, any body, before and after a sign-in. A handler
// must drop what it cannot use; no number it reads may overflow, index or size past what
// it holds.
//
// Input: byte 0 (bit 0: the requests come after a sign-in), then requests, each a
// two-byte command id, a two-byte body length and the body (cut at the input's end). A
// change of money or ownership that the ledger refuses as made outside a row that moves
// money is a crash too: such a row lacks its mark.

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubPortal.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// One stub for the whole run, without a connection: its replies go nowhere.
portalstub::StubPortal& stub() {
    static auto* portal = [] {
        auto* made = new portalstub::StubPortal(portalserver::Fd(), "Kavo Local|127.0.0.1:12346", 600);
        made->serve();
        return made;
    }();
    return *portal;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every dropped request is logged; a change of money outside a row that moves money is
    // a row without its mark, a fault to find.
    platform::setLogSink([](const std::string& line) {
        if (line.find("outside a row that moves money is refused") != std::string::npos) __builtin_trap();
    });
    stub();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    portalstub::StubPortal& portal = stub();
    portalstub::StubLedger::session().signOut();
    if (data[0] & 1) {
        kavo::Message signIn(1);
        signIn.writeUTF("fuzz");
        signIn.writeUTF("123");
        signIn.writeUTF("1.0");
        portal.answer(signIn);
    }
    for (size_t at = 1; at + 4 <= size;) {
        const auto command = int16_t(data[at] << 8 | data[at + 1]);
        const size_t length = std::min<size_t>(size_t(data[at + 2] << 8 | data[at + 3]), size - at - 4);
        at += 4;
        kavo::Message request(command, std::vector<uint8_t>(data + at, data + at + length));
        at += length;
        portal.answer(request);
    }
    return 0;
}
