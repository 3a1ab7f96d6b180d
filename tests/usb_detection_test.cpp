// The USB driver option: the driver-file search and the vendor library probe on
// the simulated machine.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/support/steps_fixture.h"
#include "usb/usb_driver.h"

namespace steps_test {
namespace {

constexpr const char* kBulkUsb = "C:\\Windows\\system32\\drivers\\BULKUSB.sys";
constexpr const char* kVendorUsb = "C:\\Windows\\system32\\drivers\\QorvelinpUSB.sys";

const std::set<std::string> kDeviceCalls = {"OpenDeviceX", "GetDescriptor", "CloseDevice"};

class UsbDetectionTest : public StepsFixture {
 protected:
  UsbDetectionTest() { machine.SetUsbLibraryPresent(true); }
  bool Detect() { return DetectUsbDriver(machine.platform(), view); }
  bool OptionEnabled() const { return view.IsEnabled(IDC_USB_DRIVER); }
  bool LibraryLoaded() const { return !Journal({"LoadLibraryA"}).empty(); }
};

TEST_F(UsbDetectionTest, NeitherDriverFileMeansNoOptionAndNoLibrary) {
  machine.AddUsbDevice(0, 100, 7);

  EXPECT_FALSE(Detect());

  EXPECT_FALSE(OptionEnabled());
  EXPECT_FALSE(LibraryLoaded());
  EXPECT_EQ(Journal({"FindFirstFileA"}).size(), 2u);
}

// The counting pass closes every index's answer; the opening pass stops at the
// device and closes it after reading its descriptor.
TEST_F(UsbDetectionTest, OneDeviceAtIndexFiveKeepsTheOption) {
  machine.AddFile(kBulkUsb);
  machine.AddUsbDevice(5, 100, 0x1234);

  EXPECT_TRUE(Detect());

  Lines expected;
  for (int i = 0; i < 8; ++i) {
    const std::string handle = i == 5 ? "100" : "0";
    expected.push_back("OpenDeviceX(" + std::to_string(i) + ")");
    expected.push_back("CloseDevice(" + handle + ")");
  }
  for (int i = 0; i <= 5; ++i) expected.push_back("OpenDeviceX(" + std::to_string(i) + ")");
  expected.push_back("GetDescriptor(100)");
  expected.push_back("CloseDevice(100)");
  EXPECT_EQ(Journal(kDeviceCalls), expected);
  EXPECT_TRUE(OptionEnabled());
  EXPECT_EQ(ProbeUsbDevice(machine.platform()), 0x1234);
  EXPECT_TRUE(machine.MessageBoxes().empty());
}

TEST_F(UsbDetectionTest, TwoDevicesAnswerMinusTwoAndKeepTheOption) {
  machine.AddFile(kVendorUsb);
  machine.AddUsbDevice(2, 102, 1);
  machine.AddUsbDevice(6, 106, 1);

  EXPECT_EQ(ProbeUsbDevice(machine.platform()), -2);
  const Lines journal = Journal(kDeviceCalls);
  ASSERT_GE(journal.size(), 2u);
  EXPECT_EQ(journal[journal.size() - 2], "OpenDeviceX(6)");
  EXPECT_EQ(journal.back(), "CloseDevice(106)");

  EXPECT_TRUE(Detect());
  EXPECT_TRUE(OptionEnabled());
}

// A descriptor value of 0 is a value like any other: only -1 disables.
TEST_F(UsbDetectionTest, ZeroDescriptorValueKeepsTheOption) {
  machine.AddFile(kVendorUsb);
  machine.AddUsbDevice(0, 100, 0);

  EXPECT_TRUE(Detect());
  EXPECT_TRUE(OptionEnabled());
}

TEST_F(UsbDetectionTest, ProbeFailuresDisableTheOption) {
  struct Case {
    const char* name;
    std::function<void(sim::Machine&)> arrange;
    const char* message;  // null: none
  };
  const Case cases[] = {
      {"no library", [](sim::Machine& m) { m.SetUsbLibraryPresent(false); },
       "Can not load ZiZudUru.dll"},
      {"no OpenDeviceX", [](sim::Machine& m) { m.RemoveUsbEntry("OpenDeviceX"); },
       "open function error"},
      {"no GetDescriptor", [](sim::Machine& m) { m.RemoveUsbEntry("GetDescriptor"); },
       "open function error"},
      {"no CloseDevice", [](sim::Machine& m) { m.RemoveUsbEntry("CloseDevice"); },
       "open function error"},
      {"no device", [](sim::Machine& m) { m.SetUsbLibraryPresent(true); }, nullptr},
      {"descriptor fails",
       [](sim::Machine& m) {
         m.AddUsbDevice(3, 103, 9);
         m.FailCall("GetDescriptor", win::kAccessDenied);
       },
       "Get Device ID error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Machine machine;
    FakeView view;
    machine.AddFile(kBulkUsb);
    machine.SetUsbLibraryPresent(true);
    c.arrange(machine);

    EXPECT_FALSE(DetectUsbDriver(machine.platform(), view));

    EXPECT_FALSE(view.IsEnabled(IDC_USB_DRIVER));
    EXPECT_EQ(machine.MessageBoxes(), c.message ? Lines{c.message} : Lines{});
    EXPECT_EQ(machine.OpenHandleCount(), 0);
  }
}

TEST_F(UsbDetectionTest, DescriptorFailureClosesTheDeviceAfterTheMessage) {
  machine.AddFile(kBulkUsb);
  machine.AddUsbDevice(3, 103, 9);
  machine.FailCall("GetDescriptor", win::kAccessDenied);

  EXPECT_EQ(ProbeUsbDevice(machine.platform()), -1);

  const Lines journal = Journal({"GetDescriptor", "MessageBoxA", "CloseDevice", "FreeLibrary"});
  EXPECT_EQ(Lines(journal.end() - 4, journal.end()),
            (Lines{"GetDescriptor(103) -> 5", "MessageBoxA(Get Device ID error)",
                   "CloseDevice(103)", "FreeLibrary(ZiZudUru.dll)"}));
}

// --- 64-bit Windows: the native driver directory ---------------------------------------

class UsbDetectionWow64Test : public UsbDetectionTest {
 protected:
  UsbDetectionWow64Test() {
    machine.SetWow64(true);
    g_bIsWow64 = 1;
    machine.AddUsbDevice(1, 101, 5);
  }
};

TEST_F(UsbDetectionWow64Test, OnlyTheNativeDriverDirectoryCounts) {
  machine.AddFile(kBulkUsb);
  EXPECT_TRUE(Detect());
  EXPECT_FALSE(machine.RedirectionDisabled());

  sim::Machine other;
  FakeView otherView;
  other.SetWow64(true);
  other.SetUsbLibraryPresent(true);
  other.AddUsbDevice(1, 101, 5);
  other.AddFile("C:\\Windows\\SysWOW64\\drivers\\BULKUSB.sys");
  EXPECT_FALSE(DetectUsbDriver(other.platform(), otherView));
  EXPECT_FALSE(otherView.IsEnabled(IDC_USB_DRIVER));
  EXPECT_EQ(other.OpenHandleCount(), 0);
}

// When redirection cannot be switched off safely nothing is tested and the option
// stays enabled; a missing revert entry is told and never called.
TEST_F(UsbDetectionWow64Test, RedirectionFailuresKeepTheOptionUntested) {
  struct Case {
    const char* name;
    std::function<void(sim::Machine&)> arrange;
    const char* message;
  };
  const Case cases[] = {
      {"kernel does not load",
       [](sim::Machine& m) { m.FailCall("LoadLibraryA", win::kModNotFound, 1, "Kernel32.dll"); },
       nullptr},
      {"disable answers 0", [](sim::Machine& m) { m.SetDisableRedirectionResult(0); }, nullptr},
      {"no disable entry",
       [](sim::Machine& m) { m.RemoveKernelEntry("Wow64DisableWow64FsRedirection"); }, nullptr},
      {"no revert entry",
       [](sim::Machine& m) { m.RemoveKernelEntry("Wow64RevertWow64FsRedirection"); },
       "Can't Get Function Wow64RevertWow64FsRedirection Address"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Machine machine;
    FakeView view;
    machine.SetWow64(true);
    machine.SetUsbLibraryPresent(true);
    machine.AddUsbDevice(1, 101, 5);
    machine.AddFile(kBulkUsb);
    c.arrange(machine);

    EXPECT_FALSE(DetectUsbDriver(machine.platform(), view));

    EXPECT_TRUE(view.events.empty());
    EXPECT_TRUE(view.IsEnabled(IDC_USB_DRIVER));
    EXPECT_TRUE(machine.JournalOf({"FindFirstFileA", "Wow64RevertWow64FsRedirection"}).empty());
    EXPECT_EQ(machine.MessageBoxes(), c.message ? Lines{c.message} : Lines{});
    EXPECT_FALSE(machine.RedirectionDisabled());
    EXPECT_EQ(machine.OpenHandleCount(), 0);
  }
}

}  // namespace
}  // namespace steps_test
