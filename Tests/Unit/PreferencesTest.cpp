// The 196-byte settings record: its layout is stored in the registry and must never change.
#include "Game.h"
#include "RecordingHost.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint32_t U32At(const uint8_t* bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

uint16_t U16At(const uint8_t* bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// A store in memory that can hold a record of any size.
class CMemoryStore : public CPreferencesStore {
public:
    std::vector<uint8_t> bytes;
    bool Write(const uint8_t (&record)[kPrefsRecordSize]) override {
        bytes.assign(record, record + kPrefsRecordSize);
        return true;
    }
    bool Read(uint8_t (&record)[kPrefsRecordSize]) override {
        if (bytes.size() != kPrefsRecordSize) {
            return false;
        }
        std::memcpy(record, bytes.data(), kPrefsRecordSize);
        return true;
    }
};

TEST(Preferences, DefaultRecordLayout) {
    CPreferences2 prefs;
    uint8_t r[kPrefsRecordSize];
    prefs.WriteRecord(r);
    EXPECT_EQ(U32At(r, 0), kPrefsMarker);
    EXPECT_EQ(U32At(r, 4), 104u);
    EXPECT_EQ(U32At(r, 8), 8u);
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 12), "Blimpers");
    for (size_t i = 12 + 8; i < 44; ++i) {
        EXPECT_EQ(r[i], 0) << "name padding at " << i;
    }
    EXPECT_EQ(U32At(r, 44), 10u);
    EXPECT_EQ(U32At(r, 48), 2u);
    EXPECT_EQ(U32At(r, 52), 1u);
    EXPECT_EQ(U32At(r, 56), 1u);
    // reserved, teleport rule, safe zone, per game, per level, radius, effect, grid, robots per
    // level, robots base, heaps per level, heaps base
    const uint16_t shorts[] = {0, 1, 0, 1, 1, 1, 1, 0, 5, 0, 0, 0};
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(U16At(r, 60 + 2 * i), shorts[i]) << "offset " << 60 + 2 * i;
    }
    const uint8_t flags[] = {1, 1, 1, 0, 1, 0, 0, 1, 0, 0, 0, 0};
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(r[84 + i], flags[i]) << "offset " << 84 + i;
    }
    EXPECT_EQ(U32At(r, 96), 0u);
    EXPECT_EQ(U32At(r, 100), kPrefsMarker);
    for (size_t i = 104; i < 192; ++i) {
        EXPECT_EQ(r[i], 0) << "placement byte " << i;
    }
    EXPECT_EQ(U32At(r, 192), kPrefsMarker);
}

TEST(Preferences, FieldsLandAtTheirOffsets) {
    CPreferences2 prefs;
    prefs.m_robotsPerLevel = -3;
    prefs.m_iconSet = 0x01020304;
    prefs.m_forceEligible = 1;
    prefs.m_mainWindowPlacement.length = 44;
    prefs.m_mainWindowPlacement.normalBottom = -2;
    prefs.m_highScoresWindowPlacement.showCmd = 5;
    uint8_t r[kPrefsRecordSize];
    prefs.WriteRecord(r);
    EXPECT_EQ(U16At(r, 76), 0xFFFD);
    EXPECT_EQ(U32At(r, 96), 0x01020304u);
    EXPECT_EQ(r[93], 1);
    EXPECT_EQ(U32At(r, 104), 44u);
    EXPECT_EQ(U32At(r, 144), 0xFFFFFFFEu);
    EXPECT_EQ(U32At(r, 156), 5u);
    CPreferences2 back;
    back.ReadRecord(r);
    EXPECT_FALSE(back.Differs(&prefs));
    EXPECT_FALSE(prefs.Differs(&back));
}

TEST(Preferences, DiffersComparesEverythingStored) {
    CPreferences2 a;
    CPreferences2 b;
    EXPECT_FALSE(a.Differs(&b));
    EXPECT_TRUE(a.Differs(nullptr));
    b.m_reserved2[1] = 1;
    EXPECT_TRUE(a.Differs(&b));
    b.m_reserved2[1] = 0;
    b.m_playerName[31] = 'x';
    EXPECT_TRUE(a.Differs(&b));
    b.m_playerName[31] = 0;
    b.m_highScoresWindowPlacement.minX = 1;
    EXPECT_TRUE(a.Differs(&b));
}

TEST(Preferences, TheSnapshotTakesTheSettingsBlockOnly) {
    CPreferences2 live;
    CPreferences2 snapshot;
    live.m_soundOn = 0;
    live.m_mainWindowPlacement.length = 44;
    snapshot.CopySettingsFrom(live);
    EXPECT_EQ(snapshot.m_soundOn, 0);
    EXPECT_EQ(snapshot.m_mainWindowPlacement.length, 0u);
    // So a stored placement makes the record differ at every quit.
    EXPECT_TRUE(live.Differs(&snapshot));
}

TEST(Preferences, ValidityChecksMarkersSizeAndVersion) {
    CPreferences2 prefs;
    EXPECT_TRUE(prefs.IsValid());
    for (auto damage :
         {+[](CPreferences2& p) { p.m_version = 7; }, +[](CPreferences2& p) { p.m_endMarker ^= 1; },
          +[](CPreferences2& p) { p.m_startMarker = 0; },
          +[](CPreferences2& p) { p.m_baseSize = 196; },
          +[](CPreferences2& p) { p.m_extEndMarker = 0; }}) {
        CPreferences2 damaged;
        damage(damaged);
        EXPECT_FALSE(damaged.IsValid());
    }
}

TEST(Preferences, NamesAreCutToThirtyOneCharacters) {
    CPreferences2 prefs;
    prefs.SetPlayerName("0123456789012345678901234567890123456789");
    EXPECT_STREQ(prefs.m_playerName, "0123456789012345678901234567890");
    prefs.SetPlayerName("Al");
    for (size_t i = 2; i < kPlayerNameSize; ++i) {
        EXPECT_EQ(prefs.m_playerName[i], 0);
    }
}

TEST(Preferences, StandardSettings) {
    CPreferences2 prefs;
    EXPECT_TRUE(AreStandardSettings(prefs));
    prefs.m_soundOn = 0;
    prefs.m_gridStyle = 3;
    prefs.m_iconSet = 2;
    prefs.m_showMovementArrows = 0;
    prefs.m_screwdriverEffect = 2;
    prefs.m_lastStandUntimed = 1;
    prefs.SetPlayerName("Zed");
    EXPECT_TRUE(AreStandardSettings(prefs)) << "display settings do not count";
    prefs.m_robotsPerLevel = 6;
    EXPECT_FALSE(AreStandardSettings(prefs));
    prefs.m_forceEligible = 1;
    EXPECT_TRUE(AreStandardSettings(prefs));
    CPreferences2 stock;
    stock.m_screwdriverStockMode = 1;
    EXPECT_FALSE(AreStandardSettings(stock));
}

class LoadOrRevertTest : public ::testing::Test {
protected:
    CMemoryStore store;
    CRecordingHost host;
    CPreferences2 prefs{&store};
    CPreferences2 snapshot;

    void StoreValidRecordWithGrid(int16_t grid) {
        CPreferences2 stored(&store);
        stored.m_gridStyle = grid;
        ASSERT_TRUE(stored.Save());
    }
};

TEST_F(LoadOrRevertTest, AValidRecordIsTaken) {
    StoreValidRecordWithGrid(4);
    EXPECT_TRUE(LoadOrRevert(prefs, &snapshot, host));
    EXPECT_EQ(prefs.m_gridStyle, 4);
    EXPECT_EQ(snapshot.m_gridStyle, 4);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(LoadOrRevertTest, MissingWrongSizedOrDamagedRecordsRevert) {
    const std::string revert = std::string("Message: ") + kRevertingPreferencesText;
    for (size_t size : {size_t{0}, size_t{195}, size_t{197}}) {
        store.bytes.assign(size, 0);
        prefs.m_gridStyle = 3;
        LoadOrRevert(prefs, &snapshot, host);
        EXPECT_EQ(prefs.m_gridStyle, 0) << size << " bytes";
    }
    StoreValidRecordWithGrid(4);
    store.bytes[8] = 7; // version 7
    LoadOrRevert(prefs, &snapshot, host);
    EXPECT_EQ(prefs.m_gridStyle, 0);
    EXPECT_EQ(host.Count(revert), 4);
}

TEST_F(LoadOrRevertTest, AltGivesTheDefaults) {
    StoreValidRecordWithGrid(4);
    host.altDown = true;
    LoadOrRevert(prefs, &snapshot, host);
    EXPECT_EQ(prefs.m_gridStyle, 0);
    EXPECT_EQ(host.calls.size(), 1u);
}

TEST(SavePreferencesAtQuitTest, WritesChangesUnlessAltIsHeld) {
    CMemoryStore store;
    CRecordingHost host;
    CGame game(host, &store);
    EnsureGameResources(game);
    SavePreferencesAtQuit(game);
    EXPECT_TRUE(store.bytes.empty()) << "nothing changed";
    game.m_prefs.m_gridStyle = 2;
    host.altDown = true;
    SavePreferencesAtQuit(game);
    EXPECT_TRUE(store.bytes.empty()) << "Alt keeps the stored value";
    host.altDown = false;
    SavePreferencesAtQuit(game);
    ASSERT_EQ(store.bytes.size(), kPrefsRecordSize);
    EXPECT_EQ(store.bytes[74], 2);
    EXPECT_FALSE(game.m_savedPrefs.CPreferences::Differs(&game.m_prefs));
}

TEST(PreferencesFile, HoldsExactlyOneRecord) {
    CTempDir dir;
    const std::string path = dir.Path("prefs.bin");
    CPreferencesFile file(path.c_str());
    CPreferences2 prefs(&file);
    prefs.m_robotsBase = 12;
    ASSERT_TRUE(prefs.Save());
    EXPECT_EQ(ReadFile(path).size(), kPrefsRecordSize);
    CPreferences2 back(&file);
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.m_robotsBase, 12);
    WriteFile(path, ReadFile(path) + "x");
    EXPECT_FALSE(back.Load()) << "197 bytes";
    WriteFile(path, std::string(195, 'x'));
    EXPECT_FALSE(back.Load()) << "195 bytes";
}

} // namespace
