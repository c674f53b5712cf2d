#pragma once

#include "net/Message.h"
#include "platform/ui/View.h"
#include "tests/lobby/LobbyTestSupport.h"
#include "tests/support/Bytes.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo::test {

// An account or social screen in a launched client (log-in screen at the root), on the
// manual clock, with what it sends recorded and the server's replies handed to the real
// dispatcher as the reader thread would.
class AccountScreenFixture : public LobbyScreenFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Pushes without animation and runs what the push posted.
    template <class Screen> std::shared_ptr<Screen> push(std::shared_ptr<Screen> screen) {
        pushScreen(screen);
        return screen;
    }
    void pushScreen(const std::shared_ptr<platform::ui::ViewController>& screen);
    void pop();
    // A reply as from the server, with its main-thread half run.
    static void reply(int16_t commandId, const ByteVector& body = {});
    // The bodies the screens sent with a command, in order.
    std::vector<ByteVector> bodies(int16_t commandId) const;
    // The ids of the lottery's draw requests sent (1400, 1401, 1402), in order.
    std::vector<int16_t> drawRequests() const;
    // The open dialog's text, or "".
    static void closeDialog();
    // The first view below `root` (or `root` itself) with the accessibility identifier.
    static platform::ui::ViewPtr findById(const platform::ui::ViewPtr& root, const std::string& id);
};

} // namespace kavo::test
