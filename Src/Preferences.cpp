#include "Preferences.h"

#include "ByteOrder.h"
#include "SafeFile.h"
#include "TextUtil.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

void WritePlacement(CByteWriter& out, const WindowPlacement& p) {
    out.U32(p.length);
    out.U32(p.flags);
    out.U32(p.showCmd);
    for (int32_t v : {p.minX, p.minY, p.maxX, p.maxY, p.normalLeft, p.normalTop, p.normalRight,
                      p.normalBottom}) {
        out.I32(v);
    }
}

void ReadPlacement(CByteReader& in, WindowPlacement& p) {
    p.length = in.U32();
    p.flags = in.U32();
    p.showCmd = in.U32();
    for (int32_t* v : {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.normalLeft, &p.normalTop,
                       &p.normalRight, &p.normalBottom}) {
        *v = in.I32();
    }
}

} // namespace

bool CPreferencesFile::Write(const uint8_t (&record)[kPrefsRecordSize]) {
    return WriteFileReplacing(m_path, record, kPrefsRecordSize);
}

bool CPreferencesFile::Read(uint8_t (&record)[kPrefsRecordSize]) {
    FILE* file = OpenNamedFile(m_path, "rb");
    if (!file) {
        return false;
    }
    uint8_t buffer[kPrefsRecordSize + 1];
    size_t got = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    if (got != kPrefsRecordSize) {
        return false;
    }
    std::memcpy(record, buffer, kPrefsRecordSize);
    return true;
}

bool CPreferencesSnapshot::Write(const uint8_t (&record)[kPrefsRecordSize]) {
    std::memcpy(m_record, record, kPrefsRecordSize);
    return true;
}

bool CPreferencesSnapshot::Read(uint8_t (&record)[kPrefsRecordSize]) {
    std::memcpy(record, m_record, kPrefsRecordSize);
    return true;
}

CPreferences::CPreferences() {
    CPreferences::SetDefaults();
}

void CPreferences::SetDefaults() {
    m_startMarker = kPrefsMarker;
    m_baseSize = kPrefsBaseSize;
    m_version = kPrefsVersion;
    CopyBounded(m_playerName, sizeof m_playerName, "Blimpers");
    m_robotKillPoints = 10;
    m_screwdriverMultiplier = 2;
    m_lastStandMultiplier = 1;
    m_multipleKillMultiplier = 1;
    m_reserved1 = 0;
    m_teleportRule = 1;
    m_safeZoneRadius = 0;
    m_screwdriversPerGame = 1;
    m_screwdriversPerLevel = 1;
    m_screwdriverRadius = 1;
    m_screwdriverEffect = 1;
    m_gridStyle = 0;
    m_robotsPerLevel = 5;
    m_robotsBase = 0;
    m_heapsPerLevel = 0;
    m_heapsBase = 0;
    m_moveRobotsAfterTeleport = 1;
    m_moveRobotsAfterScrewdriver = 1;
    m_showMovementArrows = 1;
    m_screwdriverStockMode = 0;
    m_lastStandFast = 1;
    m_lastStandUntimed = 0;
    m_untimedAnimation = 0;
    m_soundOn = 1;
    m_smolderingHeaps = 0;
    m_forceEligible = 0;
    m_reserved2[0] = m_reserved2[1] = 0;
    m_iconSet = 0;
    m_endMarker = kPrefsMarker;
}

bool CPreferences::IsValid() const {
    return m_endMarker == kPrefsMarker && m_startMarker == kPrefsMarker &&
           m_version == kPrefsVersion && m_baseSize == kPrefsBaseSize;
}

bool CPreferences::Differs(const CPreferences* other) const {
    if (!other) {
        return true;
    }
    uint8_t mine[kPrefsBaseSize];
    uint8_t theirs[kPrefsBaseSize];
    WriteSettingsBlock(mine);
    other->WriteSettingsBlock(theirs);
    return std::memcmp(mine, theirs, kPrefsBaseSize) != 0;
}

void CPreferences::CopySettingsFrom(const CPreferences& other) {
    if (this != &other) {
        CPreferences::operator=(other);
    }
}

void CPreferences::SetPlayerName(const char* name) {
    CopyBounded(m_playerName, sizeof m_playerName, name);
}

void CPreferences::WriteSettingsBlock(uint8_t (&block)[kPrefsBaseSize]) const {
    CByteWriter out(block);
    out.U32(m_startMarker);
    out.U32(m_baseSize);
    out.U32(m_version);
    out.Bytes(m_playerName, sizeof m_playerName);
    out.I32(m_robotKillPoints);
    out.I32(m_screwdriverMultiplier);
    out.I32(m_lastStandMultiplier);
    out.I32(m_multipleKillMultiplier);
    for (int16_t v : {m_reserved1, m_teleportRule, m_safeZoneRadius, m_screwdriversPerGame,
                      m_screwdriversPerLevel, m_screwdriverRadius, m_screwdriverEffect, m_gridStyle,
                      m_robotsPerLevel, m_robotsBase, m_heapsPerLevel, m_heapsBase}) {
        out.I16(v);
    }
    for (uint8_t v :
         {m_moveRobotsAfterTeleport, m_moveRobotsAfterScrewdriver, m_showMovementArrows,
          m_screwdriverStockMode, m_lastStandFast, m_lastStandUntimed, m_untimedAnimation,
          m_soundOn, m_smolderingHeaps, m_forceEligible, m_reserved2[0], m_reserved2[1]}) {
        out.U8(v);
    }
    out.I32(m_iconSet);
    out.U32(m_endMarker);
}

void CPreferences::ReadSettingsBlock(const uint8_t (&block)[kPrefsBaseSize]) {
    CByteReader in(block);
    m_startMarker = in.U32();
    m_baseSize = in.U32();
    m_version = in.U32();
    in.Bytes(m_playerName, sizeof m_playerName);
    m_robotKillPoints = in.I32();
    m_screwdriverMultiplier = in.I32();
    m_lastStandMultiplier = in.I32();
    m_multipleKillMultiplier = in.I32();
    for (int16_t* v :
         {&m_reserved1, &m_teleportRule, &m_safeZoneRadius, &m_screwdriversPerGame,
          &m_screwdriversPerLevel, &m_screwdriverRadius, &m_screwdriverEffect, &m_gridStyle,
          &m_robotsPerLevel, &m_robotsBase, &m_heapsPerLevel, &m_heapsBase}) {
        *v = in.I16();
    }
    for (uint8_t* v :
         {&m_moveRobotsAfterTeleport, &m_moveRobotsAfterScrewdriver, &m_showMovementArrows,
          &m_screwdriverStockMode, &m_lastStandFast, &m_lastStandUntimed, &m_untimedAnimation,
          &m_soundOn, &m_smolderingHeaps, &m_forceEligible, &m_reserved2[0], &m_reserved2[1]}) {
        *v = in.U8();
    }
    m_iconSet = in.I32();
    m_endMarker = in.U32();
}

CPreferences2::CPreferences2(CPreferencesStore* store) : m_store(store) {
    CPreferences2::SetDefaults();
}

void CPreferences2::SetDefaults() {
    CPreferences::SetDefaults();
    m_mainWindowPlacement = WindowPlacement{};
    m_highScoresWindowPlacement = WindowPlacement{};
    m_extEndMarker = kPrefsMarker;
}

bool CPreferences2::Save() {
    if (!m_store) {
        return false;
    }
    uint8_t record[kPrefsRecordSize];
    WriteRecord(record);
    return m_store->Write(record);
}

bool CPreferences2::Load() {
    uint8_t record[kPrefsRecordSize] = {};
    if (!m_store || !m_store->Read(record)) {
        return false;
    }
    ReadRecord(record);
    return true;
}

bool CPreferences2::IsValid() const {
    return CPreferences::IsValid() && m_extEndMarker == kPrefsMarker;
}

bool CPreferences2::Differs(const CPreferences* other) const {
    if (CPreferences::Differs(other)) {
        return true;
    }
    // A plain CPreferences has no extension to compare against.
    const auto* extended = dynamic_cast<const CPreferences2*>(other);
    if (!extended) {
        return false;
    }
    uint8_t mine[kPrefsRecordSize];
    uint8_t theirs[kPrefsRecordSize];
    WriteRecord(mine);
    extended->WriteRecord(theirs);
    return std::memcmp(mine + kPrefsBaseSize, theirs + kPrefsBaseSize,
                       kPrefsRecordSize - kPrefsBaseSize) != 0;
}

void CPreferences2::WriteRecord(uint8_t (&record)[kPrefsRecordSize]) const {
    WriteSettingsBlock(reinterpret_cast<uint8_t(&)[kPrefsBaseSize]>(record));
    CByteWriter out(record + kPrefsBaseSize);
    WritePlacement(out, m_mainWindowPlacement);
    WritePlacement(out, m_highScoresWindowPlacement);
    out.U32(m_extEndMarker);
}

void CPreferences2::ReadRecord(const uint8_t (&record)[kPrefsRecordSize]) {
    ReadSettingsBlock(reinterpret_cast<const uint8_t(&)[kPrefsBaseSize]>(record));
    CByteReader in(record + kPrefsBaseSize);
    ReadPlacement(in, m_mainWindowPlacement);
    ReadPlacement(in, m_highScoresWindowPlacement);
    m_extEndMarker = in.U32();
}

bool AreStandardSettings(const CPreferences& p) {
    if (p.m_forceEligible != 0) {
        return true;
    }
    if (p.m_screwdriverStockMode != 0) {
        return false;
    }
    return p.m_moveRobotsAfterScrewdriver == 1 && p.m_moveRobotsAfterTeleport == 1 &&
           p.m_heapsBase == 0 && p.m_heapsPerLevel == 0 && p.m_robotsBase == 0 &&
           p.m_robotsPerLevel == 5 && p.m_screwdriverRadius == 1 && p.m_screwdriversPerLevel == 1 &&
           p.m_screwdriversPerGame == 1 && p.m_safeZoneRadius == 0 && p.m_teleportRule == 1 &&
           p.m_multipleKillMultiplier == 1 && p.m_lastStandMultiplier == 1 &&
           p.m_screwdriverMultiplier == 2 && p.m_robotKillPoints == 10;
}
