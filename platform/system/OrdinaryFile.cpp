#include "platform/system/OrdinaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

OrdinaryFile::OrdinaryFile(const std::string& path, int extraFlags)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | extraFlags)) {
    if (fd_.get() < 0) {
        error_ = errno;
        return;
    }
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0) {
        error_ = errno;
    } else if (!S_ISREG(st.st_mode)) {
        notOrdinary_ = true;
        folder_ = S_ISDIR(st.st_mode);
    } else {
        size_ = static_cast<std::uint64_t>(st.st_size);
        // Only a pipe or a device would have blocked; an ordinary file reads as usual.
        ::fcntl(fd_.get(), F_SETFL, ::fcntl(fd_.get(), F_GETFL) & ~O_NONBLOCK);
        return;
    }
    fd_.close();
}
