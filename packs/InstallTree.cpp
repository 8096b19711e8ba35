#include "packs/InstallTree.h"

#include <sys/stat.h>

std::string parentOf(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string joinPath(const std::string& folder, std::string_view name) {
    return folder.empty() ? std::string(name) : folder + '/' + std::string(name);
}

InstallTree::Folder& InstallTree::folder(const std::string& relative) {
    auto found = folders_.find(relative);
    if (found != folders_.end()) return found->second;
    // A folder the pack makes is not on disk: it reads as empty.
    Folder read{FolderNames(relative.empty() ? root_ : root_ + '/' + relative), {}, {}};
    return folders_.emplace(relative, std::move(read)).first->second;
}

InstallTree::Name InstallTree::find(const std::string& folderPath, std::string_view name) {
    Folder& in = folder(folderPath);
    Name found;
    found.name = in.names.find(name);
    if (found.name.empty()) return found;
    if (const auto added = in.added.find(found.name); added != in.added.end()) {
        found.kind = added->second;
        found.added = true;
        return found;
    }
    const auto [known, isNew] = in.onDisk.try_emplace(found.name, Kind::Other);
    if (isNew) {
        // A link to a folder serves as the folder, as it does for Windows programs under wine.
        struct stat st {};
        const std::string path = root_ + '/' + joinPath(folderPath, found.name);
        if (::stat(path.c_str(), &st) == 0)
            known->second = S_ISDIR(st.st_mode)   ? Kind::Folder
                            : S_ISREG(st.st_mode) ? Kind::File
                                                  : Kind::Other;
    }
    found.kind = known->second;
    return found;
}

void InstallTree::add(const std::string& folderPath, const std::string& name, Kind kind) {
    Folder& in = folder(folderPath);
    in.names.add(name);
    in.added[name] = kind;
}

InstallTree::Kind InstallTree::kindOf(const std::string& relative) {
    const std::string name = relative.substr(relative.rfind('/') + 1);
    const Name found = find(parentOf(relative), name);
    return found.name == name ? found.kind : Kind::None;
}
