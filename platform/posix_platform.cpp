#include "platform/posix_platform.h"

#include <sys/select.h>
#include <unistd.h>

#include "platform/platform.h"

namespace platform {

bool posixKeyPressWaiting() {
    if (!isatty(STDIN_FILENO)) return false;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(STDIN_FILENO, &readable);
    timeval noWait{0, 0};
    return select(STDIN_FILENO + 1, &readable, nullptr, nullptr, &noWait) > 0;
}

void installPosixKeyPoll() { setKeyPoll(posixKeyPressWaiting); }

}  // namespace platform
