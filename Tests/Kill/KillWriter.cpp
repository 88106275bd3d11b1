// clankmere-kill-writer FOLDER
// Rewrites the kill test's files in FOLDER through the program's own code, alternating their
// two versions in a tight loop, until it is killed. Prints "writing" when it starts.
#include "RewrittenFiles.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: clankmere-kill-writer FOLDER\n");
        return 2;
    }
    std::puts("writing");
    std::fflush(stdout);
    for (int version = 1;; version = 1 - version) {
        for (int file = 0; file < kRewrittenFileCount; ++file) {
            WriteVersion(argv[1], file, version);
        }
    }
}
