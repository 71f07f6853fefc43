#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix_platform.h"

namespace {

// In the child of a death test: makes a new pseudo-terminal the controlling
// terminal and standard input, returns its master side.
int terminalOnStandardInput() {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) std::_Exit(10);
    setsid();
    int slave = open(ptsname(master), O_RDWR);
    if (slave < 0 || ioctl(slave, TIOCSCTTY, 0) != 0) std::_Exit(11);
    dup2(slave, STDIN_FILENO);
    return master;
}

}  // namespace

TEST(KeyPoll, FalseWithoutATerminal) {
    EXPECT_EXIT(
        {
            int devNull = open("/dev/null", O_RDONLY);
            dup2(devNull, STDIN_FILENO);
            std::_Exit(platform::posixKeyPressWaiting() ? 1 : 0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(KeyPoll, SeesASingleKeyWithoutEnterAndLeavesItUnread) {
    EXPECT_EXIT(
        {
            int master = terminalOnStandardInput();
            if (platform::posixKeyPressWaiting()) std::_Exit(2);  // nothing typed yet
            if (write(master, "a", 1) != 1) std::_Exit(12);
            usleep(50000);
            if (!platform::posixKeyPressWaiting()) std::_Exit(3);
            if (!platform::posixKeyPressWaiting()) std::_Exit(4);  // still waiting
            char c = 0;
            fcntl(STDIN_FILENO, F_SETFL, O_NONBLOCK);
            termios raw{};
            tcgetattr(STDIN_FILENO, &raw);
            raw.c_lflag &= ~static_cast<tcflag_t>(ICANON);
            tcsetattr(STDIN_FILENO, TCSANOW, &raw);
            std::_Exit(read(STDIN_FILENO, &c, 1) == 1 && c == 'a' ? 0 : 5);  // the key was not consumed
        },
        testing::ExitedWithCode(0), "");
}
