#pragma once

#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <string>

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

// A client on the manual clock whose server list names only a portal stub of its own.
class StubDriveFixture : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    StubProcess stub_;
};

} // namespace kavo::test
