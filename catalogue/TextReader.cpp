#include "catalogue/TextReader.h"

#include "platform/CodePage1250.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

// Filling a fresh buffer of many megabytes costs more in faulting it in 4 KB page by page than
// in copying the file: asking for huge pages where the buffer covers whole ones halves the
// time to read a large scenery. The bytes read are the same either way.
void preferHugePages(char* buffer, std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t huge = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t begin = (start + huge - 1) & ~(huge - 1);
    const std::uintptr_t end = (start + size) & ~(huge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)buffer;
    (void)size;
#endif
}

} // namespace

namespace {

// The bytes of an ordinary file, or the error that kept them from being read.
struct FileRead {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    int error = 0;            // errno of a failed open or read
    bool notOrdinary = false; // a folder, a pipe or a device
};

FileRead readOrdinaryFile(const std::string& path) {
    FileRead file;
    // Non-blocking, so that a pipe or device under a data file's name cannot hang the launcher.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        file.error = errno;
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        file.error = errno;
        file.notOrdinary = true;
        ::close(fd);
        return file;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    if (size > 0) {
        file.bytes = std::make_unique_for_overwrite<char[]>(size);
        preferHugePages(file.bytes.get(), size);
    }
    while (file.size < size) {
        const ssize_t n = ::read(fd, file.bytes.get() + file.size, size - file.size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) file.error = errno;
        if (n <= 0) break; // a file that shrank while being read ends where it ended
        file.size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return file;
}

} // namespace

TextReader TextReader::open(const std::string& path) {
    TextReader reader;
    if (path.empty()) return reader;
    FileRead file = readOrdinaryFile(path);
    if (file.size == 0) return reader;
    reader.owned_ = std::move(file.bytes);
    reader.view(reader.owned_.get(), file.size);
    return reader;
}

WholeFile readWholeFile(const std::string& path) {
    const FileRead file = readOrdinaryFile(path);
    const std::string name = fileNameToUtf8(path);
    if (file.notOrdinary) return {{}, "Cannot open file " + name + ": not an ordinary file"};
    if (file.error != 0 && !file.bytes)
        return {{}, "Cannot open file " + name + ": " + std::strerror(file.error)};
    if (file.error != 0) return {{}, "Cannot read file " + name + ": " + std::strerror(file.error)};
    return {std::string(file.bytes.get(), file.size), {}};
}

std::string TextReader::readRestOfLine() {
    const void* lf = std::memchr(data_ + pos_, '\n', end_ - pos_);
    std::size_t lineEnd = end_;
    if (lf) {
        lineEnd = static_cast<std::size_t>(static_cast<const char*>(lf) - data_);
        if (lineEnd > pos_ && data_[lineEnd - 1] == '\r') --lineEnd;
    }
    std::string line;
    line.reserve(lineEnd - pos_);
    // Any CR left inside the line is not followed by LF, and such a CR is dropped.
    for (std::size_t i = pos_; i < lineEnd; ++i)
        if (data_[i] != '\r') line.push_back(data_[i]);
    pos_ = lineEnd;
    return line;
}
