#include "net/MobileClient.h"

#include "net/FrameReader.h"
#include "net/TEA.h"
#include "platform/runtime/Log.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace kavo {

// One connection attempt and, once connected, its socket. The start/reader thread,
// the writer thread and the client each hold it; the last one out releases the
// descriptors, so a thread never reads or writes a descriptor number that was
// already reused. Fields other than the descriptors are guarded by State::mutex.
struct MobileClient::Connection {
    uint64_t generation = 0;
    bool closed = false;      // ended: its threads report nothing more and leave
    bool established = false; // the hello was written
    int fd = -1;              // the connected socket, set once
    int wakeFd = -1;          // an eventfd that aborts a pending connect

    ~Connection() {
        if (fd >= 0) ::close(fd);
        if (wakeFd >= 0) ::close(wakeFd);
    }
};

// Everything the threads share with the client. Held by shared pointer so that a
// thread still leaving after the client is gone touches live memory.
struct MobileClient::State {
    mutable std::mutex mutex;
    std::condition_variable wake;        // the writer: a message was queued or its connection ended
    std::condition_variable threadsGone; // the destructor: activeThreads fell
    IMessageListener* listener = nullptr;
    std::deque<Message> queue;
    std::shared_ptr<const TEA> tea;
    std::shared_ptr<Connection> connection; // the current one, or none
    uint64_t nextGeneration = 1;
    int status = kStatusNeverConnected;
    int protocolId = 0;
    int64_t key = 0;
    double connectTimeout = kDefaultConnectTimeout;
    int activeThreads = 0;
};

namespace {

using StatePtr = std::shared_ptr<MobileClient::State>;
using ConnectionPtr = std::shared_ptr<MobileClient::Connection>;

template <class F> void callListener(F&& call) {
    // A fault in a listener must not take the connection's threads down with it.
    try {
        call();
    } catch (const std::exception& e) {
        platform::log(std::string("Exception:") + e.what());
    } catch (...) {
        platform::log("Exception:unknown");
    }
}

void nameThread(const char* name) {
    pthread_setname_np(pthread_self(), name);
}

// Counts a connection thread for the client's destructor.
struct ThreadExit {
    StatePtr state;
    ~ThreadExit() {
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            --state->activeThreads;
        }
        state->threadsGone.notify_all();
    }
};

// Writes every byte or fails. MSG_NOSIGNAL: a peer that went away is an error
// return, not a signal that ends the process.
bool sendAll(int fd, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        ssize_t n = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Ends `connection` (the current one when null) and tells the listener, on this
// thread, according to the status. Setting the status and taking the connection
// happen under one lock, so of several threads ending the same connection exactly
// one reports.
void endConnection(MobileClient::State& state, const ConnectionPtr& onlyIf, std::optional<int> newStatus,
                   bool report = true) {
    ConnectionPtr ended;
    IMessageListener* listener = nullptr;
    int status = 0;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (onlyIf && state.connection != onlyIf) return;
        if (newStatus) state.status = *newStatus;
        ended = std::move(state.connection);
        state.connection.reset();
        if (!ended) return;
        ended->closed = true;
        status = state.status;
        listener = state.listener;
    }
    state.wake.notify_all();
    // Wake the threads without releasing the descriptors under them: a reader
    // blocked in recv returns 0, a writer blocked in send fails, a pending connect
    // sees the eventfd.
    if (ended->fd >= 0) ::shutdown(ended->fd, SHUT_RDWR);
    if (ended->wakeFd >= 0) eventfd_write(ended->wakeFd, 1);
    if (!report || !listener) return;
    if (status == MobileClient::kStatusConnecting || status == MobileClient::kStatusNeverConnected)
        callListener([&] { listener->onConnectionFail(); });
    else if (status == MobileClient::kStatusConnected || status == MobileClient::kStatusDisconnected)
        callListener([&] { listener->onDisconnected(); });
}

void closeWithError(MobileClient::State& state, const ConnectionPtr& connection) {
    endConnection(state, connection, MobileClient::kStatusConnecting);
}

bool isClosed(MobileClient::State& state, const ConnectionPtr& connection) {
    std::lock_guard<std::mutex> lock(state.mutex);
    return connection->closed;
}

enum class ConnectOutcome { Connected, Failed, Aborted };

// Resolves and connects without blocking past the deadline, and gives up at once
// when the connection is ended meanwhile (its eventfd becomes readable). The
// time-out is real time: it bounds a kernel wait, not something the UI schedules.
ConnectOutcome openSocket(const std::string& host, uint16_t port, double timeout, int wakeFd, int& outFd) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeout));

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (rc != 0) {
        platform::log("MobileClient: cannot resolve " + host + ": " + gai_strerror(rc));
        return ConnectOutcome::Failed;
    }
    std::unique_ptr<addrinfo, void (*)(addrinfo*)> list(found, ::freeaddrinfo);

    for (addrinfo* ai = found; ai; ai = ai->ai_next) {
        int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) continue;
        bool connected = ::connect(fd, ai->ai_addr, ai->ai_addrlen) == 0;
        if (!connected && errno == EINPROGRESS) {
            for (;;) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
                if (left <= 0) {
                    ::close(fd);
                    platform::log("MobileClient: connecting to " + host + " timed out");
                    return ConnectOutcome::Failed;
                }
                pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFd, POLLIN, 0}};
                int ready = ::poll(fds, 2, static_cast<int>(left));
                if (ready < 0 && errno == EINTR) continue;
                if (ready < 0) break;
                if (fds[1].revents) {
                    ::close(fd);
                    return ConnectOutcome::Aborted;
                }
                if (fds[0].revents) {
                    int error = 0;
                    socklen_t len = sizeof error;
                    connected = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
                    break;
                }
            }
        }
        if (!connected) {
            ::close(fd);
            continue;
        }
        // The reader and writer block; small request frames go out at once.
        int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        outFd = fd;
        return ConnectOutcome::Connected;
    }
    platform::log("MobileClient: cannot connect to " + host + ":" + std::to_string(port));
    return ConnectOutcome::Failed;
}

void writeLoop(StatePtr state, ConnectionPtr connection) {
    nameThread("kavo-writer");
    ThreadExit exit{state};
    for (;;) {
        Message message;
        std::shared_ptr<const TEA> tea;
        {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->wake.wait(lock, [&] { return connection->closed || !state->queue.empty(); });
            if (connection->closed) return;
            message = std::move(state->queue.front());
            state->queue.pop_front();
            tea = state->tea;
        }
        std::vector<uint8_t> frame = encodeFrame(*tea, std::move(message));
        if (!sendAll(connection->fd, frame.data(), frame.size())) {
            if (!isClosed(*state, connection))
                platform::log(std::string("MobileClient: write failed: ") + strerror(errno));
            closeWithError(*state, connection);
            return;
        }
    }
}

// Hands one frame body to the listener. Returns false once the connection ended.
bool deliver(MobileClient::State& state, const ConnectionPtr& connection, const std::vector<uint8_t>& body) {
    std::shared_ptr<const TEA> tea;
    IMessageListener* listener = nullptr;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (connection->closed) return false;
        tea = state.tea;
        listener = state.listener;
    }
    std::string why;
    auto message = decodeFrameBody(*tea, body, &why);
    if (!message) {
        platform::log("MobileClient: dropped a frame: " + why);
        return true;
    }
    if (listener) callListener([&] { listener->onMessage(*message); });
    return true;
}

void readLoop(const StatePtr& state, const ConnectionPtr& connection) {
    nameThread("kavo-reader");
    FrameReader frames;
    std::vector<uint8_t> buffer(64 * 1024);
    std::vector<uint8_t> body;
    for (;;) {
        ssize_t n = ::recv(connection->fd, buffer.data(), buffer.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (!isClosed(*state, connection))
                platform::log(n == 0 ? std::string("MobileClient: the server closed the connection")
                                     : std::string("MobileClient: read failed: ") + strerror(errno));
            closeWithError(*state, connection);
            return;
        }
        frames.append(buffer.data(), static_cast<size_t>(n));
        for (;;) {
            auto result = frames.next(body);
            if (result == FrameReader::Result::NeedMore) break;
            if (result == FrameReader::Result::Error) {
                platform::log("MobileClient: " + frames.error());
                closeWithError(*state, connection);
                return;
            }
            if (!deliver(*state, connection, body)) return;
        }
    }
}

// The start thread: connect, hello, writer, onConnectionOK, then it reads.
void runConnection(StatePtr state, ConnectionPtr connection, std::string host, uint16_t port, double timeout) {
    nameThread("kavo-connect");
    ThreadExit exit{state};
    int fd = -1;
    auto outcome = openSocket(host, port, timeout, connection->wakeFd, fd);
    if (outcome == ConnectOutcome::Aborted) return;
    if (outcome == ConnectOutcome::Failed) {
        closeWithError(*state, connection);
        return;
    }

    // The key is the wall-clock time in milliseconds, fresh for every connection.
    auto key = static_cast<int64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count());
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (connection->closed) {
            ::close(fd);
            return;
        }
        connection->fd = fd;
        state->protocolId = MobileClient::kProtocolId;
        state->key = key;
        state->tea = std::make_shared<const TEA>(key);
    }
    uint8_t hello[9];
    hello[0] = MobileClient::kProtocolId;
    for (int i = 0; i < 8; ++i)
        hello[1 + i] = static_cast<uint8_t>(static_cast<uint64_t>(key) >> (56 - 8 * i));
    if (!sendAll(fd, hello, sizeof hello)) {
        if (!isClosed(*state, connection)) platform::log("MobileClient: the hello could not be written");
        closeWithError(*state, connection);
        return;
    }

    IMessageListener* listener = nullptr;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (connection->closed) return;
        connection->established = true;
        state->status = MobileClient::kStatusConnected;
        listener = state->listener;
        ++state->activeThreads;
    }
    try {
        std::thread(writeLoop, state, connection).detach();
    } catch (const std::exception& e) {
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            --state->activeThreads;
        }
        platform::log(std::string("MobileClient: cannot start the writer: ") + e.what());
        closeWithError(*state, connection);
        return;
    }
    // The reader starts after onConnectionOK returns, so the listener hears of the
    // connection before any of its messages or its end.
    if (listener) callListener([&] { listener->onConnectionOK(); });
    readLoop(state, connection);
}

} // namespace

MobileClient& MobileClient::getInstance() {
    static MobileClient* instance = new MobileClient(); // lives for the process
    return *instance;
}

MobileClient::MobileClient() : MobileClient(nullptr) {}

MobileClient::MobileClient(IMessageListener* listener) : state_(std::make_shared<State>()) {
    state_->listener = listener;
}

MobileClient::~MobileClient() {
    shutDown(2.0);
}

void MobileClient::shutDown(double timeoutSeconds) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->listener = nullptr;
    }
    endConnection(*state_, nullptr, std::nullopt, false);
    // Bounded: a thread stuck in a main-thread hop while the main thread is here
    // must not hang the process. It holds the shared state and reports nothing.
    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->threadsGone.wait_for(lock, std::chrono::duration<double>(timeoutSeconds),
                                 [&] { return state_->activeThreads == 0; });
}

bool MobileClient::threadsGone() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->activeThreads == 0;
}

bool MobileClient::isConnected() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    const auto& c = state_->connection;
    return c && c->established && !c->closed;
}

void MobileClient::setHandler(IMessageListener* listener) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->listener = listener;
}

IMessageListener* MobileClient::delegate() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->listener;
}

bool MobileClient::connectToHost(const std::string& host, uint16_t port) {
    ConnectionPtr connection;
    double timeout = 0;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (!state_->listener)
            throw MobileClientException("Attempting to connect without a delegate. Set a delegate first.");
        if (state_->connection) return true;
        state_->status = kStatusConnecting;
        connection = std::make_shared<Connection>();
        connection->generation = state_->nextGeneration++;
        connection->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (connection->wakeFd < 0) {
            platform::log(std::string("MobileClient: cannot start a connection: ") + strerror(errno));
            return false;
        }
        state_->connection = connection;
        timeout = state_->connectTimeout;
        ++state_->activeThreads;
    }
    try {
        std::thread(runConnection, state_, connection, host, port, timeout).detach();
    } catch (const std::exception& e) {
        platform::log(std::string("MobileClient: cannot start a connection: ") + e.what());
        {
            std::lock_guard<std::mutex> lock(state_->mutex);
            --state_->activeThreads;
        }
        endConnection(*state_, connection, std::nullopt, false);
        return false;
    }
    return true;
}

void MobileClient::sendMessage(Message message) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->queue.push_back(std::move(message));
    }
    state_->wake.notify_all();
}

void MobileClient::close() {
    endConnection(*state_, nullptr, std::nullopt);
}
void MobileClient::disconnect() {
    endConnection(*state_, nullptr, kStatusDisconnected);
}
void MobileClient::manualDisconnect() {
    endConnection(*state_, nullptr, kStatusManualDisconnected);
}

int MobileClient::connectStatus() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->status;
}

int MobileClient::protocolId() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->protocolId;
}

void MobileClient::setKey(int64_t key) {
    auto tea = std::make_shared<const TEA>(key);
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->tea = std::move(tea);
}

int64_t MobileClient::connectionKey() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->key;
}

void MobileClient::setConnectTimeout(double seconds) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->connectTimeout = seconds;
}

size_t MobileClient::queuedMessageCount() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->queue.size();
}

void MobileClient::forgetQueuedMessages() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->queue.clear();
}

} // namespace kavo
