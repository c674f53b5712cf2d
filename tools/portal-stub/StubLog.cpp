#include "tools/portal-stub/StubLog.h"

#include "platform/runtime/Log.h"

#include <cstdio>
#include <string>

namespace portalstub {

namespace {

std::string escaped(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (byte < 0x20 || byte == 0x7f) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", byte);
            out += code;
        } else
            out += c;
    }
    return out;
}

} // namespace

void installStubLog() {
    platform::setLogSink([](const std::string& line) { platform::writeLogLine(escaped(line)); });
}

} // namespace portalstub
