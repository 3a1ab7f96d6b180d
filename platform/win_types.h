// Plain numbers for the Windows values the core relies on: error codes, access
// rights, attributes. The core never includes a Windows header; the win32 backend
// checks these against the real ones at compile time.
#pragma once
#include <cstdint>

namespace win {

using Error = uint32_t;  // a GetLastError() value; 0 means success

constexpr Error kSuccess = 0;
constexpr Error kFileNotFound = 2;
constexpr Error kPathNotFound = 3;
constexpr Error kAccessDenied = 5;
constexpr Error kInvalidHandle = 6;
constexpr Error kNotEnoughMemory = 8;
constexpr Error kNoMoreFiles = 18;
constexpr Error kInvalidParameter = 87;
constexpr Error kInsufficientBuffer = 122;
constexpr Error kModNotFound = 126;
constexpr Error kProcNotFound = 127;
constexpr Error kAlreadyExists = 183;
constexpr Error kCanNotComplete = 1003;
constexpr Error kServiceAlreadyRunning = 1056;
constexpr Error kServiceDisabled = 1058;
constexpr Error kServiceDoesNotExist = 1060;
constexpr Error kServiceNotActive = 1062;
constexpr Error kNotAllAssigned = 1300;
constexpr Error kUnknownPrinterDriver = 1797;
constexpr Error kUnknownPrintProcessor = 1798;
constexpr Error kInvalidPrinterName = 1801;
constexpr Error kUnknownPrintMonitor = 3000;
constexpr Error kPrinterDriverInUse = 3001;
constexpr Error kPrintMonitorInUse = 3008;

constexpr uint32_t kPrinterAllAccess = 0xF000C;
constexpr uint32_t kScManagerAllAccess = 0xF003F;
constexpr uint32_t kServiceStop = 0x0020;
constexpr uint32_t kServiceStart = 0x0010;
constexpr uint32_t kTokenAdjustPrivileges = 0x0020;
constexpr uint32_t kSePrivilegeEnabled = 2;
constexpr uint32_t kEwxReboot = 2;
constexpr uint32_t kDpdDeleteUnusedFiles = 1;

constexpr uint32_t kFileAttributeReadonly = 0x01;
constexpr uint32_t kFileAttributeHidden = 0x02;
constexpr uint32_t kFileAttributeSystem = 0x04;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeArchive = 0x20;
constexpr uint32_t kFileAttributeNormal = 0x80;

constexpr uint32_t kVerPlatformWin32Windows = 1;
constexpr uint32_t kVerPlatformWin32Nt = 2;
constexpr uint8_t kVerNtWorkstation = 1;
constexpr uint16_t kProcessorArchitectureIntel = 0;
constexpr uint16_t kProcessorArchitectureAmd64 = 9;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kSwShow = 5;
constexpr int kSwShowNormal = 1;
constexpr uint32_t kMbOk = 0;
constexpr uint32_t kMbIconExclamation = 0x30;

}  // namespace win
