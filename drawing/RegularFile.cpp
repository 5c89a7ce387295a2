#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lcd {
namespace {

[[noreturn]] void ThrowOpenError(const std::string& path, int error) {
    throw std::runtime_error("Could not open '" + path + "': " + std::strerror(error));
}

[[noreturn]] void ThrowNotRegular(const std::string& path) {
    throw std::runtime_error("'" + path + "' is not a regular file");
}

}  // namespace

int OpenRegularFileForReading(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        ThrowOpenError(path, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        ThrowNotRegular(path);
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        ThrowOpenError(path, errno);
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        ThrowNotRegular(path);
    }
    return fd;
}

}  // namespace lcd
