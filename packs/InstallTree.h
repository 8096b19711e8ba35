#pragma once

#include "platform/system/InstallPath.h"

#include <string>
#include <string_view>
#include <unordered_map>

// An installation's folders and files as they will stand once a pack's files are placed: the
// names on disk, each folder read once, and the names the pack adds. A name is found by the rule
// of the one path helper (InstallPath.h), so that a pack's "Scenery/Images" is the installation's
// "scenery/images", and the pack's second folder of a name in another case is its first.
// Folders are relative to the installation, '/'-separated, "" for the installation itself.
class InstallTree {
public:
    enum class Kind { None, File, Folder, Other };
    struct Name {
        std::string name; // as it stands; "" when nothing matches
        Kind kind = Kind::None;
        bool added = false; // added by the pack
    };

    explicit InstallTree(std::string installRoot) : root_(std::move(installRoot)) {}

    const std::string& root() const { return root_; }

    // The name in folder that Windows would open for name.
    Name find(const std::string& folder, std::string_view name);
    void add(const std::string& folder, const std::string& name, Kind kind);

    // What a relative path names, each of its names as written.
    Kind kindOf(const std::string& relative);

private:
    struct Folder {
        FolderNames names;
        std::unordered_map<std::string, Kind> added;
        std::unordered_map<std::string, Kind> onDisk; // the kinds of names looked up so far
    };
    Folder& folder(const std::string& relative);

    std::string root_;
    std::unordered_map<std::string, Folder> folders_;
};

// A relative path's folder and name: "a/b/c" gives "a/b" and "c".
std::string parentOf(const std::string& relative);
std::string joinPath(const std::string& folder, std::string_view name);
