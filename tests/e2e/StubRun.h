#pragma once

#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/SourceDir.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace kavo::test {

// Writes into `folder` the copy of the bundle that scripts/run writes for the stub's ports.
inline bool writeStubBundle(const StubProcess& stub, const std::string& folder) {
    return runToEnd({"/bin/bash", sourceDir() + "/scripts/run", "--write-bundle", folder, "--port",
                     std::to_string(stub.port()), "--http-port", std::to_string(stub.httpPort())},
                    {});
}

// A client process run to its end: the exit status (none when it did not end) and what
// it printed, then its error output.
struct ClientRun {
    std::optional<int> status;
    std::string output;
    bool passed() const { return status == 0 && output.find("script passed") != std::string::npos; }
    // The driver's failure, its line at the start of a line of the transcript ("line N: ...")
    // and the screen it saw on the next, or what ended the run without one: a failure's message
    // leads with it, where a log cut to its first and last lines still shows it.
    std::string failure() const {
        for (size_t at = output.find("\nline "); at != std::string::npos; at = output.find("\nline ", at + 1)) {
            const size_t colon = output.find_first_not_of("0123456789", at + 6);
            if (colon == at + 6 || colon == std::string::npos || output[colon] != ':') continue;
            const size_t screen = output.find('\n', at + 1);
            const size_t end = screen == std::string::npos ? screen : output.find('\n', screen + 1);
            return output.substr(at + 1, end == std::string::npos ? end : end - at - 1);
        }
        if (!status) return "the client did not end";
        return "the client ended with status " + std::to_string(*status) + " without a failed line";
    }
};

// The client as scripts/run starts it without a display: headless, with `bundle`, the data
// folder `data` and `--drive script`. It prints each line of the script as it runs it, so
// `silence` only bounds a client that hangs.
inline ClientRun driveClient(const std::string& bundle, const std::string& data, const std::string& script,
                             double silence = 90) {
    const std::string errors = data + "-stderr.txt";
    ChildProcess client;
    ClientRun run;
    if (!client.start({KAVO_ONLINE, "--headless", "--bundle", bundle, "--data-dir", data, "--drive", script},
                      {{"SDL_AUDIODRIVER", "dummy"}, {"SDL_VIDEODRIVER", "dummy"}}, true, errors))
        return run;
    while (client.readLine(silence)) {
    }
    run.status = client.wait(30);
    std::ifstream in(errors);
    std::stringstream log;
    log << in.rdbuf();
    run.output = client.transcript() + log.str();
    return run;
}

} // namespace kavo::test
