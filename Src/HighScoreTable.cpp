#include "HighScoreTable.h"

#include "SafeFile.h"
#include "TextUtil.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

const char* const kHighScoreGamesFolder = "High Score Games";

namespace {

const HighScoreEntry kDefaultEntries[] = {
    {7010, 0, 0, "Curiously Delivered"},
    {2010, 449778896, 0, "Orvin"},
    {1520, 1278814757, 0, "Fenwright"},
    {380, 0, 0, "Baron Grimholt"},
    {340, 0, 0, "Oob"},
    {310, 0, 0, "Orvin"},
    {190, 0, 0, "Marlo"},
    {130, 0, 0, "Death"},
    {110, 1287131613, 0, "Pellwick"},
    {20, 0, 0, "Nobody"},
};
static_assert(sizeof kDefaultEntries / sizeof kDefaultEntries[0] == kNumHighScores,
              "one default row per rank");

// A file line longer than this is read as several lines.
constexpr size_t kMaxLineChunk = 510;

bool IsFieldSeparator(char c) {
    return c == '\t' || c == '\r' || c == '\n';
}

// Cuts the next field out of the text at `cursor`: fields are separated by runs of TAB, CR and
// LF, never by a space. Null when no field is left.
char* NextField(char*& cursor) {
    while (IsFieldSeparator(*cursor)) {
        ++cursor;
    }
    if (*cursor == '\0') {
        return nullptr;
    }
    char* field = cursor;
    while (*cursor != '\0' && !IsFieldSeparator(*cursor)) {
        ++cursor;
    }
    if (*cursor != '\0') {
        *cursor++ = '\0';
    }
    return field;
}

// A separator inside a name would split its row when the file is read back.
void BlankFieldSeparators(char* name) {
    for (; *name != '\0'; ++name) {
        if (IsFieldSeparator(*name)) {
            *name = ' ';
        }
    }
}

char* SkipSpace(char* text) {
    while (IsCSpace(*text)) {
        ++text;
    }
    return text;
}

std::string FormatTableFile(const CHighScoreTable& table) {
    std::string text;
    for (int i = 0; i < kNumHighScores; ++i) {
        const HighScoreEntry& row = table.Entry(i);
        char line[512];
        std::snprintf(line, sizeof line, "%" PRId32 "\t%s\t%d\t%" PRIu32 "\r\r\n", row.score,
                      row.name, row.level, static_cast<uint32_t>(row.date / 60));
        text += line;
    }
    return text;
}

// Hands each data line of the file to `take` with its index, ten at most. True when there were
// ten and the tenth ended with its line end, as in every file SaveToFile writes.
template <typename Take> bool ForEachDataLine(FILE* file, Take take) {
    char line[kMaxLineChunk + 1];
    int index = 0;
    bool lineEnded = false;
    while (index < kNumHighScores && std::fgets(line, sizeof line, file)) {
        char* text = SkipSpace(line);
        if (*text != '\0' && *text != '#') {
            lineEnded = std::strchr(text, '\n') != nullptr;
            take(text, index++);
        }
    }
    return index == kNumHighScores && lineEnded;
}

} // namespace

int64_t SystemTime() {
    return static_cast<int64_t>(std::time(nullptr));
}

CHighScoreTable::CHighScoreTable(const char* filePath, TimeSource clock)
    : m_dirty(false), m_clock(clock) {
    CopyBounded(m_filePath, sizeof m_filePath, filePath);
    ResetToDefaults();
}

void CHighScoreTable::ClearEntries() {
    std::fill(std::begin(m_entries), std::end(m_entries), HighScoreEntry{});
}

void CHighScoreTable::ResetToDefaults() {
    std::copy(std::begin(kDefaultEntries), std::end(kDefaultEntries), m_entries);
    m_dirty = false;
}

void CHighScoreTable::ClearToDefaults() {
    ResetToDefaults();
    m_dirty = true;
}

int CHighScoreTable::Insert(int32_t score, const char* name, int16_t level, int64_t date) {
    int rank = 0;
    while (rank < kNumHighScores && m_entries[rank].score >= score) {
        ++rank;
    }
    if (rank == kNumHighScores) {
        return 0;
    }
    std::copy_backward(m_entries + rank, m_entries + kNumHighScores - 1,
                       m_entries + kNumHighScores);
    HighScoreEntry& row = m_entries[rank];
    row = HighScoreEntry{score, date != 0 ? date : m_clock(), level, {}};
    CopyBounded(row.name, sizeof row.name, name && name[0] != '\0' ? name : "Nobody");
    BlankFieldSeparators(row.name);
    m_dirty = true;
    return rank + 1;
}

bool CHighScoreTable::QualifiesForTable(int32_t score) const {
    return std::any_of(std::begin(m_entries), std::end(m_entries),
                       [score](const HighScoreEntry& row) { return row.score < score; });
}

// Read as bytes: the CR of a CR LF or CR CR LF ending is a field separator, so every line
// ending reads alike.
void CHighScoreTable::LoadFromFile() {
    FinishInterruptedReplace(m_filePath, IsCompleteTableFile);
    FILE* file = OpenNamedFile(m_filePath, "rb");
    if (!file) {
        return;
    }
    ForEachDataLine(file, [this](char* text, int index) { ReadDataLine(text, index); });
    std::fclose(file);
}

bool CHighScoreTable::IsCompleteTableFile(const char* path) {
    FILE* file = OpenNamedFile(path, "rb");
    if (!file) {
        return false;
    }
    const bool complete = ForEachDataLine(file, [](char*, int) {});
    std::fclose(file);
    return complete;
}

// The fields are score, name, level and the date in minutes; further fields are ignored. The
// row is stored once it has a name, so a line with a score alone stores nothing.
void CHighScoreTable::ReadDataLine(char* text, int index) {
    HighScoreEntry row{};
    int fieldNumber = 0;
    for (char* field = NextField(text); field && fieldNumber < 4; field = NextField(text)) {
        switch (fieldNumber++) {
        case 0:
            row.score = ParseSigned32(field);
            continue;
        case 1:
            CopyBounded(row.name, sizeof row.name, field);
            break;
        case 2:
            row.level = static_cast<int16_t>(ParseSigned32(field));
            break;
        default:
            row.date = static_cast<int64_t>(ParseUnsigned32(field)) * 60;
            break;
        }
        StoreRow(index, row);
    }
}

// The first row read from a file replaces the whole built-in list.
void CHighScoreTable::StoreRow(int index, const HighScoreEntry& row) {
    if (index == 0) {
        ClearEntries();
    }
    m_entries[index] = row;
}

void CHighScoreTable::SaveToFile() {
    if (!m_dirty) {
        return;
    }
    const std::string text = FormatTableFile(*this);
    if (WriteFileReplacing(m_filePath, text.data(), text.size())) {
        m_dirty = false;
    }
}

void FormatHighScoreGameFileName(char (&out)[kHighScoreGameFileNameSize], uint64_t startTime) {
    std::snprintf(out, sizeof out, "hs%" PRIu32 ".txt", static_cast<uint32_t>(startTime));
}
