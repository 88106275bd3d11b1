#include "HelpPicture.h"

#include "BmpWriter.h"
#include "Font.h"
#include "HelpArt.h"

#include <algorithm>
#include <string>
#include <vector>

namespace artgen {

namespace {

constexpr int kMargin = 10;
constexpr int kColumnGap = 16;
constexpr int kColumnWidth = (kHelpWidth - 2 * kMargin - kColumnGap) / 2;
constexpr int kPictureWidth = 52;
constexpr int kTextWidth = kColumnWidth - kPictureWidth;
constexpr int kHeadingHeight = 20;
constexpr int kFooterHeight = 22;
constexpr int kColumnsBottom = kHelpHeight - kMargin - kFooterHeight;

struct Paragraph {
    Image picture;
    std::string text;
};

struct Column {
    std::string heading;
    std::vector<Paragraph> paragraphs;
};

Column theChase() {
    return {"The Chase",
            {
                {chasingRobotPicture(),
                 "Robots are after you! Each time you take a step, every robot takes one step "
                 "closer."},
                {scrapHeapPicture(),
                 "When two robots bump into each other they blow up and leave a heap of scrap "
                 "metal. Keep clear: a heap wrecks any robot that runs into it, and you too."},
                {teleportPicture(),
                 "In a tight spot you can teleport a short way off. You have no say in where "
                 "you land, so it is a gamble."},
                {screwdriverPicture(),
                 "Once each round your screwdriver can vaporize all the robots right next to "
                 "you."},
            }};
}

Column theControls() {
    return {"The Controls",
            {
                {movesPicture(),
                 "Move with the arrow keys on the numeric keypad, or click one of the arrows "
                 "around you."},
                {keyPicture('T'), "Press T to teleport."},
                {keyPicture('S'), "Press S to use the screwdriver on the robots beside you."},
                {keyPicture('L'),
                 "Press L for a Last Stand: you stay put while the robots come to you."},
                {robotCrowdPicture(),
                 "Only a few robots come at first, but more and more join the chase in later "
                 "rounds."},
            }};
}

int paragraphHeight(const Paragraph& paragraph) {
    const auto lines = static_cast<int>(wrapText(paragraph.text, kTextWidth).size());
    return std::max(paragraph.picture.height(), lines * kLineHeight);
}

// Space around paragraphs, shared out so that each column fills the height above the footer.
int paragraphGap(const Column& column) {
    int used = kHeadingHeight;
    for (const Paragraph& paragraph : column.paragraphs) {
        used += paragraphHeight(paragraph);
    }
    return (kColumnsBottom - kMargin - used) / static_cast<int>(column.paragraphs.size() + 1);
}

// The picture stands at the left, centred on the paragraph's text.
void drawParagraph(Image& canvas, const Paragraph& paragraph, int left, int top) {
    const std::vector<std::string> lines = wrapText(paragraph.text, kTextWidth);
    const int height = paragraphHeight(paragraph);
    const int pictureLeft = left + (kPictureWidth - 4 - paragraph.picture.width()) / 2;
    canvas.draw(paragraph.picture, pictureLeft, top + (height - paragraph.picture.height()) / 2);
    int lineTop = top + (height - static_cast<int>(lines.size()) * kLineHeight) / 2;
    for (const std::string& line : lines) {
        drawText(canvas, line, left + kPictureWidth, lineTop + 1, kBlack);
        lineTop += kLineHeight;
    }
}

void drawRule(Image& canvas, int left, int right, int y) {
    for (int x = left; x < right; ++x) {
        canvas.set(x, y, kBlack);
    }
}

void drawHeading(Image& canvas, const std::string& heading, int left, int top) {
    drawBoldText(canvas, heading, left, top, kBlack);
    drawRule(canvas, left, left + kColumnWidth, top + kGlyphHeight);
}

void drawFooter(Image& canvas) {
    const std::string tip = "Tip: lure the robots into each other and let them do the work!";
    drawRule(canvas, kMargin, kHelpWidth - kMargin, kColumnsBottom);
    drawText(canvas, tip, (kHelpWidth - textWidth(tip)) / 2, kColumnsBottom + 8, kBlack);
}

void drawColumn(Image& canvas, const Column& column, int left) {
    drawHeading(canvas, column.heading, left, kMargin);
    const int gap = paragraphGap(column);
    int top = kMargin + kHeadingHeight + gap;
    for (const Paragraph& paragraph : column.paragraphs) {
        drawParagraph(canvas, paragraph, left, top);
        top += paragraphHeight(paragraph) + gap;
    }
}

} // namespace

Image helpPicture() {
    Image canvas(kHelpWidth, kHelpHeight, kWhite);
    drawColumn(canvas, theChase(), kMargin);
    drawColumn(canvas, theControls(), kMargin + kColumnWidth + kColumnGap);
    drawFooter(canvas);
    return canvas;
}

} // namespace artgen
