#include "platform/posix_platform.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>


namespace platform {

// A terminal in its usual line mode holds typed characters back until Enter.
// To see a single waiting key press, line mode is switched off for the moment
// of the question (which makes the typed characters readable) and back on; the
// characters stay unread. Only the foreground process may change the terminal.
bool posixKeyPressWaiting() {
    static const bool terminal = isatty(STDIN_FILENO) == 1;
    static bool seen = false;  // a waiting key is never consumed, so it stays waiting
    if (!terminal) return false;
    if (seen) return true;
    termios saved{};
    bool lineMode = tcgetpgrp(STDIN_FILENO) == getpgrp() && tcgetattr(STDIN_FILENO, &saved) == 0 &&
                    (saved.c_lflag & ICANON) != 0;
    if (lineMode) {
        termios single = saved;
        single.c_lflag &= ~static_cast<tcflag_t>(ICANON);
        single.c_cc[VMIN] = 0;
        single.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &single);
    }
    int waiting = 0;
    if (ioctl(STDIN_FILENO, FIONREAD, &waiting) != 0) waiting = 0;
    if (lineMode) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    seen = waiting > 0;
    return seen;
}

}  // namespace platform
