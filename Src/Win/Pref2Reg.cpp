#include "Pref2Reg.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr char kPreferencesKey[] = "Software\\Clankmere\\Preferences";
constexpr char kPreferencesValue[] = "Data";

} // namespace

bool CRegistryPreferencesStore::Write(const uint8_t (&record)[kPrefsRecordSize]) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPreferencesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &hKey, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG result = RegSetValueExA(hKey, kPreferencesValue, 0, REG_BINARY, record,
                                       static_cast<DWORD>(kPrefsRecordSize));
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

// A value of any other size reads as missing; its registry type is not looked at.
bool CRegistryPreferencesStore::Read(uint8_t (&record)[kPrefsRecordSize]) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPreferencesKey, 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS) {
        return false;
    }
    uint8_t buffer[kPrefsRecordSize] = {};
    DWORD size = sizeof buffer;
    const LONG result = RegQueryValueExA(hKey, kPreferencesValue, nullptr, nullptr, buffer, &size);
    RegCloseKey(hKey);
    if (result != ERROR_SUCCESS || size != kPrefsRecordSize) {
        return false;
    }
    std::memcpy(record, buffer, kPrefsRecordSize);
    return true;
}
