#pragma once

#include "platform/widgets/ListBox.h"

#include <string>
#include <vector>

// The list of the files of one folder that match a mask, as Windows users know it: "*.scn"
// matches without regard to case, names are sorted without regard to case in Polish order, and
// one file at a time is chosen. Pointing the list at a folder makes that
// folder the process's current folder. Every refill, and every selection a user makes, is
// reported by changed(); after a refill nothing is selected.
class FileListBox : public ListBox {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // The extension the listed files have, such as ".scn".
    void setMaskExtension(const std::string& extension);

    // Lists the folder, or, when it cannot be entered, the current folder again.
    void applyFilePath(const std::string& folder);
    const std::string& directory() const { return directory_; }

    // The selected file's name as its bytes, and its full path; both empty with no selection.
    std::string selectedName() const;
    std::string fileName() const;

    // The names listed, as their bytes, in list order.
    const std::vector<std::string>& names() const { return names_; }

signals:
    void changed();

private:
    void refill();

    std::string extension_;
    std::string directory_;
    std::vector<std::string> names_;
};
