#pragma once

#include "net/Message.h"

#include <cstdint>
#include <string>

namespace kavo {

class IMessageListener;

// The socket client as request builders see it.
class IMobileClient {
public:
    virtual ~IMobileClient() = default;

    virtual bool isConnected() const = 0;
    // The listener is not owned; clear it (setHandler(nullptr)) before it goes away.
    virtual void setHandler(IMessageListener* listener) = 0;
    virtual bool connectToHost(const std::string& host, uint16_t port) = 0;
    // Queues the message and returns at once; it goes out after the hello of the
    // current or next connection, in the order of the calls. Safe from any thread.
    virtual void sendMessage(Message message) = 0;
    virtual void close() = 0;
};

} // namespace kavo
