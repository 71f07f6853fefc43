#include "common/show_context.h"

#include <chrono>

uint32_t steadyMilliseconds() {
    using namespace std::chrono;
    static const steady_clock::time_point origin = steady_clock::now();
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - origin).count());
}
