// Running the vendor's USB driver uninstaller and waiting for its window, in
// virtual time.
#include <gtest/gtest.h>

#include "tests/support/steps_fixture.h"
#include "usb/usb_driver.h"

namespace steps_test {
namespace {

constexpr const char* kCaption = "USB Driver Uninstall";

class UsbRemovalTest : public StepsFixture {
 protected:
  UsbRemovalTest() {
    machine.AddFile("C:\\pkg\\USBDrv\\USBDriver\\Install.exe");
    machine.AddFile("C:\\pkg\\USBDrv\\USBDriver_x64\\Install.exe");
  }
};

TEST_F(UsbRemovalTest, WaitsWhileTheUninstallerWindowIsUp) {
  const plat::WindowHandle window = machine.AddWindow(kCaption);
  machine.At(2500, [this, window] { machine.CloseWindow(window); });

  RemoveUsbDriver(session);

  EXPECT_EQ(Journal({"ShellExecuteA"}),
            (Lines{"ShellExecuteA(C:\\pkg\\USBDrv\\USBDriver\\Install.exe, 22)"}));
  EXPECT_EQ(machine.Pauses(), (Pauses{500, 1000, 1000, 500, 1000}));
  EXPECT_EQ(Journal({"FindWindowA"}).size(), 3u);
  EXPECT_EQ(view.log, (Lines{"DELETING3", "DRV_SUCCESS1"}));
}

TEST_F(UsbRemovalTest, Wow64StartsThe64BitUninstaller) {
  machine.SetWow64(true);
  g_bIsWow64 = 1;

  RemoveUsbDriver(session);

  EXPECT_EQ(Journal({"ShellExecuteA"}),
            (Lines{"ShellExecuteA(C:\\pkg\\USBDrv\\USBDriver_x64\\Install.exe, 22)"}));
  EXPECT_EQ(machine.Pauses(), (Pauses{500, 500, 1000}));
}

// Without a caption any untitled window would hold the step: it does not wait.
TEST_F(UsbRemovalTest, EmptyCaptionIsNotWaitedFor) {
  SetLanguage("[Message]\r\nIDS_DELETING3=DELETING3\r\nIDS_DRV_SUCCESS1=DRV_SUCCESS1\r\n");
  machine.AddWindow("");

  RemoveUsbDriver(session);

  EXPECT_TRUE(Journal({"FindWindowA"}).empty());
  EXPECT_EQ(machine.Pauses(), (Pauses{500, 500, 1000}));
  EXPECT_EQ(view.log, (Lines{"DELETING3", "DRV_SUCCESS1"}));
}

}  // namespace
}  // namespace steps_test
