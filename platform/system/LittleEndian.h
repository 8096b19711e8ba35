#pragma once

#include <cstdint>

// The unsigned number stored in size bytes (at most 4) from bytes on, lowest byte first, as
// Windows' file formats store their numbers.
constexpr std::uint32_t littleEndian(const unsigned char* bytes, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}
