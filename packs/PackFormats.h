#pragma once

#include <array>
#include <string_view>

// The kinds of archive a pack may come as, which the launcher reads: a file of one of them is
// taken for a pack when dropped on the main window, and the installation's menu entry offers to
// open them.
struct PackFormat {
    std::string_view extension; // as the name ends, in any case of letters
    std::string_view mimeType;  // the type the desktop gives such a file
};

inline constexpr std::array<PackFormat, 11> PackFormats{{
    {".zip", "application/zip"},
    {".7z", "application/x-7z-compressed"},
    {".rar", "application/vnd.rar"},
    {".tar", "application/x-tar"},
    {".tar.gz", "application/x-compressed-tar"},
    {".tgz", "application/x-compressed-tar"},
    {".tar.bz2", "application/x-bzip-compressed-tar"},
    {".tar.xz", "application/x-xz-compressed-tar"},
    {".txz", "application/x-xz-compressed-tar"},
    {".tar.zst", "application/x-zstd-compressed-tar"},
    {".tzst", "application/x-zstd-compressed-tar"},
}};

// Whether a file of that name is a pack by its extension, such as "Trasa.ZIP" or "x.tar.gz".
bool isPackFileName(std::string_view name);
