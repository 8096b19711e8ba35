#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

// Reads an 8-bit text file the way the installation's data files were written to be read:
// byte by byte, CR and LF being ordinary characters, a byte of code 26 ending the file.
//
// A line may end with CR LF or with LF alone. A lone LF reads exactly like CR LF: the first
// character read at it returns the LF but stays inside the line end, as a CR would, so reading
// the rest of the line there returns nothing, skipping to the next line consumes only that LF,
// and a second character read returns the LF again and moves past it.
class TextReader {
public:
    static constexpr unsigned char EndOfFile = 26;

    // An empty file.
    TextReader() = default;
    // Reads the bytes of a buffer that outlives the reader.
    explicit TextReader(std::string_view bytes) { view(bytes.data(), bytes.size()); }
    // A file that cannot be opened, is not an ordinary file or cannot be read reads as empty.
    static TextReader open(const std::string& path);

    // A second reader of the same bytes from their start; it must not outlive this one.
    TextReader fromStart() const { return TextReader(std::string_view(data_, end_)); }

    TextReader(TextReader&&) noexcept = default;
    TextReader& operator=(TextReader&&) noexcept = default;

    bool atEnd() const { return pos_ >= end_; }

    unsigned char readChar() {
        if (pos_ >= end_) return EndOfFile;
        const unsigned char c = byteAt(pos_);
        if (c == '\n' && pos_ != insideLineEndAt_ && !(pos_ > 0 && byteAt(pos_ - 1) == '\r')) {
            insideLineEndAt_ = pos_;
            return c;
        }
        ++pos_;
        return c;
    }

    // At most n characters, stopping before a line end without consuming it; a CR that is not
    // followed by LF is dropped and not counted.
    std::string readUpTo(std::size_t n) {
        std::string s;
        while (s.size() < n && pos_ < end_) {
            const char c = data_[pos_];
            if (c == '\n') break;
            if (c == '\r') {
                if (pos_ + 1 < end_ && data_[pos_ + 1] == '\n') break;
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
        const void* lf = std::memchr(data_ + pos_, '\n', end_ - pos_);
        pos_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data_) + 1 : end_;
    }

    // Appends every character up to the next blank to target and consumes the blank. Line ends
    // are ordinary characters here. Returns false when the file ended before a blank came.
    bool readToken(std::string& target) {
        const std::size_t start = pos_;
        const bool closed = skipToken();
        target.append(data_ + start, pos_ - start - (closed ? 1 : 0));
        return closed;
    }

    bool skipToken() {
        const void* blank = std::memchr(data_ + pos_, ' ', end_ - pos_);
        if (!blank) {
            pos_ = end_;
            return false;
        }
        pos_ = static_cast<std::size_t>(static_cast<const char*>(blank) - data_) + 1;
        return true;
    }

    // Consumes characters up to, not including, the next c: the same as reading each of them.
    void skipTo(char c) {
        const void* hit = std::memchr(data_ + pos_, c, end_ - pos_);
        pos_ = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data_) : end_;
    }

    // Consumes characters while skippable[byte] is true: the same as reading each of them.
    void skipWhile(const bool (&skippable)[256]) {
        while (pos_ < end_ && skippable[byteAt(pos_)]) ++pos_;
    }

private:
    void view(const char* data, std::size_t size) {
        data_ = size ? data : "";
        const void* ctrlZ = std::memchr(data_, EndOfFile, size);
        end_ = ctrlZ ? static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - data_) : size;
    }
    unsigned char byteAt(std::size_t i) const { return static_cast<unsigned char>(data_[i]); }

    std::unique_ptr<char[]> owned_;
    const char* data_ = "";
    std::size_t end_ = 0;
    std::size_t pos_ = 0;
    // Position of a lone LF that one character read has already returned.
    std::size_t insideLineEndAt_ = static_cast<std::size_t>(-1);
};

// The whole of a file that is there to be shown, or why it could not be read: a message in
// UTF-8 that names the file, without a final full stop. Byte 26 is no end here.
struct WholeFile {
    std::string bytes;
    std::string error;

    bool ok() const { return error.empty(); }
};
WholeFile readWholeFile(const std::string& path);
