#pragma once

#include "Image.h"

#include <string>
#include <vector>

namespace artgen {

// A small proportional pixel font for printable ASCII. Capitals stand 7 pixels tall; g, j, p,
// q, y and the comma hang 2 pixels below the line.
constexpr int kGlyphHeight = 9;
constexpr int kLineHeight = 12;

int textWidth(const std::string& text);
// Draws `text` with the top of its capitals at `top`.
void drawText(Image& canvas, const std::string& text, int left, int top, Rgb ink);
// Thicker letters for headings: each stroke drawn twice, one pixel apart.
void drawBoldText(Image& canvas, const std::string& text, int left, int top, Rgb ink);
int boldTextWidth(const std::string& text);
// Breaks `text` at spaces into lines no wider than `width`.
std::vector<std::string> wrapText(const std::string& text, int width);

} // namespace artgen
