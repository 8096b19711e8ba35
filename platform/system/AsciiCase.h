#pragma once

#include <string>
#include <string_view>

// Keywords and catalogue keys are compared with only the letters a to z mapped to A to Z, as
// the installation's files were written for; bytes above 127 never change.
constexpr unsigned char asciiUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

inline std::string asciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(asciiUpper(static_cast<unsigned char>(c)));
    return out;
}

// True when text, upper-cased, equals upperKey exactly.
constexpr bool equalsUpperCased(std::string_view text, std::string_view upperKey) {
    if (text.size() != upperKey.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (asciiUpper(static_cast<unsigned char>(text[i])) !=
            static_cast<unsigned char>(upperKey[i]))
            return false;
    return true;
}
