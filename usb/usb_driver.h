// The USB driver option: whether it is offered, and running the vendor's USB
// driver uninstaller.
#pragma once
#include <cstdint>

#include "engine/uninstall.h"

// Enables or disables check box 1019 from the driver files and the device probe.
// True exactly when the probe ran and answered other than -1.
bool DetectUsbDriver(plat::Platform& platform, UninstallView& view);
// -1: no library, entry, device or descriptor; -2: more than one device;
// otherwise the 16-bit value of the device's descriptor.
int32_t ProbeUsbDevice(plat::Platform& platform);
// Starts the uninstaller with "22" and waits while its window is up.
void RemoveUsbDriver(UninstallSession& session);
