#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The registry of the simulated machine, reached through calls shaped after the Windows registry
// functions the plug-in uses: same arguments, same status codes, same buffer rules.
//
// - Two roots, HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER; further keys are reached through handles
//   that RegOpenKey(Ex) and RegCreateKey return and RegCloseKey closes.
// - Key paths are names joined by "\"; a trailing "\" is allowed, an empty name elsewhere is not.
//   Key and value names compare without regard to ASCII case and keep the spelling they were
//   created with. The empty (or null) value name is the key's default value.
// - RegEnumKey lists subkeys sorted without regard to case, so the order never depends on who
//   created what first.
// - Every call sees the registry file as it is now, parsing it again only when it changed (another
//   file, or another size or time of change); every change is written at once, under a file lock,
//   replacing the file whole. A damaged file gives ERROR_REGISTRY_CORRUPT and is
//   never overwritten; LastFailure() tells what went wrong.
// - Single-threaded, like the plug-in; several processes may share the file.
namespace reg {

using LONG = int32_t;
using DWORD = uint32_t;
using BYTE = uint8_t;
using REGSAM = uint32_t;

enum class HKEY : uint32_t {};
inline constexpr HKEY HKEY_CURRENT_USER{0x80000001u};
inline constexpr HKEY HKEY_LOCAL_MACHINE{0x80000002u};

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_BAD_PATHNAME = 161;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;
inline constexpr LONG ERROR_REGISTRY_CORRUPT = 1015;
inline constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr LONG ERROR_KEY_DELETED = 1018;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Opens an existing key with full access. An empty subkey gives a new handle to hKey's key, with
// hKey's rights (also for RegCreateKey).
LONG RegOpenKey(HKEY hKey, const char* lpSubKey, HKEY* phkResult);
// Opens an existing key with the rights asked for; calls on the handle that need another right
// get ERROR_ACCESS_DENIED. ulOptions is ignored.
LONG RegOpenKeyEx(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired, HKEY* phkResult);
// Opens a key with full access, creating it and every missing key on the way.
LONG RegCreateKey(HKEY hKey, const char* lpSubKey, HKEY* phkResult);

// Type and data of a value. With lpData null only the type and the size are told. *lpcbData is the
// buffer's size in, the data's size out; a buffer too small gets ERROR_MORE_DATA, the size needed
// and no data. The data comes back as stored: a string's size counts its terminating NUL, and
// whatever follows an inner NUL comes back too (readers cut the text at the first NUL).
LONG RegQueryValueEx(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                     DWORD* lpcbData);
// The default value of a subkey, as RegQueryValueEx gives it; a default value never set reads as
// an empty text (one NUL).
LONG RegQueryValue(HKEY hKey, const char* lpSubKey, char* lpData, LONG* lpcbData);
// Stores cbData bytes of lpData as the value, of any type; the key must have been opened with the
// right to set values.
LONG RegSetValueEx(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                   DWORD cbData);
// Sets the default value of a subkey, created as needed, to the text with its terminating NUL.
// Only REG_SZ is accepted; cbData is ignored.
LONG RegSetValue(HKEY hKey, const char* lpSubKey, DWORD dwType, const char* lpData, DWORD cbData);

// The name of the subkey at dwIndex into a buffer of cchName characters (NUL included);
// ERROR_NO_MORE_ITEMS past the last one, ERROR_MORE_DATA when the buffer is too small.
LONG RegEnumKey(HKEY hKey, DWORD dwIndex, char* lpName, DWORD cchName);
// Deletes a key that has no subkeys, with its values. A key with subkeys, the empty path and the
// roots are refused with ERROR_ACCESS_DENIED.
LONG RegDeleteKey(HKEY hKey, const char* lpSubKey);
// Closes an opened key; closing a root does nothing. A handle is never given out twice, so a
// closed handle stays invalid.
LONG RegCloseKey(HKEY hKey);

// What went wrong in the last call, for messages; empty after a call that succeeded.
const std::string& LastFailure();
// The system's text for a status code.
std::string StatusText(LONG status);
// A failure of the registry file itself, damaged or not readable or writable, as opposed to a
// failure of one call (a missing key, a bad argument).
bool IsStoreFailure(LONG status);
// COM's error number for a registry status (0x80070000 | status).
int32_t ErrorNumberOf(LONG status);
// Whether an error number is one that RaiseIfStoreFailed raises.
bool IsStoreFailureNumber(int32_t errorNumber);
// For a store failure, raises rt::Error with that number, the source "registry" and LastFailure(),
// which names the file and what is wrong with it; returns for any other status.
void RaiseIfStoreFailed(LONG status);
// The registry file inside the machine folder.
std::filesystem::path RegistryFile();
// Closes every open key and forgets the last failure and the registry read last: a fresh process
// state for tests.
void Reset();

}  // namespace reg
