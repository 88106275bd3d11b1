#include "GameRecord.h"

#include "SafeFile.h"
#include "TextUtil.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Reads a file the way a text-mode stream on Windows does: CR LF pairs arrive as LF.
class CTextReader {
public:
    explicit CTextReader(FILE* file) : m_file(file) {}

    int Get() {
        int c = std::fgetc(m_file);
        if (c == '\r') {
            int next = std::fgetc(m_file);
            if (next == '\n') {
                return '\n';
            }
            if (next != EOF) {
                std::ungetc(next, m_file);
            }
        }
        return c;
    }

    // Reads up to size - 1 characters, stopping after a line feed; false at end of file.
    bool GetPiece(char* piece, size_t size) {
        size_t n = 0;
        while (n + 1 < size) {
            int c = Get();
            if (c == EOF) {
                break;
            }
            piece[n++] = static_cast<char>(c);
            if (c == '\n') {
                break;
            }
        }
        piece[n] = '\0';
        return n > 0;
    }

private:
    FILE* m_file;
};

constexpr size_t kPieceSize = 32;

class CMovesCollector {
public:
    CMovesCollector(char* moves, size_t size) : m_moves(moves), m_size(size) {}

    void Append(char c) {
        if (m_length + 1 < m_size) {
            m_moves[m_length++] = c;
            m_moves[m_length] = '\0';
        }
    }

    // The rest of a "Moves:" piece; a line longer than the piece is read on to its end. True
    // when the line ends with its line feed, false when the file ends first.
    bool TakeLine(const char* text, CTextReader& reader) {
        while (IsCSpace(*text)) {
            ++text;
        }
        for (; *text != '\0'; ++text) {
            if (*text == '\n') {
                return true;
            }
            if (*text != '\r') {
                Append(*text);
            }
        }
        int c = reader.Get();
        for (; c != EOF && c != '\n'; c = reader.Get()) {
            Append(static_cast<char>(c));
        }
        return c == '\n';
    }

private:
    char* m_moves;
    size_t m_size;
    size_t m_length = 0;
};

// Reads the record's lines from `file`; true when it has a "Moves:" line ended by its line feed,
// as every record the program writes has: it is the last line written.
bool ReadRecordLines(FILE* file, CMovesCollector& collector, uint64_t* startTime, uint32_t* score) {
    CTextReader reader(file);
    char piece[kPieceSize];
    bool movesEnded = false;
    while (reader.GetPiece(piece, sizeof piece)) {
        if (const char* keyword = std::strstr(piece, "Moves:")) {
            movesEnded = collector.TakeLine(keyword + 6, reader);
        } else if (std::strstr(piece, "Time:")) {
            // The number is expected right after the keyword at the start of the line.
            uint32_t value = ParseUnsigned32(piece + 5);
            if (value != 0 && startTime) {
                *startTime = value;
            }
        } else if (std::strstr(piece, "Score:")) {
            int32_t value = ParseSigned32(piece + 6);
            if (value >= 0 && score) {
                *score = static_cast<uint32_t>(value);
            }
        }
    }
    return movesEnded;
}

} // namespace

std::string FormatGameRecord(uint64_t startTime, uint32_t score, const char* platform,
                             const char* moves) {
    std::string text = "Time:\t";
    text += std::to_string(static_cast<uint32_t>(startTime));
    text += "\r\nScore:\t";
    text += std::to_string(score);
    text += "\r\nPlatform:\t";
    char description[128];
    CopyBounded(description, sizeof description,
                platform && platform[0] != '\0' ? platform : "Windows");
    text += description;
    text += "\r\nMoves:\t";
    text += moves ? moves : "";
    text += "\r\n";
    return text;
}

bool WriteGameRecord(const char* path, uint64_t startTime, uint32_t score, const char* platform,
                     const char* moves) {
    const std::string text = FormatGameRecord(startTime, score, platform, moves);
    return WriteFileReplacing(path, text.data(), text.size());
}

bool ReadGameRecord(const char* path, char* moves, size_t movesSize, uint64_t* startTime,
                    uint32_t* score) {
    if (!moves || movesSize < 2) {
        return false;
    }
    if (startTime) {
        *startTime = 0;
    }
    if (score) {
        *score = 0;
    }
    std::memset(moves, 0, movesSize);
    FILE* file = OpenNamedFile(path, "rb");
    if (!file) {
        return false;
    }
    CMovesCollector collector(moves, movesSize);
    ReadRecordLines(file, collector, startTime, score);
    std::fclose(file);
    return true;
}

bool IsCompleteGameRecord(const char* path) {
    FILE* file = OpenNamedFile(path, "rb");
    if (!file) {
        return false;
    }
    CMovesCollector nowhere(nullptr, 0);
    const bool complete = ReadRecordLines(file, nowhere, nullptr, nullptr);
    std::fclose(file);
    return complete;
}

char* LoadGameRecordFile(const char* path, uint64_t* startTime, uint32_t* score) {
    if (startTime) {
        *startTime = 0;
    }
    if (score) {
        *score = 0;
    }
    uint64_t fileSize = 0;
    if (!path) {
        return nullptr;
    }
    FinishInterruptedReplace(path, IsCompleteGameRecord);
    if (!QueryFileSize(path, &fileSize)) {
        return nullptr;
    }
    const size_t size = static_cast<size_t>(fileSize & 0x7FFFFFFF);
    char* moves = size > 0 ? static_cast<char*>(std::malloc(size)) : nullptr;
    if (moves && ReadGameRecord(path, moves, size, startTime, score)) {
        return moves;
    }
    std::free(moves);
    return nullptr;
}
