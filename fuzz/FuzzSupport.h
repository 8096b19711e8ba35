#pragma once

// Helpers shared by the fuzz targets: a failed property prints what failed and aborts, which
// libFuzzer reports as a crash and keeps the input.

#include "catalogue/TextReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// The targets' own code is kept out of the coverage feedback, so that inputs are kept for what
// they make the readers do, not for what they make the checks do.
#if defined(__clang__)
#define FUZZ_HARNESS __attribute__((no_sanitize("coverage")))
#else
#define FUZZ_HARNESS
#endif

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

FUZZ_HARNESS inline std::string_view asText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The same text with every LF that has no CR before it written as CR LF.
FUZZ_HARNESS inline std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

// The same text with every CR LF written as LF alone.
FUZZ_HARNESS inline std::string withLfOnly(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out.push_back(text[i]);
    return out;
}

FUZZ_HARNESS inline std::string withoutCr(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r') out.push_back(c);
    return out;
}

FUZZ_HARNESS inline bool contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

// A byte of code 26 ends a file: whatever follows it must never be read.
FUZZ_HARNESS inline std::string withTrailerAfterEnd(std::string_view text) {
    std::string out(text);
    out += "\x1a\r\ntrainset Late x\r\nnode -1 0 S1 dynamic PKP\\a skin A 0 headdriver 0 x\r\n"
           "endtrainset\r\n//$D late\r\n//$N Late\r\nwidth 1 \r\n";
    return out;
}

// The sizes of block a file is read in: one byte, so that every two bytes stand in different
// blocks; an odd size taken from the input; the launcher's own.
FUZZ_HARNESS inline std::vector<std::size_t> blockSizes(std::string_view bytes) {
    return {1, 2 + bytes.size() % 13, TextReader::BlockSize};
}

// A file limit inside the input, from none of it to seven eighths of it.
FUZZ_HARNESS inline std::uint64_t fileLimit(std::string_view bytes) {
    const unsigned eighths = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 8;
    return bytes.size() * eighths / 8;
}

// The bytes a reader reads before its end, a byte of code 26.
FUZZ_HARNESS inline std::string_view beforeEnd(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\x1a'));
}

} // namespace fuzz
