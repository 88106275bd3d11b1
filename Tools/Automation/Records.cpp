#include "Automation.h"

#include "GameRecord.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>

RecordedGame::RecordedGame(const Installation& installation, const std::string& name)
    : m_base(installation.gamesDir + "\\" + name) {
    std::optional<GameRecord> record = ReadGameRecord(m_base + ".txt");
    if (!record) {
        Fail("the game record %s.txt is missing or cannot be read", m_base.c_str());
    }
    m_record = *record;
}

size_t RecordedGame::FirstPlayedMove() const {
    const size_t blank = m_record.moves.rfind(' ');
    return blank == std::string::npos ? 0 : blank + 1;
}

GameRecord RecordedGame::Prefix(size_t length) const {
    return {m_record.startTime, m_record.moves.substr(0, length)};
}

Position RecordedGame::PositionAfter(size_t length) const {
    return LoadPosition(Format("%s.%zu.board", m_base.c_str(), length));
}

std::optional<GameRecord> ReadGameRecord(const std::string& path) {
    uint64_t startTime = 0;
    char* moves = LoadGameRecordFile(path.c_str(), &startTime, nullptr);
    if (!moves) {
        return std::nullopt;
    }
    GameRecord record = {static_cast<unsigned long>(startTime), moves};
    std::free(moves);
    return record;
}

void WriteGameRecord(const std::string& path, const GameRecord& record) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!(out << FormatGameRecord(record.startTime, 0, "", record.moves.c_str())).flush()) {
        Fail("cannot write %s", path.c_str());
    }
}

std::string DataFilePath(const std::string& fileName) {
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData))) {
        Fail("the prefix has no application data folder");
    }
    const std::string folder = std::string(appData) + "\\Clankmere";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + fileName;
}

void WaitForSameBytes(const std::string& path, const std::string& expectedPath,
                      const std::string& what) {
    const std::string expected = ReadFileBytes(expectedPath);
    if (expected.empty()) {
        Fail("%s cannot be read", expectedPath.c_str());
    }
    std::string found;
    if (!WaitUntil([&] { return (found = ReadFileBytes(path)) == expected; })) {
        Fail("%s: %s holds %zu bytes that are not the %zu of %s", what.c_str(), path.c_str(),
             found.size(), expected.size(), expectedPath.c_str());
    }
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    if (!(out << bytes) || !out.flush()) {
        Fail("cannot write %s", path.c_str());
    }
}

HeldFile::HeldFile(const std::string& path)
    : m_handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
    if (m_handle == INVALID_HANDLE_VALUE) {
        Fail("cannot hold %s open (error %lu)", path.c_str(), GetLastError());
    }
}

void HeldFile::Release() {
    if (m_handle != INVALID_HANDLE_VALUE) {
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
}

void CheckSameGame(const std::string& path, const GameRecord& expected, const std::string& what) {
    const std::optional<GameRecord> found = ReadGameRecord(path);
    if (!found) {
        Fail("%s (%s) is missing or holds no record", what.c_str(), path.c_str());
    }
    // The game writes the level separators ". " into its log; they do not count.
    const auto actions = [](std::string moves) {
        moves.erase(
            std::remove_if(moves.begin(), moves.end(), [](char c) { return c == '.' || c == ' '; }),
            moves.end());
        return moves;
    };
    if (found->startTime != expected.startTime ||
        actions(found->moves) != actions(expected.moves)) {
        Fail("%s holds start time %lu and moves \"%s\" instead of %lu and \"%s\"", what.c_str(),
             found->startTime, found->moves.c_str(), expected.startTime, expected.moves.c_str());
    }
}

// === The High Scores list

Picture CaptureList(const char* when) {
    return WaitForSteadyPicture(WaitForHighScoresList(1, when));
}

std::string RowTexts(Game& game, int index) {
    std::vector<std::string> texts;
    for (const DrawnText& text : game.Probe().TextsDrawn()) {
        if (text.rect.top == HighScoresRowBackground(index).y - 10) {
            texts.push_back(text.text);
        }
    }
    std::string row;
    for (size_t i = texts.size() - std::min<size_t>(3, texts.size()); i < texts.size(); ++i) {
        row += (row.empty() ? "" : " | ") + texts[i];
    }
    return row;
}

void CheckRowBackground(const Picture& list, int index, uint32_t color, const char* when) {
    const POINT background = HighScoresRowBackground(index);
    const uint32_t found = list.At(background.x, background.y);
    E2E_CHECK(found == color, "%s rank %d of the list shows %s instead of %s", when, index + 1,
              DescribeColor(found).c_str(), DescribeColor(color).c_str());
}

Picture WithoutLastDate(Picture list) {
    for (int y = 250; y < 270; ++y) {
        for (int x = 290; x < 502; ++x) {
            list.At(x, y) = 0;
        }
    }
    return list;
}

void CheckHighScoresFile(const std::string& path, const std::string& name) {
    const std::string bytes = ReadFileBytes(path);
    const std::regex rows("([^\r\n]*\r\r\n){8}110\tPellwick\t0\t21452193\r\r\n40\t" + name +
                          "\t1\t[0-9]+\r\r\n");
    E2E_CHECK(std::regex_match(bytes, rows),
              "\"High Scores.txt\" is not ten rows ending in CR CR LF with Pellwick's default row "
              "and then \"40\\t%s\\t1\\t<minutes>\": \"%s\"",
              name.c_str(), bytes.c_str());
}
