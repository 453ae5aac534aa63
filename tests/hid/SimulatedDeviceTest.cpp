#include <gtest/gtest.h>

#include "SimFixture.h"
#include "sim/DeviceCatalog.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

// One command, a 100 ms look, and everything that waited: how the protocol asks.
std::string Ask(SimRig& rig, std::uint8_t command) {
  const char text[] = {0x40, static_cast<char>(command), 0};
  EXPECT_FALSE(rig.transport->SendText(text));
  rig.clock.Pause(100ms);
  std::string reply;
  while (rig.transport->BytesAvailable() > 0)
    reply += static_cast<char>(rig.transport->ReadByte());
  return reply;
}

void Open(SimRig& rig, ReportMode mode) {
  rig.transport->FindKeypad(false);
  ASSERT_FALSE(rig.transport->OpenStream(mode));
}

TEST(SimulatedBootloader, AnswersTheVersionCommandsInU) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  EXPECT_EQ(Ask(rig, sim::kCommandVersion), "TDS Boot v2.10  ");
  EXPECT_EQ(Ask(rig, sim::kCommandKeypadVersion), "TDS-A v4.20     ");
  EXPECT_EQ(Ask(rig, sim::kCommandFlashDriveVersion), "TDS FD v1.05    ");
  EXPECT_EQ(Ask(rig, sim::kCommandKeyCapacity), std::string(1, 24));
  EXPECT_EQ(Ask(rig, 0x55), "");  // unknown command: no answer
  // Each reply came as one 64-byte input report.
  for (const auto& report : rig.device().inputReports())
    EXPECT_EQ(report.bytes.size(), 64u);
  rig.transport->CloseStream();
  EXPECT_EQ(rig.clock.stalls(), 0);
}

TEST(SimulatedPrgTMode, AnswersInEightByteReports) {
  SimRig rig({"prg-tmode"});
  Open(rig, ReportMode::T);
  EXPECT_EQ(Ask(rig, sim::kCommandVersion), "TD-A TMode v3.12");
  EXPECT_EQ(Ask(rig, sim::kCommandBuildDate), "20190412");
  EXPECT_EQ(Ask(rig, sim::kCommandBootloaderInstalled), "Y");
  const auto inputs = rig.device().inputReports();
  ASSERT_EQ(inputs.size(), 3u + 2u + 1u);  // 16 = 7+7+2, 8 = 7+1, 1
  EXPECT_EQ(inputs[0].bytes, Bytes({7, 'T', 'D', '-', 'A', ' ', 'T', 'M'}));
  EXPECT_EQ(inputs[2].bytes, Bytes({2, '1', '2', 0, 0, 0, 0, 0}));
  rig.transport->CloseStream();
}

TEST(SimulatedFaults, ShortGarbageAndNoAnswer) {
  SimRig rig({"tdxx-bootloader"});
  sim::SimulatedDevice& device = rig.device();
  device.SetShortAnswer(sim::kCommandVersion, 10);
  device.SetGarbageAnswer(sim::kCommandKeypadVersion);
  device.SetNoAnswer(sim::kCommandFlashDriveVersion);
  device.SetReply(sim::kCommandKeyCapacity, Bytes({66, 66}));
  Open(rig, ReportMode::U);
  EXPECT_EQ(Ask(rig, sim::kCommandVersion), "TD Boot v1");
  const std::string garbage = Ask(rig, sim::kCommandKeypadVersion);
  EXPECT_EQ(garbage.size(), 16u);
  EXPECT_EQ(garbage.substr(0, 4), std::string("\xFF\x00\x81\x1B", 4));
  EXPECT_EQ(Ask(rig, sim::kCommandFlashDriveVersion), "");
  EXPECT_EQ(Ask(rig, sim::kCommandKeyCapacity), "BB");
  rig.transport->CloseStream();
}

// A late answer is never seen within its own 100 ms look and always within the next one.
TEST(SimulatedFaults, LateAnswerArrivesDeterministicallyLate) {
  SimRig rig({"tds-bootloader"});
  rig.device().SetLateAnswer(sim::kCommandVersion, 150ms);
  Open(rig, ReportMode::U);
  for (int round = 0; round < 20; ++round) {
    EXPECT_EQ(Ask(rig, sim::kCommandVersion), "") << round;
    EXPECT_EQ(Ask(rig, 0x7A), "TDS Boot v2.10  ") << round;  // read as the next reply
  }
  rig.device().SetLateAnswer(sim::kCommandVersion, 100ms);  // due exactly at the look
  for (int round = 0; round < 20; ++round)
    EXPECT_EQ(Ask(rig, sim::kCommandVersion), "TDS Boot v2.10  ") << round;
  rig.transport->CloseStream();
  EXPECT_EQ(rig.clock.stalls(), 0);
}

TEST(SimulatedFaults, OutputReportsAreRecordedWithTheirVirtualTime) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  rig.clock.Advance(500ms);
  Ask(rig, sim::kCommandVersion);
  Ask(rig, sim::kCommandKeypadVersion);
  const auto outputs = rig.device().outputReports();
  ASSERT_EQ(outputs.size(), 2u);
  EXPECT_EQ(outputs[0].time, 500ms);
  EXPECT_EQ(outputs[1].time, 610ms);  // 10 ms after the send, 100 ms look
  rig.transport->CloseStream();
}

TEST(SimulatedBus, UnpluggedDeviceFailsItsHandlesLikeHidapi) {
  SystemClock clock;
  sim::SimulatedBus bus(clock);
  sim::SimulatedDevice& device = bus.AddDevice(*sim::DeviceConfigForKind("tds-bootloader"));
  sim::SimHidApi api(bus);
  hid_device* handle = api.open_path(sim::SimulatedBus::InterfacePath(0, 0).c_str());
  ASSERT_NE(handle, nullptr);
  unsigned char buffer[65] = {};
  EXPECT_EQ(api.read_timeout(handle, buffer, 64, 0), 0);
  EXPECT_EQ(api.write(handle, buffer, 65), 65);
  device.Unplug();
  EXPECT_EQ(api.read_timeout(handle, buffer, 64, 10), -1);
  EXPECT_EQ(api.write(handle, buffer, 65), -1);
  EXPECT_EQ(api.get_feature_report(handle, buffer, 9), -1);
  EXPECT_EQ(api.enumerate(0, 0), nullptr);
  errno = 0;
  EXPECT_EQ(api.open_path(sim::SimulatedBus::InterfacePath(0, 0).c_str()), nullptr);
  EXPECT_EQ(errno, ENOENT);
  api.close(handle);
  EXPECT_EQ(api.write(handle, buffer, 65), -1);  // a closed handle is recognised
  device.Plug();
  hid_device_info* list = api.enumerate(0x1125, 0x1809);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->next, nullptr);
  api.free_enumeration(list);
}

TEST(SimulatedCatalog, NamesAndOptions) {
  std::string error;
  SystemClock clock;
  EXPECT_EQ(sim::Simulation::Create({"td-a", "td-z"}, clock, error), nullptr);
  EXPECT_NE(error.find("td-z"), std::string::npos);
  EXPECT_FALSE(sim::DeviceConfigForKind("td-a:bogus"));
  EXPECT_FALSE(sim::DeviceConfigForKind("td-a:interfaces=0"));
  EXPECT_FALSE(sim::DeviceConfigForKind("hid-11zz-0001"));
  const auto three = sim::DeviceConfigForKind("td-b-kbmouse:interfaces=3:no-permission");
  ASSERT_TRUE(three);
  EXPECT_EQ(three->interfaceCount, 3);
  EXPECT_EQ(three->openErrno, EACCES);
  const auto any = sim::DeviceConfigForKind("hid-16C0-1807");
  ASSERT_TRUE(any);
  EXPECT_EQ(any->vendorId, 0x16C0);
  EXPECT_EQ(any->productId, 0x1807);
  // Identity reports for detection's model rows.
  EXPECT_EQ(sim::DeviceConfigForKind("947-bootloader")->identityReport,
            Bytes({0, 0x12, 'S', '9', '4', '7', 'v', '0', '1'}));
  EXPECT_EQ(sim::DeviceConfigForKind("917-bootloader")->identityReport[7], '1');
  EXPECT_EQ(sim::DeviceConfigForKind("917-bootloader")->identityReport[8], '7');
}

}  // namespace
}  // namespace tdxx::test
