#include "packs/window/PackTexts.h"

#include "packs/PackLimits.h"
#include "platform/system/CodePage1250.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace {

// The texts by the kind of error, in PackError::Kind's order; "%f" stands for the file
// concerned, "%d" for the system's reason, "%n" for a limit or a size.
constexpr std::array<Bilingual<const char*>, 12> ErrorTexts{{
    {"", ""},
    {"Nie można odczytać paczki%f: %d", "The pack cannot be read%f: %d"},
    {"Paczka ma ponad %n pozycji", "The pack holds more than %n entries"},
    {"Paczka nie podaje rozmiaru pliku %f", "The pack does not say how large %f is"},
    {"Plik %f w paczce jest większy, niż paczka podaje",
     "The pack's file %f holds more than the pack declares"},
    {"Paczka rozpakowuje się do ponad %n-krotności swojego rozmiaru, jak paczki zrobione po to, "
     "by zapełnić dysk",
     "The pack unpacks to more than %n times its size, as packs made to fill the disk do"},
    {"Paczka albo instalacja zmieniła się od chwili sprawdzenia paczki%f. Otwórz paczkę ponownie",
     "The pack or the installation changed since the pack was looked at%f. Open the pack again"},
    {"Za mało wolnego miejsca na dysku: paczka potrzebuje %n",
     "Not enough free space on the disk: the pack needs %n"},
    {"Nie można zapisać pliku %f (%d)", "Cannot write %f (%d)"},
    {"Inny program uruchamiający instaluje właśnie paczkę do tej instalacji albo cofa "
     "instalację. Spróbuj ponownie, gdy skończy",
     "Another launcher is installing a pack into this installation, or undoing one. Try again "
     "once it is done"},
    {"Tej instalacji paczki nie da się cofnąć%f%d", "This install of a pack cannot be undone%f%d"},
    {"Przerwano", "Cancelled"},
}};

constexpr std::array<Bilingual<const char*>, 14> RefusalTexts{{
    {"", ""},
    {"poza paczką", "outside the pack"},
    {"ścieżka bezwzględna", "an absolute path"},
    {"odnośnik", "a link"},
    {"twardy odnośnik", "a hard link"},
    {"urządzenie, potok lub gniazdo", "a device, pipe or socket"},
    {"nazwa, jakiej Windows nie przyjmie", "a name Windows cannot hold"},
    {"zaszyfrowany", "encrypted"},
    {"paczka ma dwa pliki na to miejsce", "the pack holds two files for this place"},
    {"ustawień gracza (rsim.ini) paczka nigdy nie zastępuje",
     "a pack never replaces the player's settings (rsim.ini)"},
    {"katalogu pojazdów paczka nie zastępuje; można dopisać jego nowe pojazdy",
     "a pack never writes over the vehicle catalogue; its new vehicles may be added"},
    {"w tym miejscu jest folder", "a folder stands there"},
    {"w miejscu folderu jest plik", "a file stands where a folder is needed"},
    {"folder kopii zapasowych programu", "the launcher's backup folder"},
}};

// By SceneryProblem::Kind; "%s" is the consist, vehicle type or picture, "%t" the types the
// catalogue lacks, "%f" the file found, "%d" why a picture cannot be loaded.
constexpr std::array<Bilingual<const char*>, 5> ProblemTexts{{
    {"skład %s nie będzie na liście: katalog pojazdów nie zna typów %t",
     "the train %s will not be listed: the vehicle catalogue lacks the types %t"},
    {"pojazd %s nie ma własnego obrazka w textures\\mini",
     "the vehicle %s has no picture of its own in textures\\mini"},
    {"brak obrazu trasy %s", "the route's picture %s is missing"},
    {"obrazu trasy %s nie da się wczytać (%d)", "the route's picture %s cannot be loaded (%d)"},
    {"plik %s znajduje się tylko bez względu na wielkość liter: %f",
     "the file %s is found only regardless of case: %f"},
}};

// The system's reasons that players meet most, in their words.
struct SystemReason {
    int error;
    Bilingual<const char*> text;
};
constexpr std::array<SystemReason, 6> SystemReasons{{
    {ENOSPC, {"brak miejsca na dysku", "no space left on the disk"}},
    {EDQUOT, {"przekroczony przydział miejsca na dysku", "disk quota exceeded"}},
    {EACCES, {"brak uprawnień", "permission denied"}},
    {EPERM, {"brak uprawnień", "permission denied"}},
    {EROFS, {"system plików tylko do odczytu", "read-only file system"}},
    {ENOENT, {"nie ma takiego pliku ani folderu", "no such file or folder"}},
}};

std::string reasonText(Language language, const std::string& detail) {
    for (const SystemReason& reason : SystemReasons)
        if (detail == std::strerror(reason.error)) return reason.text.in(language);
    if (detail == "a later install comes first")
        return Bilingual<const char*>{"najpierw trzeba cofnąć późniejszą instalację",
                                      "a later install must be undone first"}
            .in(language);
    return detail;
}

void replaceAll(std::string& text, std::string_view marker, std::string_view by) {
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
}

} // namespace

std::string packErrorText(Language language, const PackError& error, std::uint64_t spaceNeeded) {
    using Kind = PackError::Kind;
    std::string text = ErrorTexts[static_cast<std::size_t>(error.kind)].in(language);
    std::string file = error.file, reason = reasonText(language, error.detail);
    switch (error.kind) {
    case Kind::Unreadable:
    case Kind::PackChanged:
        // Named after the sentence's main words: "…paczki przy pliku X: …".
        if (!file.empty())
            file = std::string(language == Language::Polish ? " przy pliku " : " at ") + file;
        break;
    case Kind::NothingToUndo:
        if (!file.empty()) file = " (" + file + ")";
        if (!reason.empty()) reason = ": " + reason;
        break;
    default:
        break;
    }
    replaceAll(text, "%n",
               error.kind == Kind::TooManyEntries  ? std::to_string(PackLimits::Entries)
               : error.kind == Kind::RatioExceeded ? std::to_string(PackLimits::CompressionRatio)
               : error.kind == Kind::NoSpace       ? sizeText(language, spaceNeeded)
                                                   : std::string());
    if (reason.empty()) {
        replaceAll(text, ": %d", "");
        replaceAll(text, " (%d)", "");
    }
    replaceAll(text, "%d", reason);
    replaceAll(text, "%f", file);
    return text;
}

std::string refusalText(Language language, Refusal refusal) {
    return RefusalTexts[static_cast<std::size_t>(refusal)].in(language);
}

std::string problemText(Language language, const SceneryProblem& problem) {
    std::string types;
    for (const std::string& type : problem.types)
        types += (types.empty() ? "" : ", ") + windows1250ToUtf8(type);
    std::string text = ProblemTexts[static_cast<std::size_t>(problem.kind)].in(language);
    replaceAll(text, "%t", types);
    replaceAll(text, "%f", fileNameToUtf8(problem.file));
    replaceAll(text, "%d", problem.detail);
    replaceAll(text, "%s", windows1250ToUtf8(problem.subject));
    return text;
}

std::string sizeText(Language language, std::uint64_t bytes) {
    if (bytes < 1000) return std::to_string(bytes) + " B";
    constexpr std::array<const char*, 4> Units{"kB", "MB", "GB", "TB"};
    std::uint64_t unit = 1000;
    std::size_t u = 0;
    while (u + 1 < Units.size() && bytes >= unit * 1000) {
        unit *= 1000;
        ++u;
    }
    // Tenths, rounded.
    const std::uint64_t tenths = (bytes * 10 + unit / 2) / unit;
    return std::to_string(tenths / 10) + (language == Language::Polish ? ',' : '.') +
           std::to_string(tenths % 10) + ' ' + Units[u];
}
