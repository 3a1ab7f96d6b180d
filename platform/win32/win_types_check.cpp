// The core's plain numbers must be the Windows values they stand for. The core
// never sees a Windows header, so this is checked here, where both are visible.
#include "platform/win32/windows_api.h"
#include "platform/win_types.h"

#include <winspool.h>

namespace {

static_assert(win::kSuccess == ERROR_SUCCESS);
static_assert(win::kFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(win::kPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(win::kAccessDenied == ERROR_ACCESS_DENIED);
static_assert(win::kInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(win::kNotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY);
static_assert(win::kNoMoreFiles == ERROR_NO_MORE_FILES);
static_assert(win::kInvalidParameter == ERROR_INVALID_PARAMETER);
static_assert(win::kInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(win::kModNotFound == ERROR_MOD_NOT_FOUND);
static_assert(win::kProcNotFound == ERROR_PROC_NOT_FOUND);
static_assert(win::kAlreadyExists == ERROR_ALREADY_EXISTS);
static_assert(win::kCanNotComplete == ERROR_CAN_NOT_COMPLETE);
static_assert(win::kServiceAlreadyRunning == ERROR_SERVICE_ALREADY_RUNNING);
static_assert(win::kServiceDisabled == ERROR_SERVICE_DISABLED);
static_assert(win::kServiceDoesNotExist == ERROR_SERVICE_DOES_NOT_EXIST);
static_assert(win::kServiceNotActive == ERROR_SERVICE_NOT_ACTIVE);
static_assert(win::kNotAllAssigned == ERROR_NOT_ALL_ASSIGNED);
static_assert(win::kUnknownPrinterDriver == ERROR_UNKNOWN_PRINTER_DRIVER);
static_assert(win::kUnknownPrintProcessor == ERROR_UNKNOWN_PRINTPROCESSOR);
static_assert(win::kInvalidPrinterName == ERROR_INVALID_PRINTER_NAME);
static_assert(win::kUnknownPrintMonitor == ERROR_UNKNOWN_PRINT_MONITOR);
static_assert(win::kPrinterDriverInUse == ERROR_PRINTER_DRIVER_IN_USE);
static_assert(win::kPrintMonitorInUse == ERROR_PRINT_MONITOR_IN_USE);

static_assert(win::kPrinterAllAccess == PRINTER_ALL_ACCESS);
static_assert(win::kScManagerAllAccess == SC_MANAGER_ALL_ACCESS);
static_assert(win::kServiceStop == SERVICE_STOP);
static_assert(win::kServiceStart == SERVICE_START);
static_assert(win::kTokenAdjustPrivileges == TOKEN_ADJUST_PRIVILEGES);
static_assert(win::kSePrivilegeEnabled == SE_PRIVILEGE_ENABLED);
static_assert(win::kEwxReboot == EWX_REBOOT);
static_assert(win::kDpdDeleteUnusedFiles == DPD_DELETE_UNUSED_FILES);

static_assert(win::kFileAttributeReadonly == FILE_ATTRIBUTE_READONLY);
static_assert(win::kFileAttributeHidden == FILE_ATTRIBUTE_HIDDEN);
static_assert(win::kFileAttributeSystem == FILE_ATTRIBUTE_SYSTEM);
static_assert(win::kFileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(win::kFileAttributeArchive == FILE_ATTRIBUTE_ARCHIVE);
static_assert(win::kFileAttributeNormal == FILE_ATTRIBUTE_NORMAL);

static_assert(win::kVerPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS);
static_assert(win::kVerPlatformWin32Nt == VER_PLATFORM_WIN32_NT);
static_assert(win::kVerNtWorkstation == VER_NT_WORKSTATION);
static_assert(win::kProcessorArchitectureIntel == PROCESSOR_ARCHITECTURE_INTEL);
static_assert(win::kProcessorArchitectureAmd64 == PROCESSOR_ARCHITECTURE_AMD64);

static_assert(win::kIdOk == IDOK);
static_assert(win::kIdCancel == IDCANCEL);
static_assert(win::kSwShow == SW_SHOW);
static_assert(win::kSwShowNormal == SW_SHOWNORMAL);
static_assert(win::kMbOk == MB_OK);
static_assert(win::kMbIconExclamation == MB_ICONEXCLAMATION);

// The handle types of the seam must hold a Windows handle.
static_assert(sizeof(uintptr_t) >= sizeof(HANDLE));

}  // namespace
