#include "packs/EntryPath.h"

#include "packs/PackLimits.h"
#include "platform/system/AsciiCase.h"
#include "platform/system/PathComponents.h"

#include <array>

std::string_view refusalKey(Refusal refusal) {
    constexpr std::array<std::string_view, 14> keys{
        "",          "leaves-root",       "absolute",        "link",          "hard-link",
        "special",   "invalid-name",      "encrypted",       "held-twice",    "settings-file",
        "catalogue", "folder-in-the-way", "file-in-the-way", "backup-folder",
    };
    return keys[static_cast<std::size_t>(refusal)];
}

bool isWindowsName(std::string_view name) {
    if (name.empty() || name.size() > 255) return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (std::string_view(R"(<>:"/\|?*)").find(c) != std::string_view::npos) return false;
    }
    if (name.back() == ' ' || name.back() == '.') return false;
    // Device names are taken whatever the extension: "con.txt" opens the console.
    const std::string stem = asciiUpper(name.substr(0, name.find('.')));
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"})
        if (stem == device) return false;
    return !(stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
             stem[3] >= '1' && stem[3] <= '9');
}

EntryPath splitEntryName(std::string_view utf8Name) {
    EntryPath path;
    const bool driveLetter =
        utf8Name.size() >= 2 && utf8Name[1] == ':' &&
        ((utf8Name[0] >= 'A' && utf8Name[0] <= 'Z') || (utf8Name[0] >= 'a' && utf8Name[0] <= 'z'));
    if (!utf8Name.empty() && (utf8Name[0] == '/' || utf8Name[0] == '\\' || driveLetter)) {
        path.refusal = Refusal::Absolute;
        return path;
    }
    if (utf8Name.size() > PackLimits::NameBytes) {
        path.refusal = Refusal::InvalidName;
        return path;
    }
    bool climbedOut = false, invalid = false;
    forEachPathComponent(utf8Name, "/\\", [&](std::string_view name) {
        if (name == ".") return;
        if (name == "..") {
            if (path.names.empty())
                climbedOut = true;
            else
                path.names.pop_back();
            return;
        }
        invalid = invalid || !isWindowsName(name);
        path.names.emplace_back(name);
    });
    if (climbedOut)
        path.refusal = Refusal::LeavesRoot;
    else if (invalid || path.names.empty())
        path.refusal = Refusal::InvalidName;
    return path;
}
