#pragma once

#include <string>

// The launcher's installation folder is the folder of its executable, without a trailing
// separator. Started by a path with a "/" in it (a file manager, "./rsim-launcher", a link inside
// an installation to a shared launcher), it is the folder of that path, made absolute, links left
// as they are; started by a bare name found on the search path, it is the folder of the
// executable itself, links resolved.
std::string installFolderOf(const std::string& argv0, const std::string& currentFolder,
                            const std::string& resolvedExecutable);

// The executable file of this process, links resolved; "" when the system does not say.
std::string thisProgramFile();

// Whether path, links followed, is the executable file this process runs.
bool isThisProgram(const std::string& path);

// The installation folder of this process.
std::string installFolderOfThisProgram(const std::string& argv0);
