#include "tests/e2e/restore/MailRestoreSupport.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/MailboxReadAhead.h"
#include "app/StoredMailbox.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "tests/support/Bytes.h"

#include <algorithm>
#include <chrono>

namespace kavo::test {

std::shared_ptr<KavoMessage> mail(int32_t type, int64_t time, const std::string& text) {
    auto m = std::make_shared<KavoMessage>();
    m->setType(type);
    m->setTime(time);
    m->setFromID(7);
    m->setFromName("admin");
    m->setMessage(text);
    return m;
}

std::shared_ptr<KavoMessage> storedMail(int i) {
    return mail(1, kStoredTime - i, "thu " + std::to_string(i));
}

KavoMessageList storedMails(int count) {
    KavoMessageList mails;
    for (int i = 1; i <= count; ++i)
        mails.push_back(storedMail(i));
    return mails;
}

Message mailboxReply(const KavoMessageList& mails) {
    Bytes body;
    for (const auto& m : mails)
        body.int32(m->type()).int64(m->time()).int32(m->fromID()).utf(m->fromName()).utf(m->message());
    return body.message(1701);
}

Message signInReply(int32_t iddb) {
    return Bytes().int32(iddb).int64(ClientWorld::kPlayerMoney).int16(3).int32(1500).message(3);
}

std::vector<std::string> texts(const KavoMessageList& list) {
    std::vector<std::string> out;
    for (const auto& m : list)
        out.push_back(m->message());
    return out;
}

std::vector<std::string> storedTexts(int32_t iddb) {
    const platform::Value value = platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(iddb));
    return texts(KavoMessage::unarchiveList(value.dataValue()).value_or(KavoMessageList{}));
}

std::function<bool(const std::string&)> readEnded(int32_t iddb) {
    const std::string whose = "stored mailbox of " + std::to_string(iddb) + ": ";
    return [whose](const std::string& line) {
        return line.starts_with(whose) && (line.ends_with(" mails read") || line.ends_with("not read"));
    };
}

std::string readBegins(int32_t iddb) {
    return "stored mailbox of " + std::to_string(iddb) + ": reading";
}

std::string readStopped(int32_t iddb) {
    return "stored mailbox of " + std::to_string(iddb) + ": dropped, not read";
}

// ---------------------------------------------------------------- the log

LogWatch::LogWatch() {
    platform::setLogSink([this](const std::string& line) {
        platform::writeLogLine(line);
        {
            std::lock_guard lock(mutex_);
            lines_.push_back({line, platform::isMainThread()});
        }
        written_.notify_all();
    });
}

LogWatch::~LogWatch() {
    platform::setLogSink(nullptr);
}

bool LogWatch::waitFor(const std::function<bool(const std::string&)>& wanted, double timeout) {
    std::unique_lock lock(mutex_);
    return written_.wait_for(lock, std::chrono::duration<double>(timeout), [&] {
        return std::any_of(lines_.begin(), lines_.end(), [&](const Line& line) { return wanted(line.text); });
    });
}

size_t LogWatch::count(const std::string& part) const {
    std::lock_guard lock(mutex_);
    return size_t(std::count_if(lines_.begin(), lines_.end(),
                                [&](const Line& line) { return line.text.find(part) != std::string::npos; }));
}

bool LogWatch::writtenOnMainThread(const std::string& part) const {
    std::lock_guard lock(mutex_);
    return std::any_of(lines_.begin(), lines_.end(), [&](const Line& line) {
        return line.onMainThread && line.text.find(part) != std::string::npos;
    });
}

// ---------------------------------------------------------------- the hold

TextHold::TextHold(const platform::Value& stored) {
    thread_ = std::thread([this, stored] {
        stored.readBase64Text([this](std::string_view) {
            std::unique_lock lock(mutex_);
            held_ = true;
            changed_.notify_all();
            forTurns_ =
                changed_.wait_for(lock, std::chrono::duration<double>(kPatience), [this] { return turns_ >= kTurns; });
        });
        std::lock_guard lock(mutex_);
        givenBack_ = true;
        changed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return held_ || givenBack_; });
    holding_ = held_;
}

TextHold::~TextHold() {
    {
        std::lock_guard lock(mutex_);
        turns_ = kTurns;
    }
    changed_.notify_all();
    thread_.join();
}

void TextHold::mainTurned() {
    {
        std::lock_guard lock(mutex_);
        ++turns_;
    }
    changed_.notify_all();
}

bool TextHold::givenBackForTurns() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return givenBack_; });
    return forTurns_;
}

// ---------------------------------------------------------------- the hops

WaitingHops::WaitingHops() {
    platform::RunLoop::main().setTestHook([count = count_](platform::RunLoop::TestMoment moment) {
        if (moment != platform::RunLoop::TestMoment::AwaitsMain) return;
        {
            std::lock_guard lock(count->mutex);
            ++count->hops;
        }
        count->changed.notify_all();
    });
}

bool WaitingHops::reached(int count) {
    std::unique_lock lock(count_->mutex);
    return count_->changed.wait_for(lock, std::chrono::duration<double>(kStateWait),
                                    [&] { return count_->hops >= count; });
}

// ---------------------------------------------------------------- the reads

namespace {

// A bound for what never comes: far above what any load makes of a read's step.
constexpr auto kReadWait = std::chrono::seconds(30);

} // namespace

struct ReadWatch::State {
    mutable std::mutex mutex;
    std::condition_variable changed;
    bool holding = false;
    std::vector<size_t> looks;
    std::vector<GivenBack> givenBack;
};

ReadWatch::ReadWatch(Hold hold) : state_(std::make_shared<State>()) {
    state_->holding = hold == kHoldFirstLook;
    StoredMailbox::setTestHook([state = state_](StoredMailbox::TestMoment moment, size_t mails) {
        std::unique_lock lock(state->mutex);
        if (moment == StoredMailbox::TestMoment::GivenBack) {
            state->givenBack.push_back({mails, platform::isMainThread()});
            state->changed.notify_all();
            return;
        }
        state->looks.push_back(mails);
        state->changed.notify_all();
        // Bounded: a test that fails before it lets go does not leave the read there for good.
        if (state->looks.size() == 1) state->changed.wait_for(lock, kReadWait, [&] { return !state->holding; });
    });
}

ReadWatch::~ReadWatch() {
    release();
    StoredMailbox::setTestHook(nullptr);
}

bool ReadWatch::waitForLook() {
    std::unique_lock lock(state_->mutex);
    return state_->changed.wait_for(lock, kReadWait, [&] { return !state_->looks.empty(); });
}

void ReadWatch::release() {
    {
        std::lock_guard lock(state_->mutex);
        state_->holding = false;
    }
    state_->changed.notify_all();
}

std::vector<size_t> ReadWatch::looks() const {
    std::lock_guard lock(state_->mutex);
    return state_->looks;
}

bool ReadWatch::waitForGivenBack() {
    std::unique_lock lock(state_->mutex);
    return state_->changed.wait_for(lock, kReadWait, [&] { return !state_->givenBack.empty(); });
}

std::vector<ReadWatch::GivenBack> ReadWatch::givenBack() const {
    std::lock_guard lock(state_->mutex);
    return state_->givenBack;
}

// ---------------------------------------------------------------- the fixture

void MailRestoreRoad::storeInFile(int32_t iddb, const KavoMessageList& mailbox, const KavoMessageList& read,
                                  bool remembered) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setData(KavoMessage::archiveList(mailbox), UIController::listMessageKey(iddb));
    if (!read.empty()) defaults.setData(KavoMessage::archiveList(read), UIController::readMailKey(iddb));
    if (remembered) {
        defaults.setString("an", "KAVO_LOGIN_USERNAME_SUCCESS");
        defaults.setInt(iddb, MailboxReadAhead::kPlayerIdKey);
    }
    defaults.flush();
    defaults.reset();
}

::testing::AssertionResult MailRestoreRoad::connect() {
    const int connections = portal().connectionCount();
    GlobalService::getInstance().connect();
    if (!portal().waitForConnections(connections + 1, kStateWait))
        return ::testing::AssertionFailure() << "no connection";
    return ::testing::AssertionSuccess();
}

bool MailRestoreRoad::runUntil(const std::function<bool()>& done, double timeout) {
    return platform::RunLoop::main().runUntil(done, timeout);
}

bool MailRestoreRoad::gridOnTop() {
    return bool(std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController()));
}

bool MailRestoreRoad::listed(const std::string& text) {
    const auto list = UIController::listMessage();
    return std::any_of(list.begin(), list.end(), [&](const auto& m) { return m->message() == text; });
}

std::optional<int32_t> MailRestoreRoad::owner() {
    return UIController::listMessageOwner();
}

bool MailRestoreRoad::portalGot(int16_t command) {
    return portal().waitFor(command, kStateWait).has_value();
}

} // namespace kavo::test
