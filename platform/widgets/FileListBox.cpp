#include "platform/widgets/FileListBox.h"

#include "platform/system/AsciiCase.h"
#include "platform/widgets/ShownText.h"
#include "platform/widgets/WindowsListOrder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {
bool hasExtensionIgnoringCase(std::string_view name, std::string_view upperExtension) {
    return name.size() > upperExtension.size() &&
           equalsUpperCased(name.substr(name.size() - upperExtension.size()), upperExtension);
}

std::string currentFolder() {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
}
} // namespace

FileListBox::FileListBox(QWidget* parent) : ListBox(parent) {
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, &FileListBox::changed);
}

void FileListBox::setMaskExtension(const std::string& extension) {
    extension_ = asciiUpper(extension);
}

void FileListBox::applyFilePath(const std::string& folder) {
    if (!folder.empty()) {
        // A folder that cannot be entered leaves the list on the current folder's files.
        [[maybe_unused]] const int entered = ::chdir(folder.c_str());
    }
    directory_ = currentFolder();
    refill();
}

void FileListBox::refill() {
    names_.clear();
    if (const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory_.c_str()), &::closedir);
        dir) {
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string name = entry->d_name;
            if (name.empty() || name[0] == '.' || !hasExtensionIgnoringCase(name, extension_))
                continue;
            struct stat st {};
            const std::string path = directory_ + '/' + name;
            if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names_.push_back(name);
        }
    }
    sortAsWindowsLists(names_);

    {
        const QSignalBlocker quiet(this);
        clear();
        for (const std::string& name : names_) addItem(shownFileName(name));
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    }
    emit changed();
}

std::string FileListBox::selectedName() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return {};
    const int row = this->row(selected.front());
    return row >= 0 && row < static_cast<int>(names_.size()) ? names_[static_cast<std::size_t>(row)]
                                                             : std::string();
}

std::string FileListBox::fileName() const {
    const std::string name = selectedName();
    return name.empty() ? std::string() : directory_ + '/' + name;
}
