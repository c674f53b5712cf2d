#pragma once

namespace kavo {

// A screen that must act once the server has accepted the client (reply 220 with
// status 1). It registers with GlobalService::setConnectOKListener just before
// connecting; it is called once, on the connection's reader thread, and then
// forgotten. A listener that goes away first clears the registration.
class IConnectOKListener {
public:
    virtual ~IConnectOKListener() = default;
    virtual void onConnectOK() = 0;
};

} // namespace kavo
