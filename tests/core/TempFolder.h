#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

// A folder of its own for one test, removed with its contents when the test ends, so tests
// that run in parallel never see each other's files.
class TempFolder {
public:
    TempFolder() {
        path_ = (std::filesystem::temp_directory_path() / "rsim-core-XXXXXX").string();
        if (!::mkdtemp(path_.data())) throw std::runtime_error("cannot create a test folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

    // Writes a file at a '/'-separated path inside the folder, creating the folders between.
    std::string write(std::string_view relative, std::string_view bytes) const {
        const std::filesystem::path file = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }

    void makeFolder(std::string_view relative) const {
        std::filesystem::create_directories(std::filesystem::path(path_) / relative);
    }

private:
    std::string path_;
};

// Test texts are written with "\n"; the installation's files end their lines with CR LF.
inline std::string crlf(std::string_view text) {
    std::string out;
    for (char c : text) out += c == '\n' ? "\r\n" : std::string(1, c);
    return out;
}
