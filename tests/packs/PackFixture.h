#pragma once

#include "catalogue/SceneryCheck.h"

#include "TempFolder.h"
#include "tools/JsonWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// An installation of a few files, as players have them: lower-case folders, a catalogue with one
// record, a scenery picture that packs replace. Its path.
inline std::string writeInstallation(const TempFolder& folder,
                                     const std::string& relative = "install") {
    folder.write(relative + "/rsim.ini", crlf("Fullscreen=yes\n"));
    folder.write(relative + "/dynamic/pkp/dynamic.dat", crlf("Pojazdy\nEU07\nEU07-005\n1\n\n"));
    folder.write(relative + "/scenery/stara.scn", crlf("//$N Stara trasa\n"));
    folder.write(relative + "/scenery/images/trasa.jpg", "old picture");
    folder.write(relative + "/textures/mini/EU07-005.bmp", "thumbnail");
    return folder.path() + '/' + relative;
}

// Writes a pack from entries described as make_pack.py takes them, one JSON object each.
inline std::string makePack(const TempFolder& folder, const std::string& name,
                            const std::vector<std::string>& entries) {
    const std::string format = name.substr(name.rfind('.') + 1);
    std::string description = "{\"format\": " + jsonString(format) + ", \"entries\": [";
    for (std::size_t i = 0; i < entries.size(); ++i) description += (i ? ", " : "") + entries[i];
    const std::string describedIn = folder.write(name + ".json", description + "]}");
    std::string pack = folder.path() + '/' + name;
    const std::string command = "python3 " RSIM_MAKE_PACK " '" + describedIn + "' '" + pack + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return pack;
}

// Every file, folder and link below root with what it holds, to compare an installation byte for
// byte with itself at another time.
inline std::map<std::string, std::string> snapshot(const std::string& root) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        if (entry.is_symlink())
            files[relative] = "link to " + fs::read_symlink(entry.path()).string();
        else if (entry.is_directory())
            files[relative] = "folder";
        else
            files[relative] = (std::stringstream() << std::ifstream(entry.path()).rdbuf()).str();
    }
    return files;
}

inline std::string readFile(const std::string& path) {
    return (std::stringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
}

// Problems one to a line: the kind's number, the subject and the types, for comparing.
inline std::vector<std::string> shown(const std::vector<SceneryProblem>& problems) {
    std::vector<std::string> lines;
    for (const SceneryProblem& p : problems) {
        std::string types;
        for (const std::string& type : p.types) types += ' ' + type;
        lines.push_back(std::to_string(static_cast<int>(p.kind)) + ' ' + p.subject + types);
    }
    return lines;
}
