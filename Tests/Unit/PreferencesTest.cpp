// The 196-byte settings record, whose layout is stored in the registry and must never change,
// and how the Advanced Options dialog shows settings and reads them back.
#include "AdvancedOptions.h"
#include "CommandIds.h"
#include "GameFixture.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Record = std::vector<uint8_t>;

Record RecordOf(const CPreferences2& prefs) {
    uint8_t r[kPrefsRecordSize];
    prefs.WriteRecord(r);
    return Record(r, r + kPrefsRecordSize);
}

// `count` little-endian numbers of `size` bytes from `offset` on.
std::vector<uint32_t> Numbers(const Record& r, size_t offset, size_t size, size_t count = 1) {
    std::vector<uint32_t> numbers(count);
    for (size_t i = 0; i < count * size; ++i) {
        numbers[i / size] |= static_cast<uint32_t>(r[offset + i]) << 8 * (i % size);
    }
    return numbers;
}

using N = std::vector<uint32_t>;

TEST(Preferences, DefaultRecordLayoutAndTheNameCutTo31CharactersAndZeroFilled) {
    CPreferences2 prefs;
    const Record r = RecordOf(prefs);
    EXPECT_EQ(Numbers(r, 0, 4, 3), (N{kPrefsMarker, 104, 8}));
    EXPECT_EQ(std::string(r.begin() + 12, r.begin() + 44), "Blimpers" + std::string(24, '\0'));
    // Kill points, screwdriver, Last Stand and multiple kill multipliers.
    EXPECT_EQ(Numbers(r, 44, 4, 4), (N{10, 2, 1, 1}));
    // reserved, teleport rule, safe zone, per game, per level, radius, effect, grid, robots per
    // level, robots base, heaps per level, heaps base
    EXPECT_EQ(Numbers(r, 60, 2, 12), (N{0, 1, 0, 1, 1, 1, 1, 0, 5, 0, 0, 0}));
    EXPECT_EQ(Numbers(r, 84, 1, 12), (N{1, 1, 1, 0, 1, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Numbers(r, 96, 4, 2), (N{0, kPrefsMarker})) << "icon set, end marker";
    EXPECT_EQ(Record(r.begin() + 104, r.begin() + 192), Record(88, 0)) << "no window placements";
    EXPECT_EQ(Numbers(r, 192, 4), N{kPrefsMarker});
    prefs.SetPlayerName("0123456789012345678901234567890123456789");
    EXPECT_STREQ(prefs.m_playerName, "0123456789012345678901234567890");
    prefs.SetPlayerName("Al");
    EXPECT_EQ(std::string(prefs.m_playerName, kPlayerNameSize), "Al" + std::string(30, '\0'));
}

// Every number the object holds, and where in the record it is kept: the fields in their order,
// in runs of one size. The name (bytes 12 to 43) is compared on its own.
struct StoredField {
    const char* name;
    size_t offset;
    size_t size;
    uint32_t value; // cut to `size` bytes
};

// A field's name and its value in the object `p`.
#define FIELD(member) std::pair<const char*, int64_t>(#member, p.member)

std::vector<StoredField> StoredFields(const CPreferences2& p) {
    std::vector<StoredField> fields;
    size_t offset = 0;
    const auto add = [&](size_t size, std::initializer_list<std::pair<const char*, int64_t>> run) {
        for (const auto& [name, value] : run) {
            const uint32_t mask = size == 4 ? ~0u : (1u << 8 * size) - 1;
            fields.push_back({name, offset, size, static_cast<uint32_t>(value) & mask});
            offset += size;
        }
    };
    add(4, {FIELD(m_startMarker), FIELD(m_baseSize), FIELD(m_version)});
    offset += kPlayerNameSize;
    add(4, {FIELD(m_robotKillPoints), FIELD(m_screwdriverMultiplier), FIELD(m_lastStandMultiplier),
            FIELD(m_multipleKillMultiplier)});
    add(2, {FIELD(m_reserved1), FIELD(m_teleportRule), FIELD(m_safeZoneRadius),
            FIELD(m_screwdriversPerGame), FIELD(m_screwdriversPerLevel), FIELD(m_screwdriverRadius),
            FIELD(m_screwdriverEffect), FIELD(m_gridStyle), FIELD(m_robotsPerLevel),
            FIELD(m_robotsBase), FIELD(m_heapsPerLevel), FIELD(m_heapsBase)});
    add(1, {FIELD(m_moveRobotsAfterTeleport), FIELD(m_moveRobotsAfterScrewdriver),
            FIELD(m_showMovementArrows), FIELD(m_screwdriverStockMode), FIELD(m_lastStandFast),
            FIELD(m_lastStandUntimed), FIELD(m_untimedAnimation), FIELD(m_soundOn),
            FIELD(m_smolderingHeaps), FIELD(m_forceEligible), FIELD(m_reserved2[0]),
            FIELD(m_reserved2[1])});
    add(4, {FIELD(m_iconSet), FIELD(m_endMarker)});
    // The two window placements, told apart by their offsets.
#define PLACED(member) std::pair<const char*, int64_t>("placement " #member, w->member)
    for (const WindowPlacement* w : {&p.m_mainWindowPlacement, &p.m_highScoresWindowPlacement}) {
        add(4, {PLACED(length), PLACED(flags), PLACED(showCmd), PLACED(minX), PLACED(minY),
                PLACED(maxX), PLACED(maxY), PLACED(normalLeft), PLACED(normalTop),
                PLACED(normalRight), PLACED(normalBottom)});
    }
#undef PLACED
    add(4, {FIELD(m_extEndMarker)});
    return fields;
}
#undef FIELD

// Each field of `prefs` against the bytes that `record` keeps in its place.
void ExpectFieldsAsIn(const Record& record, const CPreferences2& prefs, const char* what) {
    const std::vector<StoredField> fields = StoredFields(prefs);
    ASSERT_EQ(fields.back().offset + fields.back().size, kPrefsRecordSize)
        << "the table covers all";
    for (const StoredField& field : fields) {
        EXPECT_EQ(field.value, Numbers(record, field.offset, field.size)[0])
            << what << ": " << field.name << " at byte " << field.offset;
    }
    EXPECT_EQ(std::string(prefs.m_playerName, kPlayerNameSize),
              std::string(record.begin() + 12, record.begin() + 44))
        << what << ": m_playerName";
}

TEST(Preferences, EveryFieldKeepsItsOwnValueAndPlaceThroughTheStoreAndBack) {
    // Byte i is 37 i + 128 (mod 256): all bytes differ, so every field holds a value of its own
    // and two fields trading places show; about half the numbers are negative.
    uint8_t distinct[kPrefsRecordSize];
    for (size_t i = 0; i < kPrefsRecordSize; ++i) {
        distinct[i] = static_cast<uint8_t>(37 * i + 128);
    }
    const Record expected(distinct, distinct + kPrefsRecordSize);
    CTempDir dir;
    const std::string path = dir.Path("prefs.bin");
    CPreferencesFile file(path.c_str());
    CPreferences2 written(&file);
    written.ReadRecord(distinct);
    ExpectFieldsAsIn(expected, written, "read");
    ASSERT_TRUE(written.Save());
    const std::string stored = ReadFile(path);
    ExpectFieldsAsIn(Record(stored.begin(), stored.end()), written, "stored");
    CPreferences2 loaded(&file);
    ASSERT_TRUE(loaded.Load());
    ExpectFieldsAsIn(expected, loaded, "loaded");
    EXPECT_FALSE(loaded.Differs(&written));
    // The snapshot takes the settings block, and keeps its own placements and end marker.
    CPreferences2 snapshot;
    snapshot.CopySettingsFrom(loaded);
    Record block = RecordOf(CPreferences2());
    std::copy(distinct, distinct + kPrefsBaseSize, block.begin());
    ExpectFieldsAsIn(block, snapshot, "snapshot");
}

TEST(Preferences, EveryStoredByteDiffersAndOnlyMarkersSizeVersionAndRulesAreSpecial) {
    const CPreferences2 standard, same;
    EXPECT_FALSE(standard.Differs(&same));
    EXPECT_TRUE(standard.Differs(nullptr));
    // Each byte changed in turn. Only the markers, the size and the version (0-11, 100-103,
    // 192-195) make the record invalid; the rules, which lose the high scores, are the kill
    // points and multipliers (44-59), teleport rule to screwdriver radius (62-71), robots and
    // heaps (76-83), robots moving after a teleport or the screwdriver (84, 85) and the stock.
    for (size_t at = 0; at < kPrefsRecordSize; ++at) {
        uint8_t record[kPrefsRecordSize];
        standard.WriteRecord(record);
        record[at] ^= 0x40;
        CPreferences2 prefs;
        prefs.ReadRecord(record);
        EXPECT_TRUE(standard.Differs(&prefs)) << "byte " << at;
        EXPECT_EQ(prefs.IsValid(), at >= 12 && at < 192 && (at < 100 || at >= 104))
            << "byte " << at;
        const bool rule =
            (at >= 44 && at < 60) || (at >= 62 && at < 72) || (at >= 76 && at < 86) || at == 87;
        EXPECT_EQ(AreStandardSettings(prefs), !rule) << "byte " << at;
        prefs.m_forceEligible = 1;
        EXPECT_TRUE(AreStandardSettings(prefs)) << "byte " << at;
    }
}

TEST(Preferences, LoadOrRevertTakesOnlyAValidRecordOfExactly196BytesWithoutAlt) {
    CTempDir dir;
    const std::string path = dir.Path("prefs.bin");
    CPreferencesFile file(path.c_str());
    CRecordingHost host;
    CPreferences2 stored(&file);
    stored.m_gridStyle = 4;
    ASSERT_TRUE(stored.Save());
    const std::string valid = ReadFile(path);
    ASSERT_EQ(valid.size(), kPrefsRecordSize);
    using Case = std::tuple<const char*, std::string, bool>;
    for (const auto& [what, bytes, alt] :
         {Case{"a valid record", valid, false}, Case{"no record", "", false},
          Case{"195 bytes", valid.substr(1), false}, Case{"197 bytes", valid + "x", false},
          Case{"version 7", valid.substr(0, 8) + '\7' + valid.substr(9), false},
          Case{"Alt held", valid, true}}) {
        WriteFile(path, bytes);
        host.Clear();
        host.altDown = alt;
        CPreferences2 prefs(&file);
        prefs.m_gridStyle = 3;
        CPreferences2 snapshot;
        EXPECT_TRUE(LoadOrRevert(prefs, &snapshot, host));
        const bool taken = bytes == valid && !alt;
        EXPECT_EQ(prefs.m_gridStyle, taken ? 4 : 0) << what;
        EXPECT_EQ(snapshot.m_gridStyle, prefs.m_gridStyle) << what;
        EXPECT_EQ(host.calls,
                  taken ? Calls{} : Calls{std::string("Message: ") + kRevertingPreferencesText})
            << what;
    }
}

// Alt left down in the window's key state, as an Alt+Tab leaves it, is no Alt+X: the quit
// command and a session's end store the settings whatever it says. Alt+X keeps them, and so does
// a close while Alt is held on the keyboard (`altDown` is what the keyboard says now).
TEST(Preferences, AltXAndACloseWithAltHeldLeaveTheStoredSettingsAsTheyAre) {
    CTempDir dir;
    const std::string path = dir.Path("prefs.bin");
    CPreferencesFile file(path.c_str());
    constexpr int kClose = 0, kSessionEnd = 1;
    using Case = std::tuple<int, bool, bool>;
    for (const auto& [quit, alt, stored] :
         {Case{IDM_QUIT, false, true}, Case{IDM_QUIT_OR_STOP_WATCHING, true, true},
          Case{IDM_QUIT_KEEPING_SETTINGS, false, false}, Case{kClose, false, true},
          Case{kClose, true, false}, Case{kSessionEnd, true, true}}) {
        WriteFile(path, "");
        CRecordingHost host;
        host.altDown = alt;
        CGame game(host, &file);
        game.m_prefs.m_gridStyle = 3;
        if (quit == kClose || quit == kSessionEnd) {
            QuitGame(game,
                     quit == kClose ? SettingsAtQuit::kKeepWhileAltHeld : SettingsAtQuit::kStore);
        } else {
            EXPECT_TRUE(HandleGameCommand(game, quit));
        }
        EXPECT_EQ(ReadFile(path).size(), stored ? kPrefsRecordSize : 0) << quit << " " << alt;
    }
}

TEST(AdvancedOptions, TeleportRulesAndLastStandSpeedsThroughTheControls) {
    for (int16_t rule = 1; rule <= 5; ++rule) {
        EXPECT_EQ(TeleportRuleFromBoxes(TeleportRuleToBoxes(rule)), rule);
    }
    // Rules the boxes cannot show are shown, and read back, as rule 4: only the adjacent box.
    for (int16_t rule : {0, 6, -1, 32767}) {
        const TeleportBoxes boxes = TeleportRuleToBoxes(rule);
        EXPECT_FALSE(boxes.robots || boxes.heaps || !boxes.adjacent) << "rule " << rule;
        EXPECT_EQ(TeleportRuleFromBoxes(boxes), 4) << "rule " << rule;
    }
    EXPECT_EQ(TeleportRuleFromBoxes({true, true, false}), 5) << "without adjacent cells";
    EXPECT_EQ(TeleportRuleFromBoxes({false, true, true}), 2);
    EXPECT_EQ((std::vector{LastStandSpeedOf(0, 0), LastStandSpeedOf(1, 0), LastStandSpeedOf(1, 1),
                           LastStandSpeedOf(0, 1)}),
              (std::vector{kLastStandNormal, kLastStandFast, kLastStandFast, kLastStandUntimed}))
        << "fast wins";
}

// How the edit boxes read numbers back is checked through the dialog itself, end to end.
TEST(AdvancedOptions, EditNumbersShowTheWidestValueWhole) {
    char text[kEditTextSize];
    FormatEditNumber(INT32_MIN, text);
    EXPECT_STREQ(text, "-2147483648");
}

} // namespace
