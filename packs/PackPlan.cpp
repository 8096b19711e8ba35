#include "packs/PackPlan.h"

#include "catalogue/ReadingLimits.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"
#include "packs/InstallTree.h"
#include "packs/PackArchive.h"
#include "packs/PackLimits.h"
#include "platform/system/AsciiCase.h"
#include "platform/system/FileDescriptor.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>

namespace {

// An entry as its header describes it, its name taken apart.
struct Header {
    PackEntry entry;
    EntryPath path;
};

// The pack's files planning reads, by what they are to the installation.
enum class Checked { No, Scenery, Catalogue, Picture };

std::uint64_t readCap(Checked what) {
    switch (what) {
    case Checked::Scenery:
        return SceneryLimits.fileBytes;
    case Checked::Picture:
        return PackLimits::PictureBytes;
    case Checked::Catalogue:
    case Checked::No:
        break;
    }
    return PackLimits::CheckedBytes;
}

bool namesAre(const std::vector<std::string>& names, std::size_t from,
              std::initializer_list<std::string_view> upper) {
    if (from + upper.size() > names.size()) return false;
    std::size_t i = from;
    for (const std::string_view name : upper)
        if (!equalsUpperCased(names[i++], name)) return false;
    return true;
}

// What an entry may turn out to be once the pack's root is known: read on the first pass, so
// that the archive is usually read once.
Checked mayBeChecked(const std::vector<std::string>& names) {
    const std::size_t n = names.size();
    if (n >= 3 && namesAre(names, n - 3, {"DYNAMIC", "PKP", "DYNAMIC.DAT"}))
        return Checked::Catalogue;
    if (n >= 2 && namesAre(names, n - 2, {"SCENERY"}) && isSceneryFileName(names[n - 1]))
        return Checked::Scenery;
    if (n >= 3 && namesAre(names, n - 3, {"SCENERY", "IMAGES"})) return Checked::Picture;
    return Checked::No;
}

// The first cap bytes of the archive's current entry; false when the archive failed.
bool readInto(PackArchive& archive, std::string& bytes, std::uint64_t cap,
              const std::stop_token& stop) {
    bytes.clear();
    archive.read(
        [&bytes, cap](std::uint64_t offset, std::string_view block) {
            if (offset > bytes.size()) bytes.resize(std::min<std::uint64_t>(offset, cap), '\0');
            const std::uint64_t room = cap - bytes.size();
            bytes.append(block.substr(0, std::min<std::uint64_t>(block.size(), room)));
            return bytes.size() < cap;
        },
        stop);
    return !archive.error();
}

std::string joinNames(const std::vector<std::string>& names, std::size_t count) {
    std::string joined;
    for (std::size_t i = 0; i < count; ++i) joined += (i ? "/" : "") + names[i];
    return joined;
}

std::string upperJoined(const std::vector<std::string>& names, std::size_t count) {
    return asciiUpper(joinNames(names, count));
}

// A private folder for pictures unpacked to be checked, removed with them.
class Scratch {
public:
    Scratch() = default;
    ~Scratch() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // The path of a new file of that name holding bytes; "" when it cannot be written.
    std::string write(const std::string& name, std::string_view bytes) {
        if (path_.empty()) {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/rsim-pack-XXXXXX";
            if (::mkdtemp(pattern.data()) == nullptr) return {};
            path_ = pattern;
        }
        std::string file = path_ + '/' + std::to_string(count_++) + '-' + name;
        const FileDescriptor fd(
            ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (fd.get() < 0) return {};
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
            if (n <= 0) return {};
            done += static_cast<std::size_t>(n);
        }
        return file;
    }

private:
    std::string path_;
    int count_ = 0;
};

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); !what.empty() && at != std::string::npos;
         at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

class Planner;

// The installation's files as they will stand, for the scenery check.
class PlannedFiles final : public InstallationFiles {
public:
    explicit PlannedFiles(Planner& planner) : planner_(planner) {}
    std::string resolve(std::string_view windowsPath) const override;
    bool isFile(const std::string& relative) const override;
    std::string pictureProblem(const std::string& relative) const override;

private:
    Planner& planner_;
};

class Planner {
public:
    Planner(PackPlan& plan, const PictureVerdict& verdict, const std::stop_token& stop)
        : plan_(plan), verdict_(verdict), stop_(stop), tree_(plan.installRoot) {}

    void run() {
        if (!readHeaders() || !checkRatio()) return;
        placeFiles();
        if (!offerCatalogue()) return;
        checkSceneries();
        countSpace();
    }

    std::string resolve(std::string_view windowsPath) {
        const std::string path =
            resolveWindowsPath("", windowsPath, [this](const std::string& folder, auto name) {
                return tree_.find(folder.empty() ? folder : folder.substr(1), name).name;
            });
        return path.empty() ? path : path.substr(1);
    }

    bool isFile(const std::string& relative) const {
        return placed_.count(relative) > 0 || fileExists(plan_.installRoot + '/' + relative);
    }

    std::string pictureProblem(const std::string& relative) {
        const auto placed = placed_.find(relative);
        if (placed == placed_.end())
            return verdict_ ? verdict_(plan_.installRoot + '/' + relative) : std::string();
        if (!verdict_) return {};
        const std::size_t index = plan_.files[placed->second].index;
        const auto known = pictureVerdicts_.find(index);
        if (known != pictureVerdicts_.end()) return known->second;
        const auto data = kept_.find(index);
        if (data == kept_.end()) {
            // Read on a later pass, and reported then.
            laterPictures_[index].push_back({checking_, relative});
            return {};
        }
        return pictureVerdicts_[index] = judgePicture(relative, data->second);
    }

private:
    struct LaterPicture {
        std::size_t scenery;
        std::string relative;
    };

    bool stopWith(const PackError& error) {
        plan_.error = error;
        return false;
    }

    bool readHeaders() {
        PackArchive archive(plan_.archive);
        archiveBytes_ = archive.fileBytes();
        while (archive.next()) {
            if (stop_.stop_requested()) return stopWith({PackError::Kind::Cancelled, {}, {}});
            Header header{archive.entry(), splitEntryName(archive.entry().name)};
            const PackEntry& entry = header.entry;
            if (entry.kind == EntryKind::File && !entry.encrypted) {
                if (!entry.sizeDeclared)
                    return stopWith({PackError::Kind::SizeNotDeclared, entry.name, {}});
                declaredBytes_ += entry.size;
                const Checked what = mayBeChecked(header.path.names);
                const std::uint64_t cap = std::min(readCap(what), entry.size);
                if (what != Checked::No && keptBytes_ + cap <= PackLimits::CheckedBytes) {
                    std::string& bytes = kept_[entry.index];
                    if (!readInto(archive, bytes, readCap(what), stop_)) break;
                    keptBytes_ += bytes.size();
                }
            }
            headers_.push_back(std::move(header));
        }
        if (archive.error()) return stopWith(archive.error());
        return true;
    }

    bool checkRatio() {
        if (declaredBytes_ > PackLimits::RatioSlackBytes &&
            declaredBytes_ / PackLimits::CompressionRatio > archiveBytes_)
            return stopWith({PackError::Kind::RatioExceeded, {}, {}});
        return true;
    }

    // The folders the installation has at its top or the launcher reads, upper-cased.
    std::set<std::string> installationFolders() {
        std::set<std::string> folders{"SCENERY", "DYNAMIC", "TEXTURES"};
        std::error_code unreadable;
        for (const auto& entry : std::filesystem::directory_iterator(
                 plan_.installRoot, std::filesystem::directory_options::skip_permission_denied,
                 unreadable)) {
            std::error_code ignored;
            const std::string name = entry.path().filename().string();
            if (entry.is_directory(ignored) &&
                !equalsUpperCased(name, asciiUpper(BackupFolderName)))
                folders.insert(asciiUpper(name));
        }
        return folders;
    }

    // The shallowest folder with a sub-folder that is an installation folder; among several
    // as shallow, the first in byte order of their upper-cased names.
    void findRoot() {
        const std::set<std::string> folders = installationFolders();
        bool found = false;
        for (const Header& header : headers_) {
            const std::vector<std::string>& names = header.path.names;
            if (header.path.refusal != Refusal::None) continue;
            const std::size_t subFolders =
                header.entry.kind == EntryKind::Folder ? names.size() : names.size() - 1;
            for (std::size_t depth = 0; depth < subFolders; ++depth) {
                if (folders.count(asciiUpper(names[depth])) == 0) continue;
                const std::string key = upperJoined(names, depth);
                if (!found || depth < rootDepth_ || (depth == rootDepth_ && key < rootKey_)) {
                    found = true;
                    rootDepth_ = depth;
                    rootKey_ = key;
                    plan_.root = joinNames(names, depth);
                }
                break;
            }
        }
    }

    // The entry's place as it will stand, or why it has none.
    Refusal place(const Header& header, PlannedFile& file) {
        const std::vector<std::string>& names = header.path.names;
        if (names.size() <= rootDepth_ || upperJoined(names, rootDepth_) != rootKey_)
            return Refusal::LeavesRoot;
        if (equalsUpperCased(names[rootDepth_], asciiUpper(BackupFolderName)))
            return Refusal::BackupFolder;
        std::string folder;
        for (std::size_t i = rootDepth_; i + 1 < names.size(); ++i) {
            const InstallTree::Name found = tree_.find(folder, names[i]);
            if (found.kind == InstallTree::Kind::None) {
                tree_.add(folder, names[i], InstallTree::Kind::Folder);
                folder = joinPath(folder, names[i]);
            } else if (found.kind == InstallTree::Kind::Folder) {
                folder = joinPath(folder, found.name);
            } else {
                file.target = joinPath(folder, found.name);
                return Refusal::FileInTheWay;
            }
        }
        const InstallTree::Name found = tree_.find(folder, names.back());
        file.target = joinPath(folder, found.name.empty() ? names.back() : found.name);
        if (found.kind == InstallTree::Kind::Folder) return Refusal::FolderInTheWay;
        if (found.added) return Refusal::HeldTwice;
        file.action =
            found.kind == InstallTree::Kind::None ? EntryAction::Add : EntryAction::Replace;
        tree_.add(folder, file.target.substr(folder.empty() ? 0 : folder.size() + 1),
                  InstallTree::Kind::File);
        if (file.action == EntryAction::Replace && equalsUpperCased(file.target, "RSIM.INI"))
            return Refusal::SettingsFile;
        if (file.action == EntryAction::Replace &&
            equalsUpperCased(file.target, "DYNAMIC/PKP/DYNAMIC.DAT"))
            return Refusal::Catalogue;
        return Refusal::None;
    }

    void placeFiles() {
        findRoot();
        std::unordered_map<std::string, std::size_t> firstAt;
        for (const Header& header : headers_) {
            const PackEntry& entry = header.entry;
            if (entry.kind == EntryKind::Folder) continue;
            PlannedFile file{entry.index,         entry.rawName,    entry.name, {},
                             EntryAction::Refuse, Refusal::None,    entry.size, entry.hasTime,
                             entry.seconds,       entry.nanoseconds};
            file.refusal = entry.kind == EntryKind::Link       ? Refusal::Link
                           : entry.kind == EntryKind::HardLink ? Refusal::HardLink
                           : entry.kind == EntryKind::Special  ? Refusal::Special
                           : entry.encrypted                   ? Refusal::Encrypted
                                                               : header.path.refusal;
            if (file.refusal == Refusal::None) file.refusal = place(header, file);
            if (file.refusal == Refusal::HeldTwice) {
                PlannedFile& first = plan_.files[firstAt[file.target]];
                first.action = EntryAction::Refuse;
                first.refusal = Refusal::HeldTwice;
            } else if (!file.target.empty()) {
                firstAt.emplace(file.target, plan_.files.size());
            }
            if (file.refusal != Refusal::None) file.action = EntryAction::Refuse;
            plan_.files.push_back(std::move(file));
        }
        for (const PlannedFile& file : plan_.files)
            if (file.refusal == Refusal::Catalogue) catalogueEntry_ = file.index;
        std::set<std::string> folders;
        for (std::size_t i = 0; i < plan_.files.size(); ++i) {
            const PlannedFile& file = plan_.files[i];
            if (file.action == EntryAction::Refuse) continue;
            placed_.emplace(file.target, i);
            plan_.bytes += file.size;
            for (std::string folder = parentOf(file.target); !folder.empty();
                 folder = parentOf(folder)) {
                if (tree_.find(parentOf(folder), folder.substr(folder.rfind('/') + 1)).added)
                    folders.insert(folder);
            }
        }
        // In byte order a folder comes before the folders inside it.
        plan_.newFolders.assign(folders.begin(), folders.end());
    }

    // Reads the data of the wanted entries the first pass did not keep, one at a time.
    bool readAgain(const std::map<std::size_t, Checked>& wanted,
                   const std::function<void(std::size_t index, const std::string& bytes)>& take) {
        if (wanted.empty()) return true;
        PackArchive archive(plan_.archive);
        std::string bytes;
        while (archive.next()) {
            const PackEntry& entry = archive.entry();
            if (entry.index >= headers_.size() ||
                entry.rawName != headers_[entry.index].entry.rawName)
                return stopWith({PackError::Kind::PackChanged, entry.name, {}});
            const auto want = wanted.find(entry.index);
            if (want == wanted.end()) continue;
            if (!readInto(archive, bytes, readCap(want->second), stop_)) break;
            take(entry.index, bytes);
        }
        if (archive.error()) return stopWith(archive.error());
        return true;
    }

    bool offerCatalogue() {
        plan_.catalogue = resolve("\\dynamic\\pkp\\dynamic.dat");
        std::string packCatalogue;
        std::optional<std::size_t> packEntry = catalogueEntry_;
        if (const auto added = placed_.find(plan_.catalogue); added != placed_.end())
            packEntry = plan_.files[added->second].index;
        if (packEntry) {
            if (const auto data = kept_.find(*packEntry); data != kept_.end())
                packCatalogue = data->second;
            else if (!readAgain(
                         {{*packEntry, Checked::Catalogue}},
                         [&](std::size_t, const std::string& bytes) { packCatalogue = bytes; }))
                return false;
        }
        if (!catalogueEntry_) {
            catalogueAfter_ = packEntry ? packCatalogue
                                        : readWholeFile(plan_.installRoot + '/' + plan_.catalogue,
                                                        PackLimits::CheckedBytes)
                                              .bytes;
            return true;
        }
        const WholeFile installed =
            readWholeFile(plan_.installRoot + '/' + plan_.catalogue, PackLimits::CheckedBytes);
        plan_.offeredRecords = recordsToOffer(installed.bytes, packCatalogue);
        catalogueAfter_ = catalogueWithRecords(installed.bytes, plan_.offeredRecords);
        return true;
    }

    void checkScenery(std::size_t fileIndex, const std::string& bytes) {
        const PlannedFile& file = plan_.files[fileIndex];
        checking_ = plan_.sceneries.size();
        TextReader in(bytes, SceneryLimits);
        plan_.sceneries.push_back(
            {file.action, ::checkScenery(in, file.target, *catalogue_, *files_)});
    }

    void checkSceneries() {
        catalogue_ = std::make_unique<VehicleCatalogue>();
        TextReader catalogueText(catalogueAfter_, CatalogueLimits);
        *catalogue_ = readVehicleCatalogue(catalogueText);
        files_ = std::make_unique<PlannedFiles>(*this);
        const std::string sceneryFolder = resolve("\\scenery");
        std::map<std::size_t, Checked> later;
        std::unordered_map<std::size_t, std::size_t> fileOfEntry;
        for (std::size_t i = 0; i < plan_.files.size(); ++i) {
            const PlannedFile& file = plan_.files[i];
            if (file.action == EntryAction::Refuse || parentOf(file.target) != sceneryFolder ||
                !isSceneryFileName(file.target.substr(file.target.rfind('/') + 1)))
                continue;
            if (const auto data = kept_.find(file.index); data != kept_.end())
                checkScenery(i, data->second);
            else
                later.emplace(file.index, Checked::Scenery);
            fileOfEntry[file.index] = i;
        }
        if (!readAgain(later, [&](std::size_t index, const std::string& bytes) {
                checkScenery(fileOfEntry[index], bytes);
            }))
            return;
        std::map<std::size_t, Checked> pictures;
        for (const auto& [index, wanted] : laterPictures_)
            pictures.emplace(index, Checked::Picture);
        readAgain(pictures, [&](std::size_t index, const std::string& bytes) {
            for (const LaterPicture& wanted : laterPictures_[index]) {
                std::string why = judgePicture(wanted.relative, bytes);
                if (why.empty()) continue;
                plan_.sceneries[wanted.scenery].check.problems.push_back(
                    {SceneryProblem::Kind::BrokenPicture,
                     replaceAll(std::string("/").append(wanted.relative), "/", "\\"),
                     {},
                     wanted.relative,
                     std::move(why)});
            }
        });
    }

    std::string judgePicture(const std::string& relative, const std::string& bytes) {
        const std::string name = relative.substr(relative.rfind('/') + 1);
        const std::string path = scratch_.write(name, bytes);
        if (path.empty()) return {};
        return replaceAll(verdict_(path), path, relative);
    }

    void countSpace() {
        struct statvfs fs {};
        if (::statvfs(plan_.installRoot.c_str(), &fs) != 0) return;
        const std::uint64_t block = std::max<std::uint64_t>(fs.f_frsize, 1);
        const auto blocks = [block](std::uint64_t bytes) { return (bytes + block - 1) / block; };
        std::uint64_t needed = blocks(PackLimits::SpareBytes) + plan_.newFolders.size();
        for (const PlannedFile& file : plan_.files)
            if (file.action != EntryAction::Refuse) needed += blocks(file.size);
        if (!plan_.offeredRecords.empty()) needed += blocks(catalogueAfter_.size());
        plan_.spaceNeeded = needed * block;
        plan_.spaceFree = static_cast<std::uint64_t>(fs.f_bavail) * block;
    }

    PackPlan& plan_;
    const PictureVerdict& verdict_;
    std::stop_token stop_;
    InstallTree tree_;

    std::vector<Header> headers_;
    std::unordered_map<std::size_t, std::string> kept_; // data read on the first pass
    std::uint64_t keptBytes_ = 0;
    std::uint64_t declaredBytes_ = 0;
    std::uint64_t archiveBytes_ = 0;

    std::size_t rootDepth_ = 0;
    std::string rootKey_;
    std::unordered_map<std::string, std::size_t> placed_; // target to file, for files placed
    std::optional<std::size_t> catalogueEntry_;           // the pack's catalogue, not written over
    std::string catalogueAfter_; // the installation's catalogue after the install

    std::unique_ptr<VehicleCatalogue> catalogue_;
    std::unique_ptr<PlannedFiles> files_;
    std::size_t checking_ = 0; // the scenery being checked
    std::unordered_map<std::size_t, std::string> pictureVerdicts_;
    std::map<std::size_t, std::vector<LaterPicture>> laterPictures_;
    Scratch scratch_;
};

std::string PlannedFiles::resolve(std::string_view windowsPath) const {
    return planner_.resolve(windowsPath);
}
bool PlannedFiles::isFile(const std::string& relative) const {
    return planner_.isFile(relative);
}
std::string PlannedFiles::pictureProblem(const std::string& relative) const {
    return planner_.pictureProblem(relative);
}

std::string packNameOf(const std::string& archive) {
    std::string name = archive.substr(archive.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    // A ".tar" before the compression's extension goes too.
    if (name.size() > 4 && equalsUpperCased(name.substr(name.size() - 4), ".TAR"))
        name.erase(name.size() - 4);
    return name;
}

} // namespace

PackPlan planPack(const std::string& installRoot, const std::string& archive,
                  const PictureVerdict& verdict, const std::stop_token& stop) {
    PackPlan plan;
    plan.installRoot = installRoot;
    plan.archive = archive;
    plan.packName = packNameOf(archive);
    Planner(plan, verdict, stop).run();
    return plan;
}
