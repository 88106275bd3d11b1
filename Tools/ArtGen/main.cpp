// Writes the game's bitmaps, icons and sounds below the folder given on the command line.

#include "ArtFiles.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: clankmere-artgen OUTDIR\n";
        return 2;
    }
    try {
        artgen::writeArtFiles(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "clankmere-artgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
