#include "shell/OutsideInstallation.h"

#include "platform/FirstStartFiles.h"
#include "platform/FolderChooser.h"
#include "platform/MessageBox.h"
#include "platform/ProgramPath.h"
#include "shell/FirstStart.h"

#include <QString>
#include <cerrno>
#include <cstdlib>
#include <optional>

namespace {

class Texts {
public:
    explicit Texts(Language language) : language_(language) {}
    QString operator()(FirstStartText which, const std::string& path = {}, int error = 0) const {
        return QString::fromStdString(firstStartText(language_, which, path, error));
    }

private:
    Language language_;
};

// A menu entry is a convenience: when it cannot be written, the player is told and the
// launcher starts all the same.
void writeEntryFor(const std::string& folder, const std::string& link, const Texts& text) {
    const std::optional<std::string> entry = installationMenuEntry(folder, link);
    if (!entry) {
        MessageBox::showError(text(FirstStartText::MenuEntryNotNamed, folder));
        return;
    }
    const std::string entries =
        menuEntriesFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (entries.empty()) {
        MessageBox::showError(
            text(FirstStartText::MenuEntryNotWritten, "$HOME/.local/share/applications", ENOENT));
        return;
    }
    const std::string path = menuEntryPath(entries, folder, *entry);
    if (const int error = writeMenuEntry(path, *entry))
        MessageBox::showError(text(FirstStartText::MenuEntryNotWritten, path, error));
}

} // namespace

int startOutsideInstallation(const std::string& ownFolder, Language language) {
    const Texts text(language);
    if (MessageBox::askYesNo(text(FirstStartText::Caption),
                             text(FirstStartText::Outside, ownFolder),
                             text(FirstStartText::ChooseButton),
                             text(FirstStartText::QuitButton)) != MessageBox::Yes)
        return 0;

    const FolderChooserTexts chooser{
        text(FirstStartText::ChooserCaption), text(FirstStartText::ChooserLookIn),
        text(FirstStartText::ChooserFolder), text(FirstStartText::ChooserAccept),
        text(FirstStartText::ChooserCancel)};
    std::string folder = std::getenv("HOME") ? std::getenv("HOME") : "/";
    while (true) {
        folder = chooseFolder(chooser, folder);
        if (folder.empty()) return 0;
        if (!isInstallation(folder)) {
            MessageBox::showError(text(FirstStartText::NotAnInstallation, folder));
            continue;
        }
        const std::string link = folder + '/' + std::string(LauncherLinkName);
        // A link placed before, or the launcher itself copied there, is used as it is.
        if (!nameIsTaken(link)) {
            if (const int error = placeLink(link, thisProgramFile())) {
                MessageBox::showError(text(FirstStartText::FolderNotWritable, folder, error));
                continue;
            }
        } else if (const int error = checkProgramStarts(link)) {
            MessageBox::showError(text(FirstStartText::LinkCannotStart, link, error));
            continue;
        }
        writeEntryFor(folder, link, text);
        const int error = startInstead(link);
        MessageBox::showError(text(FirstStartText::LinkCannotStart, link, error));
        return 1;
    }
}
