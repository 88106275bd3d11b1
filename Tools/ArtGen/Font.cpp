#include "Font.h"

#include <map>
#include <stdexcept>

namespace artgen {

namespace {

constexpr int kLetterSpacing = 1;
constexpr char kInk = '#';

struct Glyph {
    int width;
    std::vector<std::string> rows; // kGlyphHeight rows of `width` pixels
};

// Each glyph is its rows from the top, split by '/'. Rows below the seventh are only given for
// letters that hang below the line.
const std::map<char, const char*>& glyphDrawings() {
    static const std::map<char, const char*> drawings{
        {' ', ".../.../.../.../.../.../..."},
        {'!', "#/#/#/#/#/./#"},
        {'"', "#.#/#.#/.../.../.../.../..."},
        {'#', ".#.#./#####/.#.#./.#.#./#####/.#.#./....."},
        {'$', "..#../.####/#.#../.###./..#.#/####./..#.."},
        {'%', "##..#/##.#./...#./..#../.#.../.#.##/#..##"},
        {'&', ".#.../#.#../#.#../.#.../#.#.#/#..#./.##.#"},
        {'\'', "#/#/././././."},
        {'(', ".#/#./#./#./#./#./.#"},
        {')', "#./.#/.#/.#/.#/.#/#."},
        {'*', ".../#.#/.#./#.#/.../.../..."},
        {'+', "...../..#../..#../#####/..#../..#../....."},
        {',', "../../../../../.#/.#/#."},
        {'-', "..../..../..../####/..../..../...."},
        {'.', "./././././././#"},
        {'/', "....#/...#./...#./..#../.#.../.#.../#...."},
        {'0', ".##./#..#/#..#/#..#/#..#/#..#/.##."},
        {'1', ".#./##./.#./.#./.#./.#./###"},
        {'2', ".##./#..#/...#/..#./.#../#.../####"},
        {'3', "###./...#/...#/.##./...#/...#/###."},
        {'4', "..#./.##./#.#./#.#./####/..#./..#."},
        {'5', "####/#.../###./...#/...#/#..#/.##."},
        {'6', ".##./#.../#.../###./#..#/#..#/.##."},
        {'7', "####/...#/..#./..#./.#../.#../.#.."},
        {'8', ".##./#..#/#..#/.##./#..#/#..#/.##."},
        {'9', ".##./#..#/#..#/.###/...#/...#/.##."},
        {':', "./././#/./././#"},
        {';', "../../.#/../../../.#/.#/#."},
        {'<', "...#/..#./.#../#.../.#../..#./...#"},
        {'=', "..../..../####/..../####/..../...."},
        {'>', "#.../.#../..#./...#/..#./.#../#..."},
        {'?', ".###./#...#/....#/...#./..#../...../..#.."},
        {'@', ".###./#...#/#.###/#.#.#/#.###/#..../.####"},
        {'A', ".###./#...#/#...#/#####/#...#/#...#/#...#"},
        {'B', "####./#...#/#...#/####./#...#/#...#/####."},
        {'C', ".###./#...#/#..../#..../#..../#...#/.###."},
        {'D', "####./#...#/#...#/#...#/#...#/#...#/####."},
        {'E', "#####/#..../#..../####./#..../#..../#####"},
        {'F', "#####/#..../#..../####./#..../#..../#...."},
        {'G', ".###./#...#/#..../#.###/#...#/#...#/.####"},
        {'H', "#...#/#...#/#...#/#####/#...#/#...#/#...#"},
        {'I', "###/.#./.#./.#./.#./.#./###"},
        {'J', "..###/...#./...#./...#./#..#./#..#./.##.."},
        {'K', "#...#/#..#./#.#../##.../#.#../#..#./#...#"},
        {'L', "#..../#..../#..../#..../#..../#..../#####"},
        {'M', "#...#/##.##/#.#.#/#.#.#/#...#/#...#/#...#"},
        {'N', "#...#/##..#/#.#.#/#..##/#...#/#...#/#...#"},
        {'O', ".###./#...#/#...#/#...#/#...#/#...#/.###."},
        {'P', "####./#...#/#...#/####./#..../#..../#...."},
        {'Q', ".###./#...#/#...#/#...#/#.#.#/#..#./.##.#"},
        {'R', "####./#...#/#...#/####./#.#../#..#./#...#"},
        {'S', ".###./#...#/#..../.###./....#/#...#/.###."},
        {'T', "#####/..#../..#../..#../..#../..#../..#.."},
        {'U', "#...#/#...#/#...#/#...#/#...#/#...#/.###."},
        {'V', "#...#/#...#/#...#/#...#/#...#/.#.#./..#.."},
        {'W', "#...#/#...#/#...#/#.#.#/#.#.#/#.#.#/.#.#."},
        {'X', "#...#/#...#/.#.#./..#../.#.#./#...#/#...#"},
        {'Y', "#...#/#...#/.#.#./..#../..#../..#../..#.."},
        {'Z', "#####/....#/...#./..#../.#.../#..../#####"},
        {'[', "##/#./#./#./#./#./##"},
        {'\\', "#..../.#.../.#.../..#../...#./...#./....#"},
        {']', "##/.#/.#/.#/.#/.#/##"},
        {'^', "..#../.#.#./#...#/...../...../...../....."},
        {'_', "..../..../..../..../..../..../####"},
        {'`', "#./.#/../../../../.."},
        {'a', "..../..../.##./...#/.###/#..#/.###"},
        {'b', "#.../#.../###./#..#/#..#/#..#/###."},
        {'c', "..../..../.###/#.../#.../#.../.###"},
        {'d', "...#/...#/.###/#..#/#..#/#..#/.###"},
        {'e', "..../..../.##./#..#/####/#.../.###"},
        {'f', ".##/#../###/#../#../#../#.."},
        {'g', "..../..../.###/#..#/#..#/#..#/.###/...#/.##."},
        {'h', "#.../#.../###./#..#/#..#/#..#/#..#"},
        {'i', "#/./#/#/#/#/#"},
        {'j', "..#/.../..#/..#/..#/..#/..#/#.#/.#."},
        {'k', "#.../#.../#..#/#.#./##../#.#./#..#"},
        {'l', "#./#./#./#./#./#./.#"},
        {'m', "...../...../####./#.#.#/#.#.#/#.#.#/#.#.#"},
        {'n', "..../..../###./#..#/#..#/#..#/#..#"},
        {'o', "..../..../.##./#..#/#..#/#..#/.##."},
        {'p', "..../..../###./#..#/#..#/#..#/###./#.../#..."},
        {'q', "..../..../.###/#..#/#..#/#..#/.###/...#/...#"},
        {'r', "..../..../#.##/##../#.../#.../#..."},
        {'s', "..../..../.###/#.../.##./...#/###."},
        {'t', "#../#../###/#../#../#../.##"},
        {'u', "..../..../#..#/#..#/#..#/#..#/.###"},
        {'v', "...../...../#...#/#...#/.#.#./.#.#./..#.."},
        {'w', "...../...../#...#/#.#.#/#.#.#/#.#.#/.#.#."},
        {'x', "..../..../#..#/#..#/.##./#..#/#..#"},
        {'y', "..../..../#..#/#..#/#..#/#..#/.###/...#/.##."},
        {'z', "..../..../####/...#/.##./#.../####"},
        {'{', "..#/.#./.#./#../.#./.#./..#"},
        {'|', "#/#/#/#/#/#/#"},
        {'}', "#../.#./.#./..#/.#./.#./#.."},
        {'~', "...../...../.#.../#.#.#/...#./...../....."},
    };
    return drawings;
}

// The parts of `text` between the separators, also empty ones. No string streams: the replay
// tool draws with this font, and the build of that tool for Windows 95 and 98 must not pull in
// the C++ library's locales, which import functions those systems lack.
std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

Glyph parseGlyph(char letter, const std::string& drawing) {
    Glyph glyph{0, {}};
    glyph.rows = splitAt(drawing, '/');
    glyph.width = static_cast<int>(glyph.rows.front().size());
    for (const std::string& row : glyph.rows) {
        if (static_cast<int>(row.size()) != glyph.width || glyph.rows.size() > kGlyphHeight) {
            throw std::logic_error(std::string("badly drawn glyph '") + letter + "'");
        }
    }
    glyph.rows.resize(kGlyphHeight, std::string(static_cast<std::size_t>(glyph.width), '.'));
    return glyph;
}

const Glyph& glyphFor(char letter) {
    static const std::map<char, Glyph> glyphs = [] {
        std::map<char, Glyph> parsed;
        for (const auto& [key, drawing] : glyphDrawings()) {
            parsed.emplace(key, parseGlyph(key, drawing));
        }
        return parsed;
    }();
    const auto found = glyphs.find(letter);
    if (found == glyphs.end()) {
        throw std::invalid_argument(std::string("the font has no glyph for '") + letter + "'");
    }
    return found->second;
}

void drawGlyph(Image& canvas, const Glyph& glyph, int left, int top, Rgb ink) {
    for (int y = 0; y < kGlyphHeight; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            if (glyph.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == kInk) {
                canvas.set(left + x, top + y, ink);
            }
        }
    }
}

} // namespace

int textWidth(const std::string& text) {
    int width = 0;
    for (char letter : text) {
        width += glyphFor(letter).width + kLetterSpacing;
    }
    return text.empty() ? 0 : width - kLetterSpacing;
}

void drawText(Image& canvas, const std::string& text, int left, int top, Rgb ink) {
    for (char letter : text) {
        const Glyph& glyph = glyphFor(letter);
        drawGlyph(canvas, glyph, left, top, ink);
        left += glyph.width + kLetterSpacing;
    }
}

void drawBoldText(Image& canvas, const std::string& text, int left, int top, Rgb ink) {
    for (char letter : text) {
        const Glyph& glyph = glyphFor(letter);
        drawGlyph(canvas, glyph, left, top, ink);
        drawGlyph(canvas, glyph, left + 1, top, ink);
        left += glyph.width + 1 + kLetterSpacing;
    }
}

int boldTextWidth(const std::string& text) {
    return textWidth(text) + static_cast<int>(text.size());
}

std::vector<std::string> wrapText(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& word : splitAt(text, ' ')) {
        if (word.empty()) {
            continue;
        }
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && textWidth(longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace artgen
