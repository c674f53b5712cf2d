#pragma once

#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/StateWaits.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {

// scripts/<name> as scripts/run plays it, on the manual clock: each pause also moves the
// clock (the stub's replies arrive in real time, the screens animate on the clock), and
// the stub is listed as "Stub".
inline std::string stubDriveScript(const std::string& name) {
    const char* source = std::getenv("KAVO_SOURCE_DIR");
    std::ifstream file(std::string(source ? source : ".") + "/scripts/" + name);
    std::string script;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("sleep ", 0) == 0) line += "\nadvance " + line.substr(6);
        for (size_t at; (at = line.find("Kavo Local")) != std::string::npos;)
            line.replace(at, 10, "Stub");
        script += line + "\n";
    }
    return script;
}

// The part of a script before the first line that starts with `marker` (all of it when
// none does), and the rest.
inline std::pair<std::string, std::string> splitScriptAt(const std::string& script, const std::string& marker) {
    const size_t at = script.find("\n" + marker);
    if (at == std::string::npos) return {script, ""};
    return {script.substr(0, at + 1), script.substr(at + 1)};
}

// A client on the manual clock whose server list names only a portal stub of its own.
// The environment is set before the stub starts (its pauses read it); `options` follow
// the stub's ports on its command line.
class StubDriveFixture : public ClientFixture {
protected:
    using Environment = std::vector<std::pair<std::string, std::string>>;
    explicit StubDriveFixture(Environment environment = {}, const std::vector<std::string>& options = {})
        : environment_(std::move(environment)) {
        for (const auto& [name, value] : environment_)
            ::setenv(name.c_str(), value.c_str(), 1);
        stub_.emplace(options);
    }
    ~StubDriveFixture() override {
        stub_.reset();
        for (const auto& entry : environment_)
            ::unsetenv(entry.first.c_str());
    }
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_->ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_->port()));
    }
    // Drives the script, each of its waits for a control to show (`wait`) or to go
    // (`wait-not`) moving the clock 0.05 s a turn, up to its time-out in real time, until it
    // holds: what a real table's clock does while the stub's messages come.
    ::testing::AssertionResult drivesWaitingOnTheClock(const std::string& script) {
        std::string steps;
        std::istringstream lines(script);
        for (std::string line; std::getline(lines, line);) {
            const bool shows = line.rfind("wait ", 0) == 0;
            if (!shows && line.rfind("wait-not ", 0) != 0) {
                steps += line + "\n";
                continue;
            }
            if (auto done = drives(steps); !done) return done;
            steps.clear();
            std::string target = line.substr(line.find(' ') + 1);
            double timeout = kStateWait;
            if (const size_t space = target.rfind(' '); space != std::string::npos &&
                target.find_first_not_of("0123456789.", space + 1) == std::string::npos) {
                timeout = std::strtod(target.c_str() + space + 1, nullptr);
                target.resize(space);
            }
            const auto selector = platform::automation::Selector::parse(target);
            if (!selector) return ::testing::AssertionFailure() << "not a selector: " << line;
            const auto holds = [&] {
                platform::automation::ViewQuery::layoutWindows();
                return (platform::automation::ViewQuery::find(*selector) != nullptr) == shows;
            };
            const bool held = platform::RunLoop::main().runUntil(
                [&] {
                    if (holds()) return true;
                    advance(0.05);
                    return holds();
                },
                timeout);
            if (!held) return ::testing::AssertionFailure() << line << ": not so after " << timeout << " s\n" << log();
        }
        return drives(steps);
    }

    Environment environment_;
    std::optional<StubProcess> stub_;
};

} // namespace kavo::test
