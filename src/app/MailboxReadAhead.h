#pragma once

#include "app/StoredMailbox.h"
#include "platform/runtime/SerialQueue.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace kavo {

// Reads the stored mailbox of the player about to sign in before the server answers, so
// that the sign-in reply finds it read and only hands it over.
//
// The player remembered from the last sign-in (his name beside his id, kPlayerIdKey) is
// known before the sign-in: when the log-in form shows or sends his name, his stored
// mailbox is read, decoded, checked and indexed on a thread of its own while the player
// picks the server and the client connects and signs in. The sign-in reply's thread takes
// it (take): it waits for a read still under way, and a read of another player than the
// one the server signed in is dropped and read anew for the right one. A read dropped while
// under way stops. What is not used is freed on the read-ahead thread, never on the main
// thread, and its memory given back to the system.
//
// The copy read is taken on the main thread when the read starts, in order with the
// mailbox's saves; a save of that player after it makes the restore refuse it, and the
// sign-in reads it again (MailStore::isCurrent).
//
// start, startFor and drop are for the main thread; take for the thread that handles the
// sign-in reply. Nothing here is read by a screen.
class MailboxReadAhead {
public:
    // The id of the player who signed in last, stored beside his name
    // ("KAVO_LOGIN_USERNAME_SUCCESS").
    static constexpr const char* kPlayerIdKey = "KAVO_LOGIN_IDDB_SUCCESS";

    static MailboxReadAhead& shared();
    ~MailboxReadAhead();

    // The log-in screen shows: the player remembered from the last sign-in (if any) is the
    // likely one, and his stored mailbox is read ahead.
    void startForRemembered();
    // `name` is typed into the log-in form or signs in: when that is the remembered player,
    // his stored mailbox is read ahead (or goes on being read); otherwise a read begun for
    // someone else is dropped.
    void startFor(const std::string& name);
    // Reads `iddb`'s stored mailbox on the read-ahead thread, unless it is read or being
    // read already, or his list is the one in memory.
    void start(int32_t iddb);
    // Drops what was read ahead or is being read (a read under way stops); the read-ahead
    // thread frees it.
    void drop();
    // `iddb`'s stored mailbox for the sign-in: the one read ahead when it is his, once its
    // read ends; else read now on the calling thread.
    StoredMailbox take(int32_t iddb);

    // Between tests: drops what was read ahead and waits until the read-ahead thread is idle.
    void reset();

private:
    // One read: filled in by the read-ahead thread, taken by the sign-in or dropped.
    struct Read;

    MailboxReadAhead() = default;
    // Marks `read` dropped; a mailbox it holds already is freed on the read-ahead thread.
    void drop(const std::shared_ptr<Read>& read);

    std::mutex mutex_;
    // The read begun last and not taken or dropped yet.
    std::shared_ptr<Read> current_;
    // Last: goes first, running (and so freeing) what is still queued.
    platform::SerialQueue queue_{"kavo-readahead"};
};

} // namespace kavo
