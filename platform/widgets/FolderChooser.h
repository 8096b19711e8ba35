#pragma once

#include <QString>
#include <string>

// The texts of the folder chooser, in the interface language.
struct FolderChooserTexts {
    QString caption;
    QString lookIn;
    QString folder;
    QString accept;
    QString cancel;
};

// Asks for a folder in the toolkit's own chooser, not the desktop's, so that a path typed into
// its line and Enter work as well as clicks, on every desktop alike. Opens at startFolder.
// Returns the chosen folder's path as its bytes, "" on Cancel.
std::string chooseFolder(const FolderChooserTexts& texts, const std::string& startFolder);
