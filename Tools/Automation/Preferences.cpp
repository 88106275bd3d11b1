#include "Automation.h"

#include "Preferences.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

constexpr const char* kKey = "Software\\Clankmere\\Preferences";
constexpr const char* kValue = "Data";
constexpr size_t kPlayerNameOffset = 12;

// The fields in their order, in runs of one size: numbers of up to 4 bytes (signed when
// marked), the player's name and the two placements shown as bytes.
constexpr struct {
    size_t size;
    bool isSigned;
    const char* names;
} kLayout[] = {
    {4, false, "m_startMarker m_baseSize m_version"},
    {kPlayerNameSize, false, "m_playerName"},
    {4, true,
     "m_robotKillPoints m_screwdriverMultiplier m_lastStandMultiplier m_multipleKillMultiplier"},
    {2, true,
     "m_reserved1 m_teleportRule m_safeZoneRadius m_screwdriversPerGame m_screwdriversPerLevel "
     "m_screwdriverRadius m_screwdriverEffect m_gridStyle m_robotsPerLevel m_robotsBase "
     "m_heapsPerLevel m_heapsBase"},
    {1, false,
     "m_moveRobotsAfterTeleport m_moveRobotsAfterScrewdriver m_showMovementArrows "
     "m_screwdriverStockMode m_lastStandFast m_lastStandUntimed m_untimedAnimation m_soundOn "
     "m_smolderingHeaps m_forceEligible"},
    {2, false, "m_reserved2"},
    {4, true, "m_iconSet"},
    {4, false, "m_endMarker"},
    {kWindowPlacementSize, false, "m_mainWindowPlacement m_highScoresWindowPlacement"},
    {4, false, "m_extEndMarker"},
};

struct Field {
    std::string name;
    size_t offset;
    size_t size;
    bool isSigned;
};

std::vector<Field> Fields() {
    std::vector<Field> fields;
    size_t offset = 0;
    for (const auto& run : kLayout) {
        std::istringstream names(run.names);
        for (std::string name; names >> name; offset += run.size) {
            fields.push_back({name, offset, run.size, run.isSigned});
        }
    }
    return fields;
}

std::string Describe(const PreferencesRecord& record, const Field& field) {
    std::string text;
    if (field.size > 4) {
        for (size_t i = 0; i < field.size; ++i) {
            text += Format("%02X", record[field.offset + i]);
        }
        return text;
    }
    uint32_t value = 0;
    std::memcpy(&value, &record[field.offset], field.size);
    const unsigned shift = 32 - 8 * static_cast<unsigned>(field.size);
    return field.isSigned ? std::to_string(static_cast<int32_t>(value << shift) >> shift)
                          : std::to_string(value);
}

void SetRegistryValue(const std::string& key, const char* name, DWORD type, const void* data,
                      size_t size) {
    HKEY handle = nullptr;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &handle, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data),
                                static_cast<DWORD>(size));
        RegCloseKey(handle);
    }
    if (result != ERROR_SUCCESS) {
        Fail("cannot store the registry value %s\\%s (error %ld)", key.c_str(), name, result);
    }
}

} // namespace

PreferencesRecord DefaultPreferences() {
    uint8_t record[kPrefsRecordSize];
    CPreferences2().WriteRecord(record);
    return {record, record + kPrefsRecordSize};
}

void PutField(PreferencesRecord& record, const char* name, int64_t value) {
    for (const Field& field : Fields()) {
        if (field.size <= 4 && field.name == name) {
            std::memcpy(&record[field.offset], &value, field.size);
            return;
        }
    }
    Fail("the preferences record has no number field %s", name);
}

void PutFields(PreferencesRecord& record, const Settings& values) {
    for (const auto& [name, value] : values) {
        PutField(record, name, value);
    }
}

WINDOWPLACEMENT GetPlacement(const PreferencesRecord& record, size_t offset) {
    static_assert(sizeof(WINDOWPLACEMENT) == kWindowPlacementSize);
    WINDOWPLACEMENT placement;
    std::memcpy(&placement, &record[offset], sizeof placement);
    return placement;
}

void PutPlacement(PreferencesRecord& record, size_t offset, const WINDOWPLACEMENT& placement) {
    std::memcpy(&record[offset], &placement, sizeof placement);
}

void StoreMainWindowPlacement(const RECT& normal, UINT showCmd) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    placement.showCmd = showCmd;
    placement.ptMinPosition = {-1, -1};
    placement.ptMaxPosition = {-1, -1};
    placement.rcNormalPosition = normal;
    PreferencesRecord record = DefaultPreferences();
    PutPlacement(record, kMainWindowPlacementOffset, placement);
    StorePreferences(record);
}

void PutPlayerName(PreferencesRecord& record, const char* name) {
    std::fill_n(&record[kPlayerNameOffset], kPlayerNameSize, 0);
    std::memcpy(&record[kPlayerNameOffset], name, std::min(std::strlen(name), kPlayerNameSize - 1));
}

std::optional<StoredValue> ReadStoredPreferences() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    StoredValue value;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, kValue, nullptr, &value.type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        value.bytes.resize(size);
        result = RegQueryValueExA(key, kValue, nullptr, &value.type, value.bytes.data(), &size);
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

PreferencesRecord ReadStoredRecord(const std::string& when) {
    const std::optional<StoredValue> stored = ReadStoredPreferences();
    if (!stored) {
        Fail("%s there is no registry value \"Data\"", when.c_str());
    }
    if (stored->type != REG_BINARY || stored->bytes.size() != kPreferencesSize) {
        Fail("%s the value \"Data\" has type %lu and %zu bytes instead of "
             "REG_BINARY and %zu",
             when.c_str(), stored->type, stored->bytes.size(), kPreferencesSize);
    }
    return stored->bytes;
}

void StorePreferences(const PreferencesRecord& record) {
    SetRegistryValue(kKey, kValue, REG_BINARY, record.data(), record.size());
}

void StoreDefaultPreferences() {
    StorePreferences(DefaultPreferences());
}

void CheckStoredPreferences(const PreferencesRecord& expected, const std::string& when, size_t from,
                            size_t to) {
    const PreferencesRecord found = ReadStoredRecord(when);
    for (const Field& field : Fields()) {
        if (field.offset >= from && field.offset + field.size <= to &&
            std::memcmp(&expected[field.offset], &found[field.offset], field.size) != 0) {
            Fail("%s the stored preferences differ: %s (offset %zu) should be %s and is %s",
                 when.c_str(), field.name.c_str(), field.offset, Describe(expected, field).c_str(),
                 Describe(found, field).c_str());
        }
    }
}

void StoreReportedVersion(const char* program, const char* version) {
    SetRegistryValue(std::string("Software\\Wine\\AppDefaults\\") + program, "Version", REG_SZ,
                     version, std::strlen(version) + 1);
}

void StoreDisabledDll(const char* program, const char* dll) {
    SetRegistryValue(std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides", dll,
                     REG_SZ, "", 1);
}

void StoreScreenDpi(DWORD dpi) {
    SetRegistryValue("Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
}
