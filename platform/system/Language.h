#pragma once

#include <cstdint>
#include <string_view>

// The interface language. The windows are designed in Polish, which every start begins in; the
// flag beside the buttons switches all four windows to English and back. It is never saved.
enum class Language : std::uint8_t { Polish = 0, English = 1 };

// A text in both interface languages, the Polish first, as the windows were designed in it.
template <class Text> struct Bilingual {
    Text polish;
    Text english;

    constexpr const Text& in(Language language) const {
        return language == Language::English ? english : polish;
    }
    bool operator==(const Bilingual&) const = default;
};

// Every text that follows the language has this shape, in UTF-8, and is written once: in the
// table of the unit that shows it, or among the shared words (platform/system/Words.h) where more
// than one window or message shows it. A window's table names each text by its control and role
// (platform/widgets/WindowTexts.h); another unit names each by a constant of its own.
using BilingualText = Bilingual<std::string_view>;

// A text that reads the same in both languages, such as a name.
constexpr BilingualText inBoth(std::string_view text) {
    return {text, text};
}
