#include <cstdio>

#include "app/runners.h"

int runCapture(const Options&) {
    std::fprintf(stderr, "vokdemo: not built yet\n");
    return 2;
}
