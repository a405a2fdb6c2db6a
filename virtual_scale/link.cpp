#include "virtual_scale/link.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vardelmo::vscale {
namespace {

struct flock wholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

}  // namespace

bool claimTerminal(int slave) {
    struct flock lock = wholeFile(F_WRLCK);
    return ::fcntl(slave, F_SETLK, &lock) == 0;
}

std::string linkTarget(const std::string& link) {
    char target[512];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

std::optional<std::string> scaleBehind(const std::string& link) {
    struct stat info {};
    if (::lstat(link.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return std::nullopt;
    }
    const std::string target = linkTarget(link);
    // A terminal whose scale has gone cannot be opened any more, or is someone else's now.
    const int fd = ::open(target.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct flock lock = wholeFile(F_WRLCK);
    const bool asked = ::fcntl(fd, F_GETLK, &lock) == 0;
    ::close(fd);
    if (!asked || lock.l_type == F_UNLCK) {
        return std::nullopt;
    }
    return "pid " + std::to_string(lock.l_pid) + " on " + target;
}

bool makeLink(const std::string& link, const std::string& target, std::string& error) {
    if (const auto other = scaleBehind(link)) {
        error = link + " is the link of another scale, " + *other;
        return false;
    }
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = "cannot link " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace vardelmo::vscale
