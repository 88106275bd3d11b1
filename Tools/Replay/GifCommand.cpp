#include "GifCommand.h"

#include "GameGif.h"
#include "Preferences.h"
#include "SafeFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kExitBadInput = 2;
constexpr int kMaxScale = 4;

// A whole number of one to nine digits and nothing else, or -1.
int WholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos) {
        return -1;
    }
    return std::atoi(text.c_str());
}

int ParseScale(const GifRequest& request) {
    return request.scaleText ? WholeNumber(request.scaleText) : 1;
}

bool ParseActions(const GifRequest& request, GifPart& part) {
    if (!request.actionsText) {
        return true;
    }
    const std::string text = request.actionsText;
    const size_t dash = text.find('-');
    if (dash == text.npos) {
        return false;
    }
    part.firstAction = WholeNumber(text.substr(0, dash));
    part.lastAction = WholeNumber(text.substr(dash + 1));
    return part.firstAction >= 1 && part.lastAction >= part.firstAction;
}

// An existing file that is no GIF, such as the record itself given twice, is never replaced.
bool HoldsSomethingElse(const char* path) {
    FILE* file = OpenNamedFile(path, "rb");
    if (!file) {
        return false;
    }
    char signature[4] = {};
    const size_t read = std::fread(signature, 1, sizeof signature, file);
    std::fclose(file);
    return read > 0 && std::string(signature, read) != "GIF8";
}

int Fail(const std::string& subject, const std::string& reason) {
    std::fprintf(stderr, "clankmere-replay: %s: %s\n", subject.c_str(), reason.c_str());
    return kExitBadInput;
}

} // namespace

bool ParseGifArgument(const std::vector<std::string>& argv, size_t& i, GifRequest& request) {
    const char** value = argv[i] == "--gif"       ? &request.outPath
                         : argv[i] == "--scale"   ? &request.scaleText
                         : argv[i] == "--actions" ? &request.actionsText
                                                  : nullptr;
    if (!value || *value || i + 1 >= argv.size()) {
        return false;
    }
    *value = argv[++i].c_str();
    return true;
}

std::string CheckGifRequest(const GifRequest& request) {
    const int scale = ParseScale(request);
    if (scale < 1 || scale > kMaxScale) {
        return std::string("--scale ") + request.scaleText + ": give a whole number from 1 to 4";
    }
    GifPart part;
    if (!ParseActions(request, part)) {
        return std::string("--actions ") + request.actionsText +
               ": give the first and last action as A-B, 1 <= A <= B";
    }
    return "";
}

int WriteRecordGif(const GifRequest& request, const char* toolPath, int64_t startTime,
                   const char* moves, const char* prefsPath) {
    GifPart part;
    part.scale = ParseScale(request);
    ParseActions(request, part);
    const int actions = CountRecordActions(moves);
    if (part.lastAction > actions) {
        return Fail(std::string("--actions ") + request.actionsText,
                    "the record holds " + std::to_string(actions) + " actions");
    }
    if (HoldsSomethingElse(request.outPath)) {
        return Fail(request.outPath,
                    "holds something other than a GIF picture; it is left as it is");
    }
    const std::string folder = FindGraphicsFolder(toolPath);
    const BoardArt art = folder.empty() ? GeneratedBoardArt() : LoadBoardArt(folder);
    CPreferencesFile prefsFile(prefsPath ? prefsPath : "");
    const std::vector<uint8_t> gif =
        MakeGameGif(startTime, moves, prefsPath ? &prefsFile : nullptr, art, part);
    if (!WriteFileReplacing(request.outPath, gif.data(), gif.size())) {
        return Fail(request.outPath, "cannot write the picture there");
    }
    return 0;
}
