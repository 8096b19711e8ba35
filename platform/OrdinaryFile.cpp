#include "platform/OrdinaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

OrdinaryFile::OrdinaryFile(const std::string& path, int extraFlags)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | extraFlags)) {
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        error_ = errno;
    } else if (!S_ISREG(st.st_mode)) {
        notOrdinary_ = true;
        folder_ = S_ISDIR(st.st_mode);
    } else {
        size_ = static_cast<std::uint64_t>(st.st_size);
        // Only a pipe or a device would have blocked; an ordinary file reads as usual.
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        return;
    }
    ::close(fd_);
    fd_ = -1;
}

OrdinaryFile::OrdinaryFile(OrdinaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), error_(other.error_),
      notOrdinary_(other.notOrdinary_), folder_(other.folder_) {}

OrdinaryFile& OrdinaryFile::operator=(OrdinaryFile&& other) noexcept {
    std::swap(fd_, other.fd_);
    size_ = other.size_;
    error_ = other.error_;
    notOrdinary_ = other.notOrdinary_;
    folder_ = other.folder_;
    return *this;
}

OrdinaryFile::~OrdinaryFile() {
    if (fd_ >= 0) ::close(fd_);
}

int OrdinaryFile::release() {
    return std::exchange(fd_, -1);
}
