#pragma once

#include "portal/GlobalLogicHandler.h"
#include "tests/support/Bytes.h"
#include "tests/support/RecordedMessage.h"
#include "tests/support/RecordingSession.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo::test {

// A fresh folder under /tmp, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Stands in for the socket client: records what the builders send.
using RecordingClient = RecordingSession;

// For the life of the object: the bundle is the source tree's resources, the user
// defaults live in a new empty folder, the device reports an "iPhone" on "6.1"
// over Wi-Fi, the main run loop is this thread's (emptied at both ends), the
// app-wide state is fresh, requests go to `client` and no game handler is installed.
class PortalEnvironment {
public:
    PortalEnvironment();
    ~PortalEnvironment();
    PortalEnvironment(const PortalEnvironment&) = delete;
    PortalEnvironment& operator=(const PortalEnvironment&) = delete;

    RecordingClient& client() { return client_; }
    const std::string& dataPath() const { return data_.path(); }
    // Runs what was posted to the main thread.
    static void runMainThread();

private:
    TempFolder data_;
    RecordingClient client_;
};

// Hands a reply to the dispatcher as the reader thread would.
void deliver(int16_t commandId, const ByteVector& body = {});

// A prefix of a body.
ByteVector prefix(const ByteVector& body, size_t length);

// The bytes of a file of the source tree, by its path there ("resources/images/av0.png").
ByteVector sourceFileBytes(const std::string& path);

} // namespace kavo::test
