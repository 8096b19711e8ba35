#pragma once

#include <string>
#include <string_view>

// Calls visit with each non-empty component of path, splitting at any of the separators.
template <class Visit>
void forEachPathComponent(std::string_view path, std::string_view separators, Visit visit) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t stop = path.find_first_of(separators, start);
        if (stop == std::string_view::npos) stop = path.size();
        if (stop > start) visit(path.substr(start, stop - start));
        start = stop + 1;
    }
}

// The folder of a '/'-separated path: "/" for a name at the top, "." for a bare name.
inline std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
