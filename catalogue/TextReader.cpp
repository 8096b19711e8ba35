#include "catalogue/TextReader.h"

#include "platform/system/CodePage1250.h"
#include "platform/system/OrdinaryFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Up to size bytes, fewer only at the end of the file; -1 with errno on a failed read.
ssize_t readSome(int fd, char* into, std::size_t size) {
    ssize_t n;
    do n = ::read(fd, into, size);
    while (n < 0 && errno == EINTR);
    return n;
}

} // namespace

// A block need not be larger than the bytes it takes them from.
TextReader::TextReader(std::string_view bytes, ReadLimits limits, std::size_t blockSize)
    : TextReader(FileDescriptor(), bytes, limits, std::min(blockSize, bytes.size())) {}

TextReader::TextReader(FileDescriptor file, std::string_view bytes, ReadLimits limits,
                       std::size_t blockSize)
    : file_(std::move(file)), memory_(bytes), bytesLeft_(limits.fileBytes),
      textLimit_(limits.textBytes), blockSize_(std::max<std::size_t>(blockSize, 1)),
      // Room for the byte before the position and a CR looked past, then a block.
      buffer_(std::make_unique_for_overwrite<char[]>(blockSize_ + 2)), ended_(false) {
    // Before the first byte stands no CR.
    buffer_[0] = '\0';
    pos_ = end_ = 1;
}

TextReader TextReader::open(const std::string& path, ReadLimits limits) {
    if (path.empty()) return TextReader();
    OrdinaryFile file(path);
    if (!file.ok()) return TextReader();
    return TextReader(FileDescriptor(file.release()), {}, limits, BlockSize);
}

bool TextReader::fill() {
    if (ended_) return false;
    const std::size_t keepFrom = pos_ > 0 ? pos_ - 1 : 0;
    const std::size_t kept = end_ - keepFrom;
    std::memmove(buffer_.get(), buffer_.get() + keepFrom, kept);
    base_ += keepFrom;
    pos_ -= keepFrom;
    end_ = kept;
    const std::size_t read = readBlock(buffer_.get() + kept);
    if (read == 0) return false;
    end_ += read;
    if (listener_) listener_->takeBlock({buffer_.get() + kept, read});
    return true;
}

std::size_t TextReader::readBlock(char* into) {
    if (bytesLeft_ == 0) {
        // At the limit: the file is cut when anything but its end follows.
        char next = static_cast<char>(EndOfFile);
        if (file_.get() >= 0 && readSome(file_.get(), &next, 1) != 1) next = EndOfFile;
        if (file_.get() < 0 && !memory_.empty()) next = memory_.front();
        cut_ = cut_ || next != static_cast<char>(EndOfFile);
        ended_ = true;
        file_.close();
        return 0;
    }
    std::size_t read = static_cast<std::size_t>(std::min<std::uint64_t>(blockSize_, bytesLeft_));
    if (file_.get() >= 0) {
        const ssize_t n = readSome(file_.get(), into, read);
        read = n > 0 ? static_cast<std::size_t>(n) : 0;
    } else {
        read = std::min(read, memory_.size());
        std::memcpy(into, memory_.data(), read);
        memory_.remove_prefix(read);
    }
    bytesLeft_ -= read;
    if (const void* ctrlZ = std::memchr(into, EndOfFile, read)) {
        read = static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - into);
        bytesLeft_ = 0;
        ended_ = true;
    }
    // A failed read ends the file where it failed, as a file that shrank while being read.
    if (read == 0) ended_ = true;
    if (ended_) file_.close();
    return read;
}

std::string TextReader::readRestOfLine() {
    std::string line;
    const std::uint64_t start = base_ + pos_;
    do {
        if (pos_ >= end_) continue;
        const void* lf = std::memchr(buffer_.get() + pos_, '\n', end_ - pos_);
        const std::size_t stop = lf ? offsetOf(lf) : end_;
        // Any CR left inside the line is not followed by LF, and such a CR is dropped.
        for (; pos_ < stop; ++pos_) {
            if (buffer_[pos_] == '\r') continue;
            if (line.size() < textLimit_)
                line.push_back(buffer_[pos_]);
            else
                cut_ = true;
        }
        if (lf) {
            // The position stays before the whole line end: at the CR of a CR LF.
            if (base_ + pos_ > start && buffer_[pos_ - 1] == '\r') --pos_;
            return line;
        }
    } while (fill());
    return line;
}

bool TextReader::scanToken(std::string* target) {
    std::size_t kept = 0;
    do {
        if (pos_ >= end_) continue;
        const void* blank = std::memchr(buffer_.get() + pos_, ' ', end_ - pos_);
        const std::size_t stop = blank ? offsetOf(blank) : end_;
        if (target) {
            const std::size_t keep = std::min(stop - pos_, textLimit_ - kept);
            target->append(buffer_.get() + pos_, keep);
            kept += keep;
            if (keep < stop - pos_) cut_ = true;
        }
        pos_ = stop;
        if (blank) {
            ++pos_;
            return true;
        }
    } while (fill());
    return false;
}

WholeFile readWholeFile(const std::string& path, std::uint64_t limit) {
    const OrdinaryFile file(path);
    const std::string name = fileNameToUtf8(path);
    if (file.notOrdinary()) return {{}, "Cannot open file " + name + ": not an ordinary file"};
    if (!file.ok()) return {{}, "Cannot open file " + name + ": " + std::strerror(file.error())};
    WholeFile whole;
    whole.cut = file.size() > limit;
    whole.bytes.resize(static_cast<std::size_t>(std::min(file.size(), limit)));
    std::size_t size = 0;
    while (size < whole.bytes.size()) {
        const ssize_t n =
            readSome(file.get(), whole.bytes.data() + size, whole.bytes.size() - size);
        const int error = errno;
        if (n < 0) whole.error = "Cannot read file " + name + ": " + std::strerror(error);
        if (n <= 0) break; // a file that shrank while being read ends where it ended
        size += static_cast<std::size_t>(n);
    }
    if (!whole.ok()) return {{}, whole.error};
    whole.bytes.resize(size);
    return whole;
}
