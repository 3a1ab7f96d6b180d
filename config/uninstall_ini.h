// The uninstall configuration Uninstall.ini: finding it, and the format of its
// counts, numbered keys and per-OS section names.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Full path of the configuration, empty until FindUninstallIni succeeds.
constexpr size_t kUninstallIniSize = 256;
extern char g_szUninstallIni[kUninstallIniSize];

// Every configuration value is read into 30 bytes: 29 characters at most.
constexpr size_t kConfigValueSize = 30;
using ConfigValue = char[kConfigValueSize];

// Looks for "Uninstall.ini" in the current directory, then in its DRVCONFIG
// folder. Returns nullptr on success, else the message key of the failure:
// "IDS_ERR_GETSYSDIR", "IDS_ERR_INVALID" or "IDS_ERR_NOINI".
const char* FindUninstallIni(plat::FileSystem& files);

// atoi: leading blanks, a sign, digits up to the first other character.
int ParseCount(const char* text);

// base followed by the character 0x30 + n ("NAME1".."NAME9", "NAME:" ...). False
// when it does not fit in size.
bool NumberedKey(const char* base, int n, char* out, size_t size);

// name (with its spaces removed when stripSpaces) followed by OsSuffix(osType).
// False when the result does not fit in 29 characters; out is then empty.
bool PerOsSectionName(const char* name, bool stripSpaces, int osType, ConfigValue& out);

// Reads one key of g_szUninstallIni with default "0" into 30 bytes.
uint32_t ReadConfigValue(plat::FileSystem& files, const char* section, const char* key,
                         ConfigValue& out);
