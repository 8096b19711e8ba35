#pragma once

#include <fstream>
#include <iterator>
#include <map>
#include <string>

// The sample installation's rsim.ini, which is the file the launcher writes for its values, and
// the same file with some of its lines changed: the expected files of the settings tests.

inline const std::string& sampleSettingsFile() {
    static const std::string bytes = [] {
        std::ifstream in(RSIM_SAMPLE_DIR "/rsim.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

// Lines are numbered from 1 and given without their CR LF.
inline std::string sampleSettingsFileWith(const std::map<int, std::string>& lines) {
    const std::string& sample = sampleSettingsFile();
    std::string out;
    int number = 1;
    for (std::size_t at = 0; at < sample.size(); ++number) {
        const std::size_t end = sample.find("\r\n", at);
        const auto replaced = lines.find(number);
        out += replaced != lines.end() ? replaced->second : sample.substr(at, end - at);
        out += "\r\n";
        at = end + 2;
    }
    return out;
}
