#pragma once

#include "net/Message.h"
#include "net/TEA.h"
#include "tools/portal-server/HoldBack.h"
#include "tools/portal-server/RecordedMessage.h"
#include "tools/portal-server/Sockets.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace portalserver {

// A game server on 127.0.0.1, which the tests script and the portal stub serves each
// client with: on a free port it takes successive client connections one at a time (or
// serves one connection accepted elsewhere). For each it reads the 9-byte hello
// (protocol id 10 and the connection key), deciphers the client's frames with that key,
// records every message in order, and answers through the handlers it is given.
// Handlers run on the portal's thread; every accessor is safe from any thread.
// With `KAVO_PORTAL_HOLD_BACK` set to a number of seconds, everything it sends a client
// (messages, raw bytes, the end of the connection) goes out that much later, in order,
// while sending returns at once, and every message read from a client is recorded and
// handled that much later, in order, on a thread of its own (`HoldBack`).
class PortalServer {
public:
    // Answers to the connection that sent the request.
    class Reply {
    public:
        bool send(int16_t commandId, const std::vector<uint8_t>& body = {});
        bool send(const kavo::Message& message);

    private:
        friend class PortalServer;
        Reply(PortalServer& portal, int connection) : portal_(portal), connection_(connection) {}
        PortalServer& portal_;
        int connection_;
    };
    // The request's cursor is at 0; a handler may read it.
    using Handler = std::function<void(kavo::Message& request, Reply& reply)>;

    struct Hello {
        int protocolId = 0;
        int64_t key = 0;
    };

    // On a free port, or on `port` when it is not 0 (a program others must find).
    explicit PortalServer(uint16_t port = 0);
    // For the one connection given, already accepted elsewhere, and no other (its port
    // is 0): a server that gives each client a process of its own. Nothing is read
    // before start(), so that the handlers are all set when the first request is read.
    explicit PortalServer(Fd connection);
    void start();
    // Stops reading: the connection is closed and a handler call in flight is waited for;
    // no handler is called after it returns, so that what they use may go. From a handler
    // it does not wait.
    void stop();
    ~PortalServer();
    PortalServer(const PortalServer&) = delete;
    PortalServer& operator=(const PortalServer&) = delete;

    uint16_t port() const { return port_; }

    // Set handlers before the client sends; a later set replaces the earlier.
    void onCommand(int16_t commandId, Handler handler);
    // For one sub-command of a command (its first body byte): it goes before the
    // command's own handler, so that several parts of a server can each answer their
    // subs of one command. A later set for the same pair replaces the earlier.
    void onSubCommand(int16_t commandId, int8_t sub, Handler handler);
    // The handler set for a command (empty when none), so that a later one can hand on
    // what it does not answer.
    Handler handlerOf(int16_t commandId);
    // The commands that a handler of their own or of one of their subs answers (the
    // handler of every command aside), in order: a server that answers only through one
    // dispatcher tells so that nothing was set beside it.
    std::vector<int16_t> commandsWithHandlers() const;
    // For every command without a handler of its own (an echo, say).
    void onAnyCommand(Handler handler);
    // A request `admits` refuses is recorded and reaches no handler (a server that
    // answers nothing of an account before its sign-in).
    void admitOnly(std::function<bool(const kavo::Message& request)> admits);
    // How many times the handler of every command, and the gate, were set: a later set
    // replaces the earlier in silence, so a server that answers only through one
    // dispatcher behind one gate tells so that neither was set twice.
    int anyCommandHandlersSet() const;
    int gatesSet() const;
    // Runs the handler a request of the current client would run, on the caller's
    // thread: a fuzzer drives the handlers without a socket.
    void dispatch(kavo::Message& request);
    // Forgets every handler, then waits (at most `timeout` s) until no handler call is
    // in flight, so that what the handlers captured may go. A request read after this
    // finds no handler. False (and a line on stderr) when a handler is still running:
    // one stuck on something that will not come. From a handler it does not wait.
    bool dropHandlers(double timeout = 5);

    // Sends to the current client, waiting (at most 5 s) for its hello if one is
    // connecting. False when no client is connected.
    bool sendToClient(const kavo::Message& message);
    // Raw bytes (malformed frames), after the hello like sendToClient.
    bool sendRawToClient(const std::vector<uint8_t>& bytes);
    // The frame sendToClient would send under the current connection's key.
    std::optional<std::vector<uint8_t>> frameFor(const kavo::Message& message) const;
    // The server ends the current connection (after what it sent before, when held back).
    void closeClient();
    // The number on its connection (1 for the first) of the last message the calling
    // thread sent through this server, 0 when it sent none. A thread that sends a state's
    // last message and then asks learns how many messages the client has to read for the
    // whole state, whatever other threads send meanwhile.
    uint64_t lastSentByThisThread() const;

    // Accepted connections so far.
    int connectionCount() const;
    [[nodiscard]] bool waitForConnections(int count, double timeout);
    bool isClientConnected() const;
    // Waits until no client is connected (held back: and what it sent before its end has
    // been recorded and handled).
    [[nodiscard]] bool waitForClientGone(double timeout);
    std::vector<Hello> hellos() const;
    // Faults in what the client sent: a bad hello, an undecipherable frame, ...
    std::vector<std::string> protocolErrors() const;

    std::vector<RecordedMessage> messages() const;
    // Messages of one command, in order.
    std::vector<RecordedMessage> messages(int16_t commandId) const;
    [[nodiscard]] bool waitForMessages(size_t count, double timeout);
    // The first recorded message with this command id, waiting for it if needed.
    [[nodiscard]] std::optional<RecordedMessage> waitFor(int16_t commandId, double timeout);
    void clearMessages();

private:
    void acceptLoop();
    void serveConnection(Fd client);
    void serve(Fd client, int connection);
    void handle(kavo::Message& message, int connection);
    bool sendToConnection(int connection, const std::vector<uint8_t>* raw, const kavo::Message* message);
    // Writes on `connection` if it is still the one served (writeMutex_ held).
    bool writeLocked(int connection, const std::vector<uint8_t>& bytes);
    void shutdownClient(int connection);
    void recordError(const std::string& error);

    uint16_t port_ = 0;
    Fd listener_;
    StopSignal stop_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<int16_t, Handler> handlers_;
    std::map<std::pair<int16_t, int8_t>, Handler> subHandlers_;
    Handler anyHandler_;
    std::function<bool(const kavo::Message&)> admits_;
    int anyHandlersSet_ = 0;
    int gatesSet_ = 0;
    int handlersRunning_ = 0; // handler calls started and not yet returned
    std::vector<RecordedMessage> messages_;
    std::vector<Hello> hellos_;
    std::vector<std::string> errors_;
    int connections_ = 0;
    int clientFd_ = -1;                    // the connection being served
    int currentConnection_ = 0;            // its number (1, 2, ...); 0 when none
    int endsHeld_ = 0;                     // held back: ends whose earlier reads are still held
    std::shared_ptr<const kavo::TEA> tea_; // its key, once the hello was read
    std::mutex writeMutex_;                // one writer at a time on the client socket
    uint64_t sent_ = 0;                    // messages sent whole on the connection (writeMutex_)

    Fd given_; // the connection start() serves
    std::thread thread_;
    // When the environment holds messages back: what is sent goes out through the one,
    // taken under writeMutex_ so that the writes keep the order of their numbers; what is
    // read is recorded and handled through the other.
    std::unique_ptr<HoldBack> heldWrites_;
    std::unique_ptr<HoldBack> heldReads_;
};

} // namespace portalserver
