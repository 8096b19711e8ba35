#include "platform/system/ProgramPath.h"

#include "platform/system/PathComponents.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {
// Removes "." components and empty ones; ".." is kept, since without resolving links it cannot
// be taken back safely.
std::string withoutDotComponents(const std::string& path) {
    std::string out;
    forEachPathComponent(path, "/", [&out](std::string_view component) {
        if (component == ".") return;
        out += '/';
        out += component;
    });
    return out.empty() ? std::string("/") : out;
}
} // namespace

std::string installFolderOf(const std::string& argv0, const std::string& currentFolder,
                            const std::string& resolvedExecutable) {
    if (argv0.find('/') == std::string::npos) return folderOf(resolvedExecutable);
    const std::string absolute = argv0.front() == '/' ? argv0 : currentFolder + '/' + argv0;
    return folderOf(withoutDotComponents(absolute));
}

std::string thisProgramFile() {
    std::vector<char> exe(PATH_MAX + 1, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", exe.data(), PATH_MAX);
    return n > 0 ? std::string(exe.data(), static_cast<std::size_t>(n)) : "";
}

bool isThisProgram(const std::string& path) {
    struct stat program {
    }, named{};
    // The running file itself, even when its name has since been given to another.
    return ::stat("/proc/self/exe", &program) == 0 && ::stat(path.c_str(), &named) == 0 &&
           program.st_dev == named.st_dev && program.st_ino == named.st_ino;
}

std::string installFolderOfThisProgram(const std::string& argv0) {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return installFolderOf(argv0, cwd ? cwd.get() : "/", thisProgramFile());
}
