#include "shared/replace_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool replaceFile(const std::string& path, const std::string& bytes, std::string& error) {
    std::string pattern = path + ".partXXXXXX";
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = std::string("cannot write there: ") + std::strerror(errno);
        return false;
    }
    const mode_t mask = ::umask(0);  // mkstemp makes 0600; give the file the usual mode
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    bool written = writeAll(fd, bytes);
    int savedErrno = errno;
    bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        error = std::string("write failed: ") + std::strerror(written ? errno : savedErrno);
        ::unlink(temp.data());
        return false;
    }
    if (std::rename(temp.data(), path.c_str()) != 0) {
        error = std::string("cannot rename into place: ") + std::strerror(errno);
        ::unlink(temp.data());
        return false;
    }
    return true;
}
