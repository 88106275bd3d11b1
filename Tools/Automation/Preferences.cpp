#include "Automation.h"

#include <cstring>

namespace {

constexpr const char* kKey = "Software\\Clankmere\\Preferences";
constexpr const char* kValue = "Data";
constexpr uint32_t kMarker = 0xDEADF007;

enum class Kind { Unsigned, Signed, Text, Placement };

struct Field {
    size_t offset;
    size_t size;
    Kind kind;
    const char* name;
    int64_t defaultValue;
};

// The layout with every default; the name buffer and the placements are zero by default apart
// from the name, which is set separately.
constexpr Field kFields[] = {
    {0, 4, Kind::Unsigned, "m_startMarker", kMarker},
    {4, 4, Kind::Unsigned, "m_baseSize", 104},
    {8, 4, Kind::Unsigned, "m_version", 8},
    {12, 32, Kind::Text, "m_playerName", 0},
    {44, 4, Kind::Signed, "m_robotKillPoints", 10},
    {48, 4, Kind::Signed, "m_screwdriverMultiplier", 2},
    {52, 4, Kind::Signed, "m_lastStandMultiplier", 1},
    {56, 4, Kind::Signed, "m_multipleKillMultiplier", 1},
    {60, 2, Kind::Signed, "m_reserved1", 0},
    {62, 2, Kind::Signed, "m_teleportRule", 1},
    {64, 2, Kind::Signed, "m_safeZoneRadius", 0},
    {66, 2, Kind::Signed, "m_screwdriversPerGame", 1},
    {68, 2, Kind::Signed, "m_screwdriversPerLevel", 1},
    {70, 2, Kind::Signed, "m_screwdriverRadius", 1},
    {72, 2, Kind::Signed, "m_screwdriverEffect", 1},
    {74, 2, Kind::Signed, "m_gridStyle", 0},
    {76, 2, Kind::Signed, "m_robotsPerLevel", 5},
    {78, 2, Kind::Signed, "m_robotsBase", 0},
    {80, 2, Kind::Signed, "m_heapsPerLevel", 0},
    {82, 2, Kind::Signed, "m_heapsBase", 0},
    {84, 1, Kind::Unsigned, "m_moveRobotsAfterTeleport", 1},
    {85, 1, Kind::Unsigned, "m_moveRobotsAfterScrewdriver", 1},
    {86, 1, Kind::Unsigned, "m_showMovementArrows", 1},
    {87, 1, Kind::Unsigned, "m_screwdriverStockMode", 0},
    {88, 1, Kind::Unsigned, "m_lastStandFast", 1},
    {89, 1, Kind::Unsigned, "m_lastStandUntimed", 0},
    {90, 1, Kind::Unsigned, "m_untimedAnimation", 0},
    {91, 1, Kind::Unsigned, "m_soundOn", 1},
    {92, 1, Kind::Unsigned, "m_smolderingHeaps", 0},
    {93, 1, Kind::Unsigned, "m_forceEligible", 0},
    {94, 2, Kind::Unsigned, "m_reserved2", 0},
    {96, 4, Kind::Signed, "m_iconSet", 0},
    {100, 4, Kind::Unsigned, "m_endMarker", kMarker},
    {104, 44, Kind::Placement, "m_mainWindowPlacement", 0},
    {148, 44, Kind::Placement, "m_highScoresWindowPlacement", 0},
    {192, 4, Kind::Unsigned, "m_extEndMarker", kMarker},
};

int64_t ReadInteger(const PreferencesRecord& record, const Field& field) {
    uint64_t value = 0;
    for (size_t i = field.size; i-- > 0;) {
        value = (value << 8) | record[field.offset + i];
    }
    if (field.kind == Kind::Signed && field.size < 8 && (value >> (8 * field.size - 1)) & 1) {
        value |= ~uint64_t(0) << (8 * field.size);
    }
    return static_cast<int64_t>(value);
}

void WriteInteger(PreferencesRecord& record, size_t offset, size_t size, int64_t value) {
    for (size_t i = 0; i < size; ++i) {
        record[offset + i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
    }
}

std::string Describe(const PreferencesRecord& record, const Field& field) {
    if (field.kind == Kind::Unsigned || field.kind == Kind::Signed) {
        return Format("%lld", static_cast<long long>(ReadInteger(record, field)));
    }
    std::string bytes;
    for (size_t i = 0; i < field.size; ++i) {
        bytes += Format("%02X", record[field.offset + i]);
    }
    return bytes;
}

} // namespace

PreferencesRecord DefaultPreferences() {
    PreferencesRecord record(kPreferencesSize, 0);
    for (const Field& field : kFields) {
        if (field.kind == Kind::Unsigned || field.kind == Kind::Signed) {
            WriteInteger(record, field.offset, field.size, field.defaultValue);
        }
    }
    PutPlayerName(record, "Blimpers");
    return record;
}

void PutField(PreferencesRecord& record, const char* name, int64_t value) {
    for (const Field& field : kFields) {
        if (std::strcmp(field.name, name) == 0 &&
            (field.kind == Kind::Unsigned || field.kind == Kind::Signed)) {
            WriteInteger(record, field.offset, field.size, value);
            return;
        }
    }
    Fail("the preferences record has no number field %s", name);
}

void PutFields(PreferencesRecord& record,
               std::initializer_list<std::pair<const char*, int64_t>> values) {
    for (const auto& [name, value] : values) {
        PutField(record, name, value);
    }
}

WINDOWPLACEMENT GetPlacement(const PreferencesRecord& record, size_t offset) {
    static_assert(sizeof(WINDOWPLACEMENT) == 44, "the record stores 44-byte placements");
    WINDOWPLACEMENT placement;
    std::memcpy(&placement, record.data() + offset, sizeof placement);
    return placement;
}

void PutPlacement(PreferencesRecord& record, size_t offset, const WINDOWPLACEMENT& placement) {
    std::memcpy(record.data() + offset, &placement, sizeof placement);
}

void PutPlayerName(PreferencesRecord& record, const char* name) {
    std::fill_n(record.begin() + kPlayerNameOffset, 32, 0);
    std::memcpy(record.data() + kPlayerNameOffset, name, std::min<size_t>(std::strlen(name), 31));
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
        Fail("%s the value \"Data\" has type %lu and %zu bytes instead of REG_BINARY and %zu",
             when.c_str(), stored->type, stored->bytes.size(), kPreferencesSize);
    }
    return stored->bytes;
}

void StorePreferences(const PreferencesRecord& record) {
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, kValue, 0, REG_BINARY, record.data(),
                                static_cast<DWORD>(record.size()));
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS) {
        Fail("cannot store the preferences record (error %ld)", result);
    }
}

std::string FirstFieldDifference(const PreferencesRecord& expected, const PreferencesRecord& found,
                                 size_t from, size_t to) {
    for (const Field& field : kFields) {
        if (field.offset < from || field.offset + field.size > to) {
            continue;
        }
        if (!std::equal(expected.begin() + field.offset,
                        expected.begin() + field.offset + field.size,
                        found.begin() + field.offset)) {
            return Format("%s (offset %zu) should be %s and is %s", field.name, field.offset,
                          Describe(expected, field).c_str(), Describe(found, field).c_str());
        }
    }
    return {};
}

void CheckStoredPreferences(const PreferencesRecord& expected, const std::string& when, size_t from,
                            size_t to) {
    const std::string difference = FirstFieldDifference(expected, ReadStoredRecord(when), from, to);
    if (!difference.empty()) {
        Fail("%s the stored preferences differ: %s", when.c_str(), difference.c_str());
    }
}
