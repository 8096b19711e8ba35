#include "shell/FirstStart.h"

#include "packs/PackFormats.h"
#include "platform/system/CodePage1250.h"
#include "platform/system/InstallPath.h"
#include "platform/system/UserFolders.h"
#include "platform/system/Words.h"
#include "shell/CommandLine.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string_view lastComponent(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// An entry is UTF-8 text; of the control characters only a tab and the line ends have escapes.
bool fitsInMenuEntry(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7f) return false;
    }
    return fileNameToUtf8(text) == text;
}

// The escapes every text value of a desktop entry is read with.
std::string escapedValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The Exec line of an entry's main group, without the file it is given: an installation's entry
// written before it took packs is renewed, not written again beside it.
std::string execLineOf(std::string_view entry) {
    std::size_t start = 0;
    while (start < entry.size()) {
        std::size_t end = entry.find('\n', start);
        if (end == std::string_view::npos) end = entry.size();
        std::string_view line = entry.substr(start, end - start);
        if (line.starts_with("Exec=")) {
            if (line.ends_with(" %f")) line.remove_suffix(3);
            return std::string(line);
        }
        start = end + 1;
    }
    return {};
}

// The types of the packs the entry opens, each once.
std::string packMimeTypes() {
    std::string types;
    for (const PackFormat& format : PackFormats) {
        const std::string type = std::string(format.mimeType) + ';';
        if (types.find(type) == std::string::npos) types += type;
    }
    return types;
}

constexpr BilingualText NoLinks{"system plików nie obsługuje odnośników",
                                "the file system does not support links"};

std::string reasonFor(Language language, const BilingualText& text, int error) {
    // A link refused with EPERM, as on exFAT, tells of the file system, not of the player's
    // rights: such a folder may well be written to.
    if (text == FirstStartText::TakesNoLink &&
        (error == EPERM || error == ENOSYS || error == EOPNOTSUPP))
        return std::string(NoLinks.in(language));
    return Words::systemReason(language, error);
}

void replaceAll(std::string& text, std::string_view marker, std::string_view by) {
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
}

} // namespace

bool isInstallation(const std::string& folder) {
    const std::string simulator = findNameIgnoringCase(folder, "rsim.exe");
    if (!simulator.empty() && fileExists(folder + '/' + simulator)) return true;
    const std::string scenery = findNameIgnoringCase(folder, "scenery");
    return !scenery.empty() && isFolder(folder + '/' + scenery);
}

std::string execArgument(std::string_view argument) {
    constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quoted = argument.empty() || argument.find_first_of(Reserved) != argument.npos;
    std::string exec = quoted ? "\"" : "";
    for (const char c : argument) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) exec += '\\';
        if (c == '%') exec += '%';
        exec += c;
    }
    if (quoted) exec += '"';
    return escapedValue(exec);
}

std::optional<std::string> installationMenuEntry(std::string_view installFolder,
                                                 std::string_view program,
                                                 const std::vector<std::string>& arguments) {
    if (!fitsInMenuEntry(installFolder) || !fitsInMenuEntry(program)) return std::nullopt;
    for (const std::string& argument : arguments)
        if (!fitsInMenuEntry(argument)) return std::nullopt;
    const std::string folder = escapedValue(installFolder);
    std::string entry = "[Desktop Entry]\nType=Application\nVersion=1.4\n";
    entry += "Name=Torvia RSIM-424: " + escapedValue(lastComponent(installFolder)) + '\n';
    entry += "Comment=Choose a route and a train of the installation in " + folder +
             " and start the simulator\n";
    entry += "Comment[pl]=Wybór trasy i składu z instalacji w folderze " + folder +
             " i uruchomienie symulatora\n";
    entry += "Icon=" + std::string(ApplicationId) + '\n';
    // The entry leaves the menu when its program goes.
    entry += "TryExec=" + escapedValue(program) + '\n';
    // GLib looks for the program of an Exec line before it turns "%%" into "%", and so never
    // finds one whose path holds a "%". Such a program is started by the shell, which takes the
    // path for its $0 and passes the arguments on as they are: env would take a path holding a
    // "=" for a variable.
    std::string command;
    if (program.find('%') != program.npos)
        command += "/bin/sh -c " + execArgument("exec \"$0\" \"$@\"") + ' ';
    command += execArgument(program);
    for (const std::string& argument : arguments) command += ' ' + execArgument(argument);
    // Opened with a pack, the entry hands it over as the one argument that is no option (%f:
    // a local file, as the launcher reads none from elsewhere).
    entry += "Exec=" + command + " %f\n";
    entry += "MimeType=" + packMimeTypes() + '\n';
    entry += "Actions=undo-pack;\n";
    entry += "Terminal=false\nCategories=Game;Simulation;\nStartupWMClass=RSIM\n";
    entry += "\n[Desktop Action undo-pack]\n";
    entry += "Name=Undo the last install of a pack\n";
    entry += "Name[pl]=Cofnij ostatnią instalację paczki\n";
    entry += "Exec=" + command + ' ' + std::string(UndoPackOption) + '\n';
    return entry;
}

std::string menuEntryFileName(std::string_view installFolder, int number, std::size_t longestName) {
    std::string name(ApplicationId);
    name += '.';
    const std::size_t idLength = name.size();
    const std::string_view folder = lastComponent(installFolder);
    // Each element of a desktop file id is made of ASCII letters, digits, "_" and "-", and
    // does not begin with a digit.
    if (folder.empty() || (folder.front() >= '0' && folder.front() <= '9')) name += '_';
    // A run of other characters, each of one or more bytes, becomes one "_".
    bool replacing = false;
    for (const char c : folder) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!allowed && !replacing)
            name += '_';
        else if (allowed)
            name += c;
        replacing = !allowed;
    }
    const std::string end = (number > 1 ? '-' + std::to_string(number) : "") + ".desktop";
    // What is cut is ASCII by now; the number keeps installations whose names begin alike apart.
    if (name.size() + end.size() > longestName)
        name.resize(
            std::max(longestName > end.size() ? longestName - end.size() : 0, idLength + 1));
    return name + end;
}

std::string menuEntriesFolder(const char* xdgDataHome, const char* home) {
    const std::string data = baseFolder(xdgDataHome, home, "/.local/share");
    return data.empty() ? data : data + "/applications";
}

std::string menuEntryPath(const std::string& entriesFolder, std::string_view installFolder,
                          std::string_view entry, std::size_t longestName) {
    const std::string exec = execLineOf(entry);
    for (int number = 1;; ++number) {
        std::string path =
            entriesFolder + '/' + menuEntryFileName(installFolder, number, longestName);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return path;
        // Only an ordinary file is read: a pipe under the name would hang the launcher.
        if (!S_ISREG(st.st_mode)) continue;
        std::ostringstream existing;
        existing << std::ifstream(path, std::ios::binary).rdbuf();
        if (execLineOf(existing.view()) == exec) return path;
    }
}

std::string firstStartText(Language language, const BilingualText& text, std::string_view path,
                           int error) {
    std::string shown(text.in(language));
    replaceAll(shown, "%2", error != 0 ? reasonFor(language, text, error) : "");
    replaceAll(shown, "%1", fileNameToUtf8(path));
    return shown;
}
