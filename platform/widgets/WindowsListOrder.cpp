#include "platform/widgets/WindowsListOrder.h"

#include "platform/widgets/ShownText.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The printable ASCII characters as the collation orders them, case ignored: the space,
// punctuation and symbols, digits, letters. Each weighs alone, so two names of them compare as
// their sequences of places do.
constexpr std::string_view AsciiOrder =
    " _-,;:!?.'\"()[]{}@*/\\&#%`^+<=>|~$0123456789abcdefghijklmnopqrstuvwxyz";

constexpr std::array<unsigned char, 128> asciiPlaces() {
    std::array<unsigned char, 128> places{};
    for (std::size_t i = 0; i < AsciiOrder.size(); ++i) {
        const char c = AsciiOrder[i];
        places[static_cast<unsigned char>(c)] = static_cast<unsigned char>(i);
        if (c >= 'a' && c <= 'z')
            places[static_cast<unsigned char>(c - 'a' + 'A')] =
                places[static_cast<unsigned char>(c)];
    }
    return places;
}
constexpr std::array<unsigned char, 128> AsciiPlaces = asciiPlaces();

// Control characters count for nothing in the collation; they go through the collator.
bool isPrintableAscii(const std::string& name) {
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

bool asciiBefore(const std::string& a, const std::string& b) {
    const auto place = [](char c) { return AsciiPlaces[static_cast<unsigned char>(c)]; };
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return place(x) == place(y); });
    if (ia != a.end() && ib != b.end()) return place(*ia) < place(*ib);
    if (ia != a.end() || ib != b.end()) return ib != b.end();
    return a < b;
}

const QCollator& polishCollator() {
    static const QCollator collator = [] {
        QCollator made(QLocale(QLocale::Polish, QLocale::Poland));
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return collator;
}

} // namespace

void sortAsWindowsLists(std::vector<std::string>& names) {
    if (std::all_of(names.begin(), names.end(), isPrintableAscii)) {
        std::sort(names.begin(), names.end(), asciiBefore);
        return;
    }
    struct Keyed {
        QCollatorSortKey key;
        std::string name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names)
        keyed.push_back({polishCollator().sortKey(shownFileName(name)), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].name);
}
