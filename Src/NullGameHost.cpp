#include "NullGameHost.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

int64_t CNullGameHost::CurrentTime() {
    return static_cast<int64_t>(std::time(nullptr));
}

void CNullGameHost::FatalError(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    std::exit(1);
}
