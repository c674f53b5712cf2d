#pragma once

#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/SourceDir.h"

#include <cctype>
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
    // The script's failed line with the driver's reason and the screen it saw (its two lines
    // of the transcript), or what ended the run without one: a failure's message leads with
    // it, where a log cut to its first and last lines still shows it.
    std::string failure() const {
        for (size_t at = output.rfind("\nline "); at != std::string::npos;
             at = at == 0 ? std::string::npos : output.rfind("\nline ", at - 1)) {
            const size_t start = at + 1;
            size_t digits = start + 5;
            while (digits < output.size() && std::isdigit(static_cast<unsigned char>(output[digits]))) ++digits;
            if (digits == start + 5 || digits >= output.size() || output[digits] != ':') continue;
            const size_t first = output.find('\n', start);
            const size_t second = first == std::string::npos ? first : output.find('\n', first + 1);
            return output.substr(start, second == std::string::npos ? std::string::npos : second - start);
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
