#include "platform/foundation/NotificationCenter.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace platform;

TEST(NotificationCenter, ObserversHearTheirNameInTheOrderAdded) {
    NotificationCenter center;
    std::vector<std::string> heard;
    center.addObserver("reachability", [&](const Notification& n) { heard.push_back("a:" + n.name); });
    center.addObserver("other", [&](const Notification&) { heard.push_back("wrong"); });
    center.addObserver("reachability",
                       [&](const Notification& n) { heard.push_back("b:" + n.userInfo["status"].stringValue()); });
    Value info;
    info.set("status", 2);
    center.post("reachability", info);
    EXPECT_EQ(heard, (std::vector<std::string>{"a:reachability", "b:2"}));
}

TEST(NotificationCenter, AnEmptyNameHearsEverythingAndTheSenderIsPassedOn) {
    NotificationCenter center;
    int sender = 0;
    const void* seen = nullptr;
    int count = 0;
    center.addObserver("", [&](const Notification& n) {
        seen = n.sender;
        ++count;
    });
    center.post("one", {}, &sender);
    center.post("two");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(seen, nullptr);
}

TEST(NotificationCenter, AnObserverMayRemoveItselfWhileBeingCalled) {
    NotificationCenter center;
    int calls = 0;
    NotificationCenter::Token self = 0;
    self = center.addObserver("tick", [&](const Notification&) {
        ++calls;
        center.removeObserver(self);
    });
    center.post("tick");
    center.post("tick");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(center.observerCount(), 0u);
}

TEST(NotificationCenter, AnObserverRemovedByAnEarlierOneIsNotCalled) {
    NotificationCenter center;
    std::vector<int> heard;
    NotificationCenter::Token second = 0;
    center.addObserver("tick", [&](const Notification&) {
        heard.push_back(1);
        center.removeObserver(second);
    });
    second = center.addObserver("tick", [&](const Notification&) { heard.push_back(2); });
    center.addObserver("tick", [&](const Notification&) { heard.push_back(3); });
    center.post("tick");
    EXPECT_EQ(heard, (std::vector<int>{1, 3}));
}

TEST(NotificationCenter, AnObserverAddedDuringAPostHearsOnlyLaterPosts) {
    NotificationCenter center;
    int late = 0;
    bool added = false;
    center.addObserver("tick", [&](const Notification&) {
        if (!added) center.addObserver("tick", [&](const Notification&) { ++late; });
        added = true;
    });
    center.post("tick");
    EXPECT_EQ(late, 0);
    center.post("tick");
    EXPECT_EQ(late, 1);
}

TEST(NotificationCenter, PostsFromSeveralThreadsReachEveryObserver) {
    NotificationCenter center;
    std::atomic<int> heard{0};
    for (int i = 0; i < 4; ++i)
        center.addObserver("ping", [&](const Notification&) { ++heard; });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                center.post("ping");
                auto token = center.addObserver("unused", [](const Notification&) {});
                center.removeObserver(token);
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(heard.load(), 4 * 4 * 100);
}

TEST(NotificationCenter, RemovingAnUnknownTokenIsHarmless) {
    NotificationCenter::defaultCenter().removeObserver(987654321);
    auto token = NotificationCenter::defaultCenter().addObserver("x", [](const Notification&) {});
    EXPECT_NE(token, 0u);
    NotificationCenter::defaultCenter().removeObserver(token);
    NotificationCenter::defaultCenter().removeObserver(token);
}
