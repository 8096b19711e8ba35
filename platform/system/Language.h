#pragma once

#include <cstdint>

// The interface language. The windows are designed in Polish, which every start begins in; the
// flag beside the buttons switches all four windows to English and back. It is never saved.
enum class Language : std::uint8_t { Polish = 0, English = 1 };

// A text, or a set of texts, in both interface languages. Each unit keeps its bilingual texts
// in one such table, and every text that follows the language is taken from it by in().
template <class Text> struct Bilingual {
    Text polish;
    Text english;

    constexpr const Text& in(Language language) const {
        return language == Language::English ? english : polish;
    }
};
