#pragma once

#include "platform/system/Language.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

// How much of an installation's text files the launcher reads. No installation that players
// build comes near these bounds; a file beyond one (a sparse file of many gigabytes, a scenery
// of a million description lines) is read up to it, so that no file can hold up the launcher or
// fill its memory, and the player is told, at the end of the text, that it was cut short.
struct ReadLimits {
    std::uint64_t fileBytes; // the file reads as if it ended here
    std::size_t textBytes;   // longest text kept from it: a name, a note, a line; the rest is read
};

inline constexpr std::size_t MiB = std::size_t{1} << 20;

// A name, a note, a description line, a vehicle's display name or a setting is a few words; so
// kept, a consist's row of fifty names stays small too.
inline constexpr std::size_t TextLimit = 1024;

// The scenery limit keeps even the slowest lines to read well within a second.
inline constexpr ReadLimits SceneryLimits{64 * MiB, TextLimit};
inline constexpr ReadLimits CatalogueLimits{1 * MiB, TextLimit};
inline constexpr ReadLimits SettingsLimits{1 * MiB, TextLimit};
// A timetable is laid out whole as it is shown: this keeps even one long line quick to show.
inline constexpr std::uint64_t TimetableLimit = 256 * 1024;
// Description lines shown of a scenery; the markers after them are still read.
inline constexpr std::size_t DescriptionLineLimit = 1000;

// Bytes already in memory, whose size their owner chose.
inline constexpr ReadLimits NoReadLimits{std::numeric_limits<std::uint64_t>::max(),
                                         std::numeric_limits<std::size_t>::max()};

enum class CutText { SceneryDescription, Timetable };

inline constexpr BilingualText SceneryCutNotice{
    "… Skrócono: ta trasa zawiera więcej, niż program pokazuje.",
    "… Cut short: this scenery holds more than the launcher shows."};
inline constexpr BilingualText TimetableCutNotice{
    "… Skrócono: ten rozkład jazdy jest dłuższy, niż program pokazuje.",
    "… Cut short: this timetable is longer than the launcher shows."};

// The last line of a text box whose file held more than is shown.
constexpr std::string_view cutNotice(CutText text, Language language) {
    return (text == CutText::Timetable ? TimetableCutNotice : SceneryCutNotice).in(language);
}
