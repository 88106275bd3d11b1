// The preferences record the game keeps in the registry value "Data" under
// HKCU\Software\Clankmere\Preferences: 196 bytes, little-endian.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using PreferencesRecord = std::vector<uint8_t>;

constexpr size_t kPreferencesSize = 196;
// The settings block ends here; the two window placements and an end marker follow.
constexpr size_t kSettingsSize = 104;
constexpr size_t kPlayerNameOffset = 12;
constexpr size_t kMainWindowPlacementOffset = 104;
constexpr size_t kHighScoresPlacementOffset = 148;

// What a record holds after a revert to the defaults (no window placements stored).
PreferencesRecord DefaultPreferences();

// Sets the number field `name` of the record's layout ("m_teleportRule", ...).
void PutField(PreferencesRecord& record, const char* name, int64_t value);
WINDOWPLACEMENT GetPlacement(const PreferencesRecord& record, size_t offset);
void PutPlacement(PreferencesRecord& record, size_t offset, const WINDOWPLACEMENT& placement);
void PutPlayerName(PreferencesRecord& record, const char* name);

struct StoredValue {
    DWORD type = REG_NONE;
    PreferencesRecord bytes;
};

// Nothing when the key or the value does not exist.
std::optional<StoredValue> ReadStoredPreferences();
// The stored record; fails the test unless it is a REG_BINARY value of 196 bytes.
PreferencesRecord ReadStoredRecord(const std::string& when);
void StorePreferences(const PreferencesRecord& record);

// The first field in [from, to) whose bytes differ, named as in the record's layout, with both
// values; empty when the range is the same.
std::string FirstFieldDifference(const PreferencesRecord& expected, const PreferencesRecord& found,
                                 size_t from = 0, size_t to = kPreferencesSize);
