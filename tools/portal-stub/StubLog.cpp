#include "tools/portal-stub/StubLog.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubText.h"

#include <cstdio>
#include <string>

namespace portalstub {

namespace {

// Backslashes and control characters escaped: the line breaks and tabs by name, the other
// control bytes by their code, the C1 controls (U+0085 among them) and U+2028 and U+2029,
// which some readers break a line at, by their code point.
std::string escaped(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        const size_t control = controlAt(line, at);
        char code[8];
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (control == 1) {
            std::snprintf(code, sizeof code, "\\x%02x", controlCode(line, at));
            out += code;
        } else if (control > 1) {
            std::snprintf(code, sizeof code, "\\u%04x", controlCode(line, at));
            out += code;
            at += control - 1;
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
