#pragma once

#include "catalogue/ReadingLimits.h"
#include "platform/system/FileDescriptor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

// Reads an 8-bit text file the way the installation's data files were written to be read:
// byte by byte, CR and LF being ordinary characters, a byte of code 26 ending the file.
//
// A line may end with CR LF or with LF alone. A lone LF reads exactly like CR LF: the first
// character read at it returns the LF but stays inside the line end, as a CR would, so reading
// the rest of the line there returns nothing, skipping to the next line consumes only that LF,
// and a second character read returns the LF again and moves past it.
//
// The file is read in blocks of a fixed size as the reading goes, so that memory does not grow
// with the file. The byte before the position stays at hand for the lone LF rule, and a CR at a
// block's end is looked past into the next block, so a block's end changes nothing that is read.
// Past its limits a file reads as if it ended there and a text keeps only its beginning; the
// reader then counts as cut.
class TextReader {
public:
    static constexpr unsigned char EndOfFile = 26;
    static constexpr std::size_t BlockSize = std::size_t{256} << 10;

    // A second reader of the same pass: it takes each block as it is read from the file, up to
    // the file's end, before any of the block's characters is read.
    class BlockListener {
    public:
        virtual void takeBlock(std::string_view bytes) = 0;

    protected:
        ~BlockListener() = default;
    };

    // An empty file.
    TextReader() = default;
    // Reads the bytes of a buffer that outlives the reader, in blocks of blockSize bytes.
    explicit TextReader(std::string_view bytes, ReadLimits limits = NoReadLimits,
                        std::size_t blockSize = BlockSize);
    // A file that cannot be opened or is not an ordinary file reads as empty; one that fails
    // while being read ends where it failed.
    static TextReader open(const std::string& path, ReadLimits limits);

    TextReader(TextReader&&) noexcept = default;
    TextReader& operator=(TextReader&&) noexcept = default;

    // Every block read from now on goes to listener as well; nullptr ends that.
    void listenToBlocks(BlockListener* listener) { listener_ = listener; }

    // A limit was reached with more of the file behind it, or a text was longer than it keeps.
    bool cut() const { return cut_; }

    bool atEnd() { return pos_ >= end_ && !fill(); }

    unsigned char readChar() {
        if (pos_ >= end_ && !fill()) return EndOfFile;
        const unsigned char c = byteAt(pos_);
        if (c == '\n' && base_ + pos_ != insideLineEndAt_ && byteAt(pos_ - 1) != '\r') {
            insideLineEndAt_ = base_ + pos_;
            return c;
        }
        ++pos_;
        return c;
    }

    // At most n characters, stopping before a line end without consuming it; a CR that is not
    // followed by LF is dropped and not counted.
    std::string readUpTo(std::size_t n) {
        std::string s;
        while (s.size() < n && (pos_ < end_ || fill())) {
            const char c = buffer_[pos_];
            if (c == '\n') break;
            if (c == '\r') {
                if (pos_ + 1 == end_) fill();
                if (pos_ + 1 < end_ && buffer_[pos_ + 1] == '\n') break;
                ++pos_;
                continue;
            }
            s.push_back(c);
            ++pos_;
        }
        return s;
    }

    // The characters up to the line end (or the end of the file), without consuming it.
    std::string readRestOfLine();

    // Consumes everything up to and including the next LF, or up to the end of the file.
    void skipLine() {
        do {
            // The line end is often right there: a search would cost more than it finds.
            for (const std::size_t near = std::min(end_, pos_ + 4); pos_ < near;)
                if (buffer_[pos_++] == '\n') return;
            if (pos_ >= end_) continue;
            const void* lf = std::memchr(buffer_.get() + pos_, '\n', end_ - pos_);
            if (lf) {
                pos_ = offsetOf(lf) + 1;
                return;
            }
            pos_ = end_;
        } while (fill());
    }

    // Appends every character up to the next blank to target and consumes the blank. Line ends
    // are ordinary characters here. Returns false when the file ended before a blank came.
    bool readToken(std::string& target) { return scanToken(&target); }
    bool skipToken() { return scanToken(nullptr); }

    // Consumes characters while skippable[byte] is true: the same as reading each of them.
    void skipWhile(const bool (&skippable)[256]) {
        do {
            while (pos_ < end_ && skippable[byteAt(pos_)]) ++pos_;
        } while (pos_ >= end_ && fill());
    }

    // Consumes the rest of the file, so that a listener has taken all of it.
    void skipToEnd() {
        do pos_ = end_;
        while (fill());
    }

private:
    TextReader(FileDescriptor file, std::string_view bytes, ReadLimits limits,
               std::size_t blockSize);

    // Brings in the next block behind what is still unread and the byte before it. False at the
    // end of the file, with nothing moved.
    bool fill();
    std::size_t readBlock(char* into);
    bool scanToken(std::string* target);
    unsigned char byteAt(std::size_t i) const { return static_cast<unsigned char>(buffer_[i]); }
    std::size_t offsetOf(const void* p) const {
        return static_cast<std::size_t>(static_cast<const char*>(p) - buffer_.get());
    }

    FileDescriptor file_;
    std::string_view memory_;     // the bytes still to be read, when reading from memory
    std::uint64_t bytesLeft_ = 0; // before the file limit
    std::size_t textLimit_ = 0;
    std::size_t blockSize_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t base_ = 0; // where buffer_[0] stands in the file, counted from one before it
    bool ended_ = true;      // no block follows
    bool cut_ = false;
    BlockListener* listener_ = nullptr;
    // Position of a lone LF that one character read has already returned.
    std::uint64_t insideLineEndAt_ = static_cast<std::uint64_t>(-1);
};

// The whole of a file that is there to be shown, or why it could not be read: a message in
// UTF-8 that names the file, without a final full stop. Byte 26 is no end here. A file longer
// than limit gives its first limit bytes and counts as cut.
struct WholeFile {
    std::string bytes;
    std::string error;
    bool cut = false;

    bool ok() const { return error.empty(); }
};
WholeFile readWholeFile(const std::string& path, std::uint64_t limit);
