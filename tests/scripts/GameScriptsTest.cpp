// The player's roads: every game's script played as `scripts/run --drive` plays it, by
// the client in a process of its own, headless on the real clock, against a stub on free
// ports of its own, with the copy of the bundle scripts/run writes for them and a data
// folder of its own. Each road ends with the script's result.
#include "tests/e2e/StubRun.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>

namespace kavo::test {
namespace {

// A game's script and the stub's pause it may shorten (the stub players' thinking, a Cao
// Rua hand's time limit): the roads stay the same, only the waits on the stub end sooner.
struct Road {
    const char* game;
    const char* pause = nullptr;
    const char* seconds = nullptr;
};

void PrintTo(const Road& road, std::ostream* out) {
    *out << road.game;
}

class GameScripts : public ClientFixture, public ::testing::WithParamInterface<Road> {};

TEST_P(GameScripts, TheScriptPlaysItsHandsAgainstTheStub) {
    const Road& road = GetParam();
    // Read by the stub as it starts; each test is a process of its own.
    if (road.pause) ::setenv(road.pause, road.seconds, 1);
    StubProcess stub;
    ASSERT_TRUE(stub.ready()) << "the stub did not start";
    const std::string bundle = dataPath() + "/bundle";
    ASSERT_TRUE(writeStubBundle(stub, bundle));
    const std::string script = std::string("scripts/") + road.game + ".drive";
    const auto run = driveClient(bundle, dataPath() + "/client", sourceDir() + "/" + script);
    EXPECT_TRUE(run.passed()) << script << ": " << run.failure() << "\n(exit status "
                              << (run.status ? std::to_string(*run.status) : "none") << "), the whole run:\n"
                              << run.output;
}

INSTANTIATE_TEST_SUITE_P(Games, GameScripts,
                         ::testing::Values(Road{"tienlen", "KAVO_STUB_TIENLEN_PAUSE", "0.3"},
                                           Road{"tienlenmb", "KAVO_STUB_TIENLEN_PAUSE", "0.3"},
                                           Road{"phom", "KAVO_STUB_PHOM_PAUSE", "0.3"}, Road{"baicao"}, Road{"xizach"},
                                           Road{"maubinh"}, Road{"caorua", "KAVO_STUB_CAORUA_PAUSE", "10"},
                                           Road{"cotuong"}, Road{"coup"}),
                         [](const auto& info) { return std::string(info.param.game); });

} // namespace
} // namespace kavo::test
