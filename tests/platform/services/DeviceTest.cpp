#include "platform/services/Device.h"

#include "ServicesTestSupport.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/Reachability.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class ReachabilityTest : public services_test::MainLoopTest {
protected:
    void SetUp() override {
        MainLoopTest::SetUp();
        token_ = NotificationCenter::defaultCenter().addObserver(
            kReachabilityChangedNotification,
            [this](const Notification& n) { statuses_.push_back(n.userInfo["status"].intValue()); });
    }
    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(token_);
        Reachability::setForcedStatus(std::nullopt);
        MainLoopTest::TearDown();
    }

    std::vector<int> statuses_;
    NotificationCenter::Token token_ = 0;
};

TEST_F(ReachabilityTest, AStartedNotifierPostsWhenTheStatusChanges) {
    Reachability::setForcedStatus(NetworkStatus::ReachableViaWiFi);
    auto reachability = Reachability::forInternetConnection();
    EXPECT_TRUE(reachability->startNotifier());
    EXPECT_EQ(reachability->currentStatus(), NetworkStatus::ReachableViaWiFi);

    RunLoop::main().advance(Reachability::kPollInterval);
    EXPECT_TRUE(statuses_.empty()) << "nothing changed";

    Reachability::setForcedStatus(NetworkStatus::NotReachable);
    RunLoop::main().advance(Reachability::kPollInterval - 0.1);
    EXPECT_TRUE(statuses_.empty()) << "the next look is 2 s after the last";
    RunLoop::main().advance(0.1);
    EXPECT_EQ(statuses_, std::vector<int>{0});

    Reachability::setForcedStatus(NetworkStatus::ReachableViaWWAN);
    RunLoop::main().advance(Reachability::kPollInterval);
    EXPECT_EQ(statuses_, (std::vector<int>{0, 2}));
}

TEST_F(ReachabilityTest, AStoppedOrReleasedNotifierIsQuiet) {
    Reachability::setForcedStatus(NetworkStatus::ReachableViaWiFi);
    auto stopped = Reachability::forInternetConnection();
    stopped->startNotifier();
    stopped->stopNotifier();
    auto released = Reachability::forInternetConnection();
    released->startNotifier();
    released.reset();
    Reachability::setForcedStatus(NetworkStatus::NotReachable);
    RunLoop::main().advance(10);
    EXPECT_TRUE(statuses_.empty());
}

TEST_F(ReachabilityTest, TheLocalServerIsAlwaysReachable) {
    EXPECT_EQ(Reachability::reachabilityForHost("127.0.0.1")->currentStatus(), NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(Reachability::reachabilityForHost("localhost")->currentStatus(), NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(Reachability::reachabilityForHost("portal.example.test")->currentStatus(),
              Reachability::interfaceStatus());
    EXPECT_NE(Reachability::interfaceStatus(), NetworkStatus::ReachableViaWWAN) << "no mobile network here";
}

class DeviceTest : public ::testing::Test {
protected:
    void TearDown() override {
        Device::resetForTesting();
        Reachability::setForcedStatus(std::nullopt);
    }
};

TEST_F(DeviceTest, MachineFactsAreReadFromTheSystem) {
    EXPECT_EQ(Device::model(), "Linux");
    EXPECT_FALSE(Device::machine().empty());
    EXPECT_EQ(Device::systemName(), "Linux");
    EXPECT_FALSE(Device::systemVersion().empty());
    EXPECT_EQ(Device::carrierName(), "");
    EXPECT_GT(Device::freeMemory(), 0);
    double battery = Device::batteryLevel();
    EXPECT_TRUE(battery == -1 || (battery >= 0 && battery <= 1));
    EXPECT_EQ(Device::screenScale(), 1.0);
}

TEST_F(DeviceTest, TheUniqueIdentifierIsStableAndHidesTheMachineId) {
    std::string id = Device::uniqueIdentifier();
    EXPECT_EQ(id.size(), 32u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(Device::uniqueIdentifier(), id);
    std::ifstream machineId("/etc/machine-id");
    std::string raw;
    if (std::getline(machineId, raw) && !raw.empty()) {
        EXPECT_NE(id, raw);
    }
}

TEST_F(DeviceTest, NetworkTypeTextFollowsReachability) {
    Reachability::setForcedStatus(NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(Device::networkType(), "WIFI");
    Reachability::setForcedStatus(NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(Device::networkType(), "GPRS/3G");
    Reachability::setForcedStatus(NetworkStatus::NotReachable);
    EXPECT_EQ(Device::networkType(), "Others");
}

TEST_F(DeviceTest, TestsReplaceEveryFact) {
    DeviceFacts facts;
    facts.model = "TestPhone";
    facts.machine = "armv7l";
    facts.systemVersion = "4.3";
    facts.uniqueIdentifier = "abc";
    facts.carrierName = "Viettel";
    facts.networkStatus = NetworkStatus::ReachableViaWWAN;
    facts.freeMemory = 64 << 20;
    facts.batteryLevel = 0.5;
    Device::setForTesting(facts);
    EXPECT_EQ(Device::model(), "TestPhone");
    EXPECT_EQ(Device::machine(), "armv7l");
    EXPECT_EQ(Device::systemVersion(), "4.3");
    EXPECT_EQ(Device::systemName(), "Linux") << "fields left unset keep the machine's value";
    EXPECT_EQ(Device::uniqueIdentifier(), "abc");
    EXPECT_EQ(Device::carrierName(), "Viettel");
    EXPECT_EQ(Device::networkType(), "GPRS/3G");
    EXPECT_EQ(Device::freeMemory(), 64 << 20);
    EXPECT_EQ(Device::batteryLevel(), 0.5);

    Device::resetForTesting();
    EXPECT_EQ(Device::model(), "Linux");
    Device::setCarrierName("Mobifone");
    EXPECT_EQ(Device::carrierName(), "Mobifone");
}

} // namespace
