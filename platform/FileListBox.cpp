#include "platform/FileListBox.h"

#include "platform/AsciiCase.h"
#include "platform/CodePage1250.h"

#include <QFocusEvent>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace {
bool hasExtensionIgnoringCase(std::string_view name, std::string_view upperExtension) {
    return name.size() > upperExtension.size() &&
           equalsUpperCased(name.substr(name.size() - upperExtension.size()), upperExtension);
}

bool caseInsensitiveBefore(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = asciiUpper(static_cast<unsigned char>(a[i]));
        const unsigned char y = asciiUpper(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::string currentFolder() {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
}
} // namespace

QString displayFileName(const std::string& name) {
    return QString::fromStdString(fileNameToUtf8(name));
}

FileListBox::FileListBox(QWidget* parent) : ListBox(parent) {
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, &FileListBox::changed);
}

void FileListBox::setMaskExtension(std::string extension) {
    extension_ = asciiUpper(extension);
}

void FileListBox::applyFilePath(const std::string& folder) {
    // A folder that cannot be entered leaves the list on the current folder's files.
    if (!folder.empty() && ::chdir(folder.c_str()) == 0)
        directory_ = currentFolder();
    else
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
    std::sort(names_.begin(), names_.end(), caseInsensitiveBefore);

    {
        const QSignalBlocker quiet(this);
        clear();
        for (const std::string& name : names_) addItem(displayFileName(name));
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

void FileListBox::focusInEvent(QFocusEvent* event) {
    // Focus alone selects nothing, and leaves no row current either, so that the first arrow
    // key picks the first file: only a user's choice picks a scenery.
    const bool hadSelection = !selectedItems().isEmpty();
    ListBox::focusInEvent(event);
    if (!hadSelection) selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
}
