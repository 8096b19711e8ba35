#include "packs/window/PackTexts.h"

#include "packs/PackLimits.h"
#include "platform/system/CodePage1250.h"
#include "platform/system/Words.h"

namespace {

// What each kind of error says; "%f" stands for the file concerned, "%d" for the system's
// reason, "%n" for a limit or a size.
BilingualText errorText(PackError::Kind kind) {
    using Kind = PackError::Kind;
    switch (kind) {
    case Kind::None:
        break;
    case Kind::Unreadable:
        return {"Nie można odczytać paczki%f: %d", "The pack cannot be read%f: %d"};
    case Kind::TooManyEntries:
        return {"Paczka ma ponad %n pozycji", "The pack holds more than %n entries"};
    case Kind::SizeNotDeclared:
        return {"Paczka nie podaje rozmiaru pliku %f", "The pack does not say how large %f is"};
    case Kind::SizeExceeded:
        return {"Plik %f w paczce jest większy, niż paczka podaje",
                "The pack's file %f holds more than the pack declares"};
    case Kind::RatioExceeded:
        return {"Paczka rozpakowuje się do ponad %n-krotności swojego rozmiaru, jak paczki "
                "zrobione po to, by zapełnić dysk",
                "The pack unpacks to more than %n times its size, as packs made to fill the disk "
                "do"};
    case Kind::PackChanged:
        return {"Paczka albo instalacja zmieniła się od chwili sprawdzenia paczki%f. Otwórz "
                "paczkę ponownie",
                "The pack or the installation changed since the pack was looked at%f. Open the "
                "pack again"};
    case Kind::NoSpace:
        return {"Za mało wolnego miejsca na dysku: paczka potrzebuje %n",
                "Not enough free space on the disk: the pack needs %n"};
    case Kind::WriteFailed:
        return {"Nie można zapisać pliku %f (%d)", "Cannot write %f (%d)"};
    case Kind::Busy:
        return {"Inny program uruchamiający instaluje właśnie paczkę do tej instalacji albo cofa "
                "instalację. Spróbuj ponownie, gdy skończy",
                "Another launcher is installing a pack into this installation, or undoing one. "
                "Try again once it is done"};
    case Kind::NothingToUndo:
        return {"Tej instalacji paczki nie da się cofnąć%f%d",
                "This install of a pack cannot be undone%f%d"};
    case Kind::Cancelled:
        return {"Przerwano", "Cancelled"};
    }
    return inBoth("");
}

BilingualText refusalWords(Refusal refusal) {
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::LeavesRoot:
        return {"poza paczką", "outside the pack"};
    case Refusal::Absolute:
        return {"ścieżka bezwzględna", "an absolute path"};
    case Refusal::Link:
        return {"odnośnik", "a link"};
    case Refusal::HardLink:
        return {"twardy odnośnik", "a hard link"};
    case Refusal::Special:
        return {"urządzenie, potok lub gniazdo", "a device, pipe or socket"};
    case Refusal::InvalidName:
        return {"nazwa, jakiej Windows nie przyjmie", "a name Windows cannot hold"};
    case Refusal::Encrypted:
        return {"zaszyfrowany", "encrypted"};
    case Refusal::HeldTwice:
        return {"paczka ma dwa pliki na to miejsce", "the pack holds two files for this place"};
    case Refusal::SettingsFile:
        return {"ustawień gracza (rsim.ini) paczka nigdy nie zastępuje",
                "a pack never replaces the player's settings (rsim.ini)"};
    case Refusal::Catalogue:
        return {"katalogu pojazdów paczka nie zastępuje; można dopisać jego nowe pojazdy",
                "a pack never writes over the vehicle catalogue; its new vehicles may be added"};
    case Refusal::FolderInTheWay:
        return {"w tym miejscu jest folder", "a folder stands there"};
    case Refusal::FileInTheWay:
        return {"w miejscu folderu jest plik", "a file stands where a folder is needed"};
    case Refusal::BackupFolder:
        return {"folder kopii zapasowych programu", "the launcher's backup folder"};
    }
    return inBoth("");
}

// "%s" is the consist, vehicle type or picture, "%t" the types the catalogue lacks, "%f" the
// file found, "%d" why a picture cannot be loaded.
BilingualText problemWords(SceneryProblem::Kind kind) {
    using Kind = SceneryProblem::Kind;
    switch (kind) {
    case Kind::UnlistedConsist:
        return {"skład %s nie będzie na liście: katalog pojazdów nie zna typów %t",
                "the train %s will not be listed: the vehicle catalogue lacks the types %t"};
    case Kind::NoThumbnail:
        return {"pojazd %s nie ma własnego obrazka w textures\\mini",
                "the vehicle %s has no picture of its own in textures\\mini"};
    case Kind::MissingPicture:
        return {"brak obrazu trasy %s", "the route's picture %s is missing"};
    case Kind::BrokenPicture:
        return {"obrazu trasy %s nie da się wczytać (%d)",
                "the route's picture %s cannot be loaded (%d)"};
    case Kind::FoundByCase:
        return {"plik %s znajduje się tylko bez względu na wielkość liter: %f",
                "the file %s is found only regardless of case: %f"};
    }
    return inBoth("");
}

constexpr BilingualText LaterInstallFirst{"najpierw trzeba cofnąć późniejszą instalację",
                                          "a later install must be undone first"};

std::string reasonText(Language language, const PackError& error) {
    if (error.error) return Words::systemReason(language, error.error);
    if (error.detail == "a later install comes first")
        return std::string(LaterInstallFirst.in(language));
    return error.detail;
}

void replaceAll(std::string& text, std::string_view marker, std::string_view by) {
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
}

} // namespace

std::string packErrorText(Language language, const PackError& error, std::uint64_t spaceNeeded) {
    using Kind = PackError::Kind;
    std::string text(errorText(error.kind).in(language));
    std::string file = error.file, reason = reasonText(language, error);
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
    return std::string(refusalWords(refusal).in(language));
}

std::string problemText(Language language, const SceneryProblem& problem) {
    std::string types;
    for (const std::string& type : problem.types)
        types += (types.empty() ? "" : ", ") + windows1250ToUtf8(type);
    std::string text(problemWords(problem.kind).in(language));
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
