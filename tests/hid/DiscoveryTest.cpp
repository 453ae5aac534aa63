#include <gtest/gtest.h>

#include <cerrno>

#include "SimFixture.h"
#include "hid/DlopenHidBinder.h"

namespace tdxx::test {
namespace {

using sim::SimulatedBus;
using namespace std::chrono_literals;

struct DiscoveryCase {
  const char* label;
  std::vector<std::string> kinds;
  bool keepOpen;
  DeviceKind expected;
  // Expected devicePath as (device, interface), or device -1 for empty.
  int pathDevice;
  int pathInterface;
};

class DiscoveryTest : public ::testing::TestWithParam<DiscoveryCase> {};

TEST_P(DiscoveryTest, FindsKindAndPath) {
  const DiscoveryCase& c = GetParam();
  SimRig rig(c.kinds);
  EXPECT_EQ(rig.transport->FindKeypad(c.keepOpen), c.expected);
  EXPECT_EQ(rig.transport->devicePath(),
            c.pathDevice < 0 ? "" : SimulatedBus::InterfacePath(c.pathDevice, c.pathInterface));
  const bool holding = c.keepOpen && c.expected > 0;
  EXPECT_EQ(rig.bus().openHandleCount(), holding ? 1 : 0);
  // Without keepOpen discovery always ends unbound; with it the library stays bound.
  EXPECT_EQ(rig.transport->hidBound(), c.keepOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiscoveryTest,
    ::testing::Values(
        DiscoveryCase{"NothingPlugged", {}, false, 0, -1, 0},
        DiscoveryCase{"NothingPluggedKeepOpen", {}, true, 0, -1, 0},
        DiscoveryCase{"PairsThatMustNotMatch",
                      {"hid-1125-0607", "hid-16c0-1807", "hid-1125-180a", "hid-1125-1810",
                       "hid-1125-1812", "mouse"},
                      false,
                      0,
                      -1,
                      0},
        DiscoveryCase{"ThreeInterfacesOfOneKind", {"td-b-kbmouse:interfaces=3"}, false, 11, 0, 2},
        DiscoveryCase{
            "ThreeInterfacesKeepOpenHoldsFirst", {"td-b-kbmouse:interfaces=3"}, true, 11, 0, 0},
        DiscoveryCase{"TwoOfTheSameKindGiveTheLastPath", {"td-a", "td-a"}, false, 5, 1, 0},
        DiscoveryCase{"TwoKinds", {"917-v5", "tds-bootloader"}, false, -1, 1, 0},
        DiscoveryCase{"TwoKindsKeepOpenTakesFirst", {"917-v5", "tds-bootloader"}, true, 2, 0, 0},
        DiscoveryCase{"KeypadAndKeyboard", {"td-a", "wk-c"}, false, -1, 1, 0},
        DiscoveryCase{"ForeignDeviceIgnored", {"mouse", "wk-c", "mouse"}, false, 8, 1, 0}),
    [](const auto& info) { return std::string(info.param.label); });

// Every simulated kind must be recognised as the device it stands for.
TEST(DiscoveryKinds, EveryCatalogKindClassifies) {
  const std::vector<std::pair<std::string, DeviceKind>> kinds = {{"917-v4", 1},
                                                                 {"917-v5", 2},
                                                                 {"917-bootloader", 3},
                                                                 {"tdxx-bootloader", 4},
                                                                 {"td-b-bootloader", 4},
                                                                 {"wk-c-bootloader", 4},
                                                                 {"947-bootloader", 4},
                                                                 {"td-a", 5},
                                                                 {"td-b", 6},
                                                                 {"tds-bootloader", 7},
                                                                 {"947-tds-bootloader", 7},
                                                                 {"wk-c", 8},
                                                                 {"prg-tmode", 9},
                                                                 {"prg-tmode-td-b", 9},
                                                                 {"prg-tmode-wk-c", 9},
                                                                 {"td-a-kbmouse", 10},
                                                                 {"td-b-kbmouse", 11},
                                                                 {"wk-c-kbmouse", 12},
                                                                 {"slimkey-947", 14},
                                                                 {"mouse", 0}};
  for (const auto& [name, kind] : kinds) {
    SimRig rig({name});
    EXPECT_EQ(rig.transport->FindKeypad(false), kind) << name;
  }
  EXPECT_EQ(sim::Simulation::KnownKinds().size(), kinds.size());
}

TEST(Discovery, OpensAndClosesEveryMatchingInterfaceOnce) {
  SimRig rig({"mouse", "td-b-kbmouse:interfaces=3"});
  EXPECT_EQ(rig.transport->FindKeypad(false), 11);
  EXPECT_EQ(rig.device(0).openCount(), 0);  // identifiers come from the enumeration
  EXPECT_EQ(rig.device(1).openCount(), 3);
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  EXPECT_EQ(rig.bus().initCount(), rig.bus().exitCount());
}

TEST(Discovery, NoPermissionStillNamesTheDeviceAndRecordsThePath) {
  SimRig rig({"td-a:no-permission"});
  EXPECT_EQ(rig.transport->FindKeypad(false), 5);
  const std::string path = SimulatedBus::InterfacePath(0, 0);
  EXPECT_EQ(rig.transport->devicePath(), path);
  EXPECT_EQ(rig.transport->permissionDeniedPaths(), std::vector<std::string>{path});
}

TEST(Discovery, NoPermissionWithKeepOpenGoesOnToTheNextInterface) {
  SimRig rig({"td-a:no-permission", "td-b"});
  rig.device(0).RefuseOpen(EPERM);
  EXPECT_EQ(rig.transport->FindKeypad(true), 6);
  EXPECT_EQ(rig.transport->devicePath(), SimulatedBus::InterfacePath(1, 0));
  EXPECT_EQ(rig.transport->permissionDeniedPaths(),
            std::vector<std::string>{SimulatedBus::InterfacePath(0, 0)});
  rig.transport->CloseKeypad();

  // Alone, nothing is held.
  rig.device(1).Unplug();
  EXPECT_EQ(rig.transport->FindKeypad(true), 0);
  EXPECT_EQ(rig.transport->devicePath(), "");
  EXPECT_EQ(rig.transport->permissionDeniedPaths().size(), 1u);
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
}

// A node refuses opens until udev has applied its rule: with a grace, opens are tried again
// every 100 ms until it lets them; without one (a plain Connect) the refusal stands at once.
TEST(Discovery, PermissionGraceTriesARefusedOpenAgainUntilUdevLetsIt) {
  SimRig rig({"tdxx-bootloader:refuse-open-for=400"});
  ClockDuration start = rig.clock.Now();
  EXPECT_EQ(rig.transport->FindKeypad(true), 0);
  EXPECT_EQ(rig.clock.Now() - start, 0ms) << "a plain discovery is not slowed";
  rig.transport->CloseKeypad();

  rig.device().RefuseOpenAfterAppearing(400ms);
  {
    PermissionGrace grace(*rig.transport, PermissionGrace::kComeBack);
    start = rig.clock.Now();
    EXPECT_EQ(rig.transport->FindKeypad(true), 4);
    EXPECT_EQ(rig.clock.Now() - start, 400ms);
    rig.transport->CloseKeypad();
  }
  EXPECT_EQ(rig.transport->permissionGrace(), ClockDuration::zero());

  // A node that never lets the user in counts as not openable after the grace.
  rig.device().RefuseOpen(EACCES);
  PermissionGrace grace(*rig.transport, PermissionGrace::kComeBack);
  start = rig.clock.Now();
  EXPECT_EQ(rig.transport->FindKeypad(true), 0);
  EXPECT_GE(rig.clock.Now() - start, 1000ms);
  EXPECT_LT(rig.clock.Now() - start, 1100ms);
  rig.transport->CloseKeypad();
}

// hidapi lists an interface once per top-level collection, always with the same path.
TEST(Discovery, InterfaceListedPerCollectionIsLookedAtOnce) {
  {
    SimRig rig({"td-b-kbmouse:interfaces=3:collections=2"});
    EXPECT_EQ(rig.transport->FindKeypad(false), 11);
    EXPECT_EQ(rig.device().openCount(), 3);
    EXPECT_EQ(rig.transport->devicePath(), SimulatedBus::InterfacePath(0, 2));
  }
  {
    SimRig rig({"td-b-kbmouse:interfaces=3:collections=2:no-permission"});
    EXPECT_EQ(rig.transport->FindKeypad(false), 11);
    EXPECT_EQ(rig.transport->permissionDeniedPaths(),
              (std::vector<std::string>{SimulatedBus::InterfacePath(0, 0),
                                        SimulatedBus::InterfacePath(0, 1),
                                        SimulatedBus::InterfacePath(0, 2)}));
  }
  {
    SimRig rig({"td-a:collections=3:no-permission", "td-b:collections=2"});
    EXPECT_EQ(rig.transport->FindKeypad(true), 6);
    EXPECT_EQ(rig.transport->permissionDeniedPaths(),
              std::vector<std::string>{SimulatedBus::InterfacePath(0, 0)});
    EXPECT_EQ(rig.device(1).openHandleCount(), 1);
    rig.transport->CloseKeypad();
  }
}

TEST(Discovery, OtherOpenFailuresAreSkippedSilently) {
  SimRig rig({"td-a", "wk-c"});
  rig.device(0).RefuseOpen(ENOENT);  // vanished during the walk
  EXPECT_EQ(rig.transport->FindKeypad(false), 8);
  EXPECT_TRUE(rig.transport->permissionDeniedPaths().empty());
}

TEST(Discovery, NextDiscoveryClearsPathAndPermissionRecords) {
  SimRig rig({"td-a:no-permission"});
  rig.transport->FindKeypad(false);
  rig.device(0).Unplug();
  EXPECT_EQ(rig.transport->FindKeypad(false), 0);
  EXPECT_EQ(rig.transport->devicePath(), "");
  EXPECT_TRUE(rig.transport->permissionDeniedPaths().empty());
}

TEST(Binding, BindingTwiceBindsOnce) {
  SimRig rig({"td-a"});
  EXPECT_FALSE(rig.transport->LoadHidLibrary());
  EXPECT_FALSE(rig.transport->LoadHidLibrary());
  EXPECT_EQ(rig.simulation->simBinder().bindCount(), 1);
  EXPECT_EQ(rig.bus().initCount(), 1);
  rig.transport->UnloadHidLibrary();
  EXPECT_FALSE(rig.transport->hidBound());
  EXPECT_EQ(rig.bus().exitCount(), 1);
}

TEST(Binding, FailedBindingGivesMinusOneAndTheReason) {
  SimRig rig({"td-a"});
  rig.simulation->simBinder().FailBinding("libhidapi-hidraw.so.0: cannot open shared object file");
  EXPECT_TRUE(rig.transport->LoadHidLibrary());
  EXPECT_EQ(rig.transport->bindError(), "libhidapi-hidraw.so.0: cannot open shared object file");
  EXPECT_EQ(rig.transport->FindKeypad(false), -1);
  EXPECT_EQ(rig.transport->FindKeypad(true), -1);
  EXPECT_TRUE(rig.transport->OpenStream(ReportMode::U));
  EXPECT_FALSE(rig.transport->hidBound());
  EXPECT_EQ(rig.bus().openHandleCount(), 0);

  rig.simulation->simBinder().FailBinding("");
  EXPECT_EQ(rig.transport->FindKeypad(false), 5);
  EXPECT_EQ(rig.transport->bindError(), "");
}

TEST(Binding, FailedBindingForgetsEarlierPermissionRefusals) {
  SimRig rig({"td-a:no-permission"});
  EXPECT_EQ(rig.transport->FindKeypad(false), 5);
  ASSERT_EQ(rig.transport->permissionDeniedPaths().size(), 1u);
  rig.simulation->simBinder().FailBinding("libhidapi-hidraw.so.0: cannot open shared object file");
  EXPECT_EQ(rig.transport->FindKeypad(false), -1);
  EXPECT_TRUE(rig.transport->permissionDeniedPaths().empty());
}

TEST(Binding, DlopenNamesTheLoaderErrorOrTheMissingEntryPoint) {
  std::string error;
  EXPECT_EQ(DlopenHidBinder("libtdxx-absent-library.so.0").Bind(error), nullptr);
  EXPECT_NE(error.find("libtdxx-absent-library.so.0"), std::string::npos) << error;

  error.clear();
  EXPECT_EQ(DlopenHidBinder("libm.so.6").Bind(error), nullptr);
  EXPECT_EQ(error, "libm.so.6: missing entry point hid_init");
}

TEST(Binding, DlopenBindsTheSystemLibrary) {
  std::string error;
  std::unique_ptr<HidApi> api = DlopenHidBinder().Bind(error);
  ASSERT_NE(api, nullptr) << error;
  EXPECT_EQ(api->init(), 0);
  EXPECT_EQ(api->exit(), 0);
}

}  // namespace
}  // namespace tdxx::test
