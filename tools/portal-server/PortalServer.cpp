#include "tools/portal-server/PortalServer.h"

#include "net/FrameReader.h"

#include <cstdio>
#include <set>
#include <sys/socket.h>

namespace portalserver {

using kavo::FrameReader;
using kavo::Message;
using kavo::TEA;

namespace {
using Clock = std::chrono::steady_clock;
Clock::duration seconds(double s) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
}
// The last message this thread sent, by the server it went through.
struct LastSent {
    const PortalServer* server = nullptr;
    uint64_t number = 0;
};
thread_local LastSent lastSent;
// Whether the calling thread is inside a handler's call (of any server).
thread_local bool inHandler = false;
} // namespace

bool PortalServer::Reply::send(int16_t commandId, const std::vector<uint8_t>& body) {
    return send(Message(commandId, body));
}

bool PortalServer::Reply::send(const Message& message) {
    return portal_.sendToConnection(connection_, nullptr, &message);
}

namespace {
std::unique_ptr<HoldBack> holdBackFromEnvironment() {
    const double delay = HoldBack::delayFromEnvironment();
    return delay > 0 ? std::make_unique<HoldBack>(delay) : nullptr;
}
} // namespace

PortalServer::PortalServer(uint16_t port)
    : port_(port), heldWrites_(holdBackFromEnvironment()), heldReads_(holdBackFromEnvironment()) {
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { acceptLoop(); });
}

PortalServer::PortalServer(Fd connection)
    : given_(std::move(connection)), heldWrites_(holdBackFromEnvironment()), heldReads_(holdBackFromEnvironment()) {}

void PortalServer::start() {
    if (thread_.joinable() || !given_.valid()) return;
    thread_ = std::thread([this, fd = given_.release()] { serveConnection(Fd(fd)); });
}

PortalServer::~PortalServer() {
    stop();
}

void PortalServer::stop() {
    stop_.raise();
    shutdownClient(0);
    if (heldReads_) heldReads_->stop();
    if (heldWrites_) heldWrites_->stop();
    {
        // The held steps are dropped, the ends among them too.
        std::lock_guard<std::mutex> lock(mutex_);
        endsHeld_ = 0;
    }
    changed_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void PortalServer::onCommand(int16_t commandId, Handler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handlers_[commandId] = std::move(handler);
}

void PortalServer::onSubCommand(int16_t commandId, int8_t sub, Handler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    subHandlers_[{commandId, sub}] = std::move(handler);
}

PortalServer::Handler PortalServer::handlerOf(int16_t commandId) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = handlers_.find(commandId);
    return it != handlers_.end() ? it->second : Handler();
}

std::vector<int16_t> PortalServer::commandsWithHandlers() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::set<int16_t> commands;
    for (const auto& entry : handlers_)
        commands.insert(entry.first);
    for (const auto& entry : subHandlers_)
        commands.insert(entry.first.first);
    return {commands.begin(), commands.end()};
}

void PortalServer::onAnyCommand(Handler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    anyHandler_ = std::move(handler);
    ++anyHandlersSet_;
}

void PortalServer::admitOnly(std::function<bool(const Message&)> admits) {
    std::lock_guard<std::mutex> lock(mutex_);
    admits_ = std::move(admits);
    ++gatesSet_;
}

int PortalServer::anyCommandHandlersSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return anyHandlersSet_;
}

int PortalServer::gatesSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return gatesSet_;
}

void PortalServer::dispatch(Message& request) {
    int connection = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        connection = currentConnection_;
    }
    handle(request, connection);
}

bool PortalServer::dropHandlers(double timeout) {
    std::map<int16_t, Handler> handlers;
    std::map<std::pair<int16_t, int8_t>, Handler> subHandlers;
    Handler anyHandler;
    std::unique_lock<std::mutex> lock(mutex_);
    handlers.swap(handlers_);
    subHandlers.swap(subHandlers_);
    anyHandler.swap(anyHandler_);
    // A handler that drops the handlers would wait for itself.
    const bool idle = inHandler || changed_.wait_for(lock, seconds(timeout), [&] { return handlersRunning_ == 0; });
    if (!idle)
        std::fprintf(stderr, "PortalServer: %d handler call(s) still running %.1f s after the handlers were dropped\n",
                     handlersRunning_, timeout);
    lock.unlock();
    return idle;
}

void PortalServer::acceptLoop() {
    for (;;) {
        if (waitReadable(listener_.get(), stop_, -1) != WaitResult::Ready) return;
        Fd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.valid()) continue;
        serveConnection(std::move(client));
    }
}

void PortalServer::serveConnection(Fd client) {
    int connection = 0;
    {
        std::lock_guard<std::mutex> writing(writeMutex_);
        sent_ = 0;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        connection = ++connections_;
        clientFd_ = client.get();
        currentConnection_ = connection;
        tea_.reset();
    }
    changed_.notify_all();
    serve(std::move(client), connection);
}

void PortalServer::serve(Fd client, int connection) {
    auto finish = [&] {
        // Take the descriptor away from writers before closing it.
        std::lock_guard<std::mutex> writing(writeMutex_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            clientFd_ = -1;
            currentConnection_ = 0;
            tea_.reset();
            if (heldReads_) ++endsHeld_;
        }
        changed_.notify_all();
        client.reset();
        // Held back, the client is gone only once what it sent before its end has been
        // recorded and handled: a test that waits for the end must not meet those messages
        // after it (in the next test's record).
        const auto endHeld = [this] {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (endsHeld_ > 0) --endsHeld_;
            }
            changed_.notify_all();
        };
        if (heldReads_ && !heldReads_->add(endHeld)) endHeld(); // stopped: nothing is held
    };

    uint8_t hello[9];
    if (!readExact(client.get(), hello, sizeof hello, stop_, 10.0)) {
        recordError("no hello");
        return finish();
    }
    Hello h;
    h.protocolId = hello[0];
    uint64_t key = 0;
    for (int i = 1; i < 9; ++i)
        key = (key << 8) | hello[i];
    h.key = static_cast<int64_t>(key);
    if (h.protocolId != 10) {
        recordError("bad hello: protocol id " + std::to_string(h.protocolId));
        return finish();
    }
    auto tea = std::make_shared<const TEA>(h.key);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        hellos_.push_back(h);
        tea_ = tea;
    }
    changed_.notify_all();

    FrameReader frames;
    std::vector<uint8_t> buffer(64 * 1024);
    std::vector<uint8_t> body;
    for (;;) {
        if (waitReadable(client.get(), stop_, -1) != WaitResult::Ready) return finish();
        ssize_t n = ::recv(client.get(), buffer.data(), buffer.size(), 0);
        if (n <= 0) return finish();
        frames.append(buffer.data(), static_cast<size_t>(n));
        for (;;) {
            auto result = frames.next(body);
            if (result == FrameReader::Result::NeedMore) break;
            if (result == FrameReader::Result::Error) {
                recordError(frames.error());
                return finish();
            }
            std::string why;
            auto message = decodeFrameBody(*tea, body, &why);
            if (!message) {
                recordError(why);
                continue;
            }
            if (heldReads_)
                heldReads_->add([this, held = std::move(*message), connection]() mutable { handle(held, connection); });
            else
                handle(*message, connection);
        }
    }
}

void PortalServer::handle(Message& message, int connection) {
    std::function<bool(const Message&)> admits;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({message.commandId(), message.data()});
        admits = admits_;
    }
    if (admits && !admits(message)) return changed_.notify_all();
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto sub = message.data().empty() ? subHandlers_.end()
                                          : subHandlers_.find({message.commandId(), int8_t(message.data()[0])});
        auto it = handlers_.find(message.commandId());
        if (sub != subHandlers_.end())
            handler = sub->second;
        else
            handler = it != handlers_.end() ? it->second : anyHandler_;
        if (handler) ++handlersRunning_;
    }
    changed_.notify_all();
    if (!handler) return;
    struct Running {
        PortalServer& portal;
        Handler& handler;
        Running(PortalServer& portal, Handler& handler) : portal(portal), handler(handler) { inHandler = true; }
        ~Running() {
            inHandler = false;
            // The copy holds what the handler captured: it goes before the call counts as done.
            handler = nullptr;
            {
                std::lock_guard<std::mutex> lock(portal.mutex_);
                --portal.handlersRunning_;
            }
            portal.changed_.notify_all();
        }
    } running(*this, handler);
    Reply reply(*this, connection);
    handler(message, reply);
}

bool PortalServer::sendToConnection(int connection, const std::vector<uint8_t>* raw, const Message* message) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        // A client that is connecting gets its message once its hello is in.
        changed_.wait_for(lock, seconds(5), [&] { return currentConnection_ == 0 || tea_ != nullptr; });
    }
    std::lock_guard<std::mutex> writing(writeMutex_);
    std::shared_ptr<const TEA> tea;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!tea_ || (connection != 0 && connection != currentConnection_)) return false;
        connection = currentConnection_;
        tea = tea_;
    }
    std::vector<uint8_t> bytes = raw ? *raw : encodeFrame(*tea, *message);
    if (heldWrites_) {
        // Numbered now, in the order of sending: the writes keep that order.
        heldWrites_->add([this, connection, bytes = std::move(bytes)] {
            std::lock_guard<std::mutex> writing(writeMutex_);
            writeLocked(connection, bytes);
        });
    } else if (!writeLocked(connection, bytes)) {
        return false;
    }
    if (message) lastSent = {this, ++sent_};
    return true;
}

bool PortalServer::writeLocked(int connection, const std::vector<uint8_t>& bytes) {
    int fd = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (connection != currentConnection_) return false;
        fd = clientFd_;
    }
    return fd >= 0 && sendAll(fd, bytes.data(), bytes.size());
}

bool PortalServer::sendToClient(const Message& message) {
    return sendToConnection(0, nullptr, &message);
}

bool PortalServer::sendRawToClient(const std::vector<uint8_t>& bytes) {
    return sendToConnection(0, &bytes, nullptr);
}

std::optional<std::vector<uint8_t>> PortalServer::frameFor(const Message& message) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!tea_) return std::nullopt;
    return encodeFrame(*tea_, message);
}

uint64_t PortalServer::lastSentByThisThread() const {
    return lastSent.server == this ? lastSent.number : 0;
}

void PortalServer::closeClient() {
    if (!heldWrites_) return shutdownClient(0);
    int connection = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        connection = currentConnection_;
    }
    if (connection != 0) heldWrites_->add([this, connection] { shutdownClient(connection); });
}

void PortalServer::shutdownClient(int connection) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (connection != 0 && connection != currentConnection_) return;
    // The serving thread sees the end of the stream and releases the descriptor.
    if (clientFd_ >= 0) ::shutdown(clientFd_, SHUT_RDWR);
}

int PortalServer::connectionCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connections_;
}

bool PortalServer::waitForConnections(int count, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, seconds(timeout), [&] { return connections_ >= count; });
}

bool PortalServer::isClientConnected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return clientFd_ >= 0;
}

bool PortalServer::waitForClientGone(double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, seconds(timeout), [&] { return clientFd_ < 0 && endsHeld_ == 0; });
}

std::vector<PortalServer::Hello> PortalServer::hellos() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return hellos_;
}

std::vector<std::string> PortalServer::protocolErrors() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return errors_;
}

void PortalServer::recordError(const std::string& error) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        errors_.push_back(error);
    }
    changed_.notify_all();
}

std::vector<RecordedMessage> PortalServer::messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

std::vector<RecordedMessage> PortalServer::messages(int16_t commandId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<RecordedMessage> found;
    for (auto& m : messages_)
        if (m.commandId == commandId) found.push_back(m);
    return found;
}

bool PortalServer::waitForMessages(size_t count, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, seconds(timeout), [&] { return messages_.size() >= count; });
}

std::optional<RecordedMessage> PortalServer::waitFor(int16_t commandId, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    std::optional<RecordedMessage> found;
    changed_.wait_for(lock, seconds(timeout), [&] {
        for (auto& m : messages_)
            if (m.commandId == commandId) {
                found = m;
                return true;
            }
        return false;
    });
    return found;
}

void PortalServer::clearMessages() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
}

} // namespace portalserver
