// The settings record: every option of the program in one fixed 196-byte little-endian record.
// CPreferences holds the settings block (bytes 0..103); CPreferences2 adds the two window
// placements and an end marker (bytes 104..195) and keeps the record in a CPreferencesStore
// (the registry on Windows, a 196-byte file for the tools and tests).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kPrefsMarker = 0xDEADF007;
constexpr uint32_t kPrefsVersion = 8;
constexpr size_t kPrefsBaseSize = 104;
constexpr size_t kPrefsRecordSize = 196;
constexpr size_t kPlayerNameSize = 32;

// The Win32 WINDOWPLACEMENT layout, 44 bytes: length, flags, show command, minimised
// position, maximised position, normal rectangle. A length of 0 means none is stored.
struct WindowPlacement {
    uint32_t length;
    uint32_t flags;
    uint32_t showCmd;
    int32_t minX, minY;
    int32_t maxX, maxY;
    int32_t normalLeft, normalTop, normalRight, normalBottom;
};
constexpr size_t kWindowPlacementSize = 44;

// Where a whole record lives between runs.
class CPreferencesStore {
public:
    virtual ~CPreferencesStore() = default;
    virtual bool Write(const uint8_t (&record)[kPrefsRecordSize]) = 0;
    // Fills `record` and returns true only when exactly kPrefsRecordSize bytes are stored.
    virtual bool Read(uint8_t (&record)[kPrefsRecordSize]) = 0;
};

// Keeps the record in a file of exactly 196 bytes.
class CPreferencesFile : public CPreferencesStore {
public:
    explicit CPreferencesFile(const char* path) : m_path(path) {}
    bool Write(const uint8_t (&record)[kPrefsRecordSize]) override;
    bool Read(uint8_t (&record)[kPrefsRecordSize]) override;

private:
    const char* m_path;
};

// Keeps a record in memory: the settings of one game handed to another, such as a replay.
class CPreferencesSnapshot : public CPreferencesStore {
public:
    bool Write(const uint8_t (&record)[kPrefsRecordSize]) override;
    bool Read(uint8_t (&record)[kPrefsRecordSize]) override;

private:
    uint8_t m_record[kPrefsRecordSize] = {};
};

class CPreferences {
public:
    CPreferences();
    virtual ~CPreferences() = default;

    virtual void SetDefaults();
    virtual bool Save() = 0;
    virtual bool Load() = 0;
    virtual bool IsValid() const;
    virtual bool Differs(const CPreferences* other) const;

    // The snapshot assignment: copies bytes 0..103 only.
    void CopySettingsFrom(const CPreferences& other);
    void SetPlayerName(const char* name);

    void WriteSettingsBlock(uint8_t (&block)[kPrefsBaseSize]) const;
    void ReadSettingsBlock(const uint8_t (&block)[kPrefsBaseSize]);

    uint32_t m_startMarker;
    uint32_t m_baseSize;
    uint32_t m_version;
    char m_playerName[kPlayerNameSize];
    int32_t m_robotKillPoints;
    int32_t m_screwdriverMultiplier;
    int32_t m_lastStandMultiplier;
    int32_t m_multipleKillMultiplier;
    int16_t m_reserved1;
    int16_t m_teleportRule;
    int16_t m_safeZoneRadius;
    int16_t m_screwdriversPerGame;
    int16_t m_screwdriversPerLevel;
    int16_t m_screwdriverRadius;
    int16_t m_screwdriverEffect;
    int16_t m_gridStyle;
    int16_t m_robotsPerLevel;
    int16_t m_robotsBase;
    int16_t m_heapsPerLevel;
    int16_t m_heapsBase;
    uint8_t m_moveRobotsAfterTeleport;
    uint8_t m_moveRobotsAfterScrewdriver;
    uint8_t m_showMovementArrows;
    uint8_t m_screwdriverStockMode;
    uint8_t m_lastStandFast;
    uint8_t m_lastStandUntimed;
    uint8_t m_untimedAnimation;
    uint8_t m_soundOn;
    uint8_t m_smolderingHeaps;
    uint8_t m_forceEligible;
    uint8_t m_reserved2[2];
    int32_t m_iconSet;
    uint32_t m_endMarker;

protected:
    CPreferences(const CPreferences&) = default;
    CPreferences& operator=(const CPreferences&) = default;
};

class CPreferences2 : public CPreferences {
public:
    explicit CPreferences2(CPreferencesStore* store = nullptr);

    void SetStore(CPreferencesStore* store) { m_store = store; }

    void SetDefaults() override;
    bool Save() override;
    bool Load() override;
    bool IsValid() const override;
    bool Differs(const CPreferences* other) const override;

    void WriteRecord(uint8_t (&record)[kPrefsRecordSize]) const;
    void ReadRecord(const uint8_t (&record)[kPrefsRecordSize]);

    WindowPlacement m_mainWindowPlacement;
    WindowPlacement m_highScoresWindowPlacement;
    uint32_t m_extEndMarker;

private:
    CPreferencesStore* m_store;
};

// Whether the live settings are the standard scoring rules, the condition for a score to
// enter the high-score list.
bool AreStandardSettings(const CPreferences& prefs);
