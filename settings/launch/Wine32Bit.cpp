#include "settings/launch/Wine32Bit.h"

#include "platform/system/LittleEndian.h"
#include "platform/system/OrdinaryFile.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The start of a file, as much of it as there is up to size bytes.
std::string headOf(const std::string& path, std::size_t size) {
    const OrdinaryFile file(path);
    if (!file.ok()) return {};
    std::string head(size, '\0');
    const ssize_t got = ::pread(file.get(), head.data(), head.size(), 0);
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return head;
}

// 32 or 64 for a little-endian x86 program, as its ELF header says; 0 for anything else.
int elfBits(const std::string& path) {
    const std::string head = headOf(path, 20);
    if (head.size() < 20 ||
        head.compare(0, 4,
                     "\x7F"
                     "ELF") != 0 ||
        head[5] != 1)
        return 0;
    const std::uint32_t machine =
        littleEndian(reinterpret_cast<const unsigned char*>(head.data()) + 18, 2);
    return machine == 3 ? 32 : machine == 62 ? 64 : 0;
}

bool isPathCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("._-+/", c);
}

// The loaders of a wine: wine itself where it is a program, else the wine programs its script
// names by their full paths.
std::vector<std::string> loadersOf(const std::string& wine) {
    if (elfBits(wine)) return {wine};
    const std::string script = headOf(wine, 65536);
    std::vector<std::string> loaders;
    if (script.compare(0, 2, "#!") != 0) return loaders;
    for (std::size_t i = 2; i < script.size(); ++i) {
        if (script[i] != '/' || isPathCharacter(script[i - 1])) continue;
        std::size_t end = i;
        while (end < script.size() && isPathCharacter(script[end])) ++end;
        std::string path = script.substr(i, end - i);
        i = end;
        if (path.compare(path.rfind('/') + 1, 4, "wine") != 0 || !elfBits(path)) continue;
        if (std::find(loaders.begin(), loaders.end(), path) == loaders.end())
            loaders.push_back(std::move(path));
    }
    return loaders;
}

// The folder of a 64-bit loader's libraries, where its layout is one wine is installed in:
// Debian's, and wine's own with lib or lib64. "" where none holds the loader's ntdll.
std::string librariesOf(const std::string& loader) {
    std::error_code error;
    const fs::path programFolder = fs::canonical(loader, error).parent_path();
    if (error) return {};
    for (const char* relative : {"../x86_64-linux-gnu/wine", "../lib/wine", "../lib64/wine",
                                 "../lib/x86_64-linux-gnu/wine"}) {
        const fs::path folder = (programFolder / relative).lexically_normal();
        if (fs::is_regular_file(folder / "x86_64-unix/ntdll.so", error)) return folder.string();
    }
    return {};
}

// A prefix made by a wine without 32-bit support has an empty syswow64; a 32-bit prefix has
// none, and needs none.
bool prefixLacks32Bit(const std::string& prefix) {
    if (prefix.empty()) return false;
    const fs::path system = fs::path(prefix) / "drive_c/windows/syswow64";
    std::error_code error;
    return fs::is_directory(system, error) && !fs::is_regular_file(system / "ntdll.dll", error);
}

} // namespace

Wine32Bit wine32BitSupport(const WineEnvironment& wine) {
    if (wine.wine.empty()) return Wine32Bit::Unsure;
    std::vector<std::string> loaders = loadersOf(wine.wine);
    if (elfBits(wine.wineLoader)) loaders.push_back(wine.wineLoader);
    bool runs = false;
    bool known = !loaders.empty();
    for (const std::string& loader : loaders) {
        const int bits = elfBits(loader);
        if (bits == 32) runs = true;
        if (bits != 64) continue;
        if (loader.ends_with("64") && elfBits(loader.substr(0, loader.size() - 2)) == 32)
            runs = true;
        const std::string libraries = librariesOf(loader);
        std::error_code error;
        if (libraries.empty())
            known = false;
        else if (fs::is_regular_file(libraries + "/i386-windows/ntdll.dll", error))
            runs = true;
    }
    if (runs) return prefixLacks32Bit(wine.prefix) ? Wine32Bit::PrefixLacks : Wine32Bit::Runs;
    return known ? Wine32Bit::WineLacks : Wine32Bit::Unsure;
}

void requestPrefixUpdate(const std::string& prefix) {
    const std::string stamp = prefix + "/.update-timestamp";
    std::string first;
    std::ifstream(stamp) >> first;
    if (first != "disable") ::unlink(stamp.c_str());
}
