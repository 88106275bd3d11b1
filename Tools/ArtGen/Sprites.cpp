#include "Sprites.h"

namespace artgen {

// The top row stays empty: an explosion erases the dying robot's cell from one row below the
// cell's top (its frames hang below the cell), and would leave that row standing.
PixelGrid robotSprite() {
    return PixelGrid::fromRows({
        "................",
        "......kaak......",
        "..kkkkkkkkkkkk..",
        "..klllllllllmk..",
        "..klkkkkkkkkmk..",
        "..klkeekkeekmk..",
        "..klkkkkkkkkmk..",
        "..kmmkmkmkmmdk..",
        "...kkkkkkkkkk...",
        ".kkkllllllmmkkk.",
        "kmdklkaaklmdkmdk",
        "kmdkllllllmdkmdk",
        "kkkkmmmmmmddkkkk",
        "...kkkkkkkkkk...",
        "...kddk..kddk...",
        "................",
    });
}

PixelGrid playerSprite() {
    return PixelGrid::fromRows({
        "................",
        "......kkkk......",
        ".....khhhhk.....",
        "....khhhhhhk....",
        "....khsssshk....",
        "....kskssksk....",
        "....kssssssk....",
        ".....kkkkkk.....",
        "....kcckkcck....",
        "...kcckcckcck...",
        "...kckcccckck...",
        "...ksk.cc.ksk...",
        "....kkppppkk....",
        ".....kpkkpk.....",
        ".....bbk.bbk....",
        "................",
    });
}

namespace {

PixelGrid northArrow() {
    return PixelGrid::fromRows({
        "................",
        "................",
        ".......nn.......",
        "......nffn......",
        ".....nffffn.....",
        "....nffffffn....",
        "...nffffffffn...",
        "...nnnnffnnnn...",
        "......nffn......",
        "......nffn......",
        "......nffn......",
        "......nffn......",
        "......nnnn......",
        "................",
        "................",
        "................",
    });
}

PixelGrid northEastArrow() {
    return PixelGrid::fromRows({
        "................",
        "................",
        "......nnnnnnnn..",
        "......nffffffn..",
        ".......nfffffn..",
        "........nffffn..",
        ".......nfffffn..",
        "......nfffnffn..",
        ".....nfffn.nfn..",
        "....nfffn...nn..",
        "...nfffn........",
        "..nfffn.........",
        "..nffn..........",
        "..nnn...........",
        "................",
        "................",
    });
}

} // namespace

PixelGrid arrowSprite(Direction direction) {
    switch (direction) {
    case Direction::NorthWest:
        return northEastArrow().mirroredLeftRight();
    case Direction::North:
        return northArrow();
    case Direction::NorthEast:
        return northEastArrow();
    case Direction::West:
        return northArrow().transposed();
    case Direction::East:
        return northArrow().transposed().mirroredLeftRight();
    case Direction::SouthWest:
        return northEastArrow().mirroredLeftRight().mirroredTopBottom();
    case Direction::South:
        return northArrow().mirroredTopBottom();
    case Direction::SouthEast:
        return northEastArrow().mirroredTopBottom();
    }
    return northArrow();
}

PixelGrid scrapHeapSprite() {
    return PixelGrid::fromRows({
        "................",
        "................",
        "................",
        "................",
        "...........ka...",
        "...........k....",
        "......kkkkkk....",
        ".....klllllmk...",
        ".....kkkkkkmk...",
        "...kkkdkkdkmkk..",
        "..kllkkkkkkdkmk.",
        "..klmmkdmmkkldk.",
        ".kmmdkmmuumklmdk",
        ".kdukllmmdkmmudk",
        "kmmdkmdukkmmdmmk",
        ".kkkkkkkkkkkkkk.",
    });
}

} // namespace artgen
