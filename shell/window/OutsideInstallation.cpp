#include "shell/window/OutsideInstallation.h"

#include "platform/system/FileReplacement.h"
#include "platform/system/FirstStartFiles.h"
#include "platform/system/ProgramPath.h"
#include "platform/system/UserFolders.h"
#include "platform/widgets/FolderChooser.h"
#include "platform/widgets/MessageBox.h"
#include "shell/CommandLine.h"
#include "shell/FirstStart.h"

#include <QString>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

class Texts {
public:
    explicit Texts(Language language) : language_(language) {}
    QString operator()(const BilingualText& text, const std::string& path = {},
                       int error = 0) const {
        return QString::fromStdString(firstStartText(language_, text, path, error));
    }

private:
    Language language_;
};

// A menu entry is a convenience: when it cannot be written, the player is told and the
// launcher starts all the same.
void writeEntryFor(const std::string& folder, const std::string& program,
                   const std::vector<std::string>& arguments, const Texts& text) {
    const std::optional<std::string> entry = installationMenuEntry(folder, program, arguments);
    if (!entry) {
        MessageBox::showError(text(FirstStartText::MenuEntryNotNamed, folder));
        return;
    }
    const std::string entries = menuEntriesFolder(std::getenv("XDG_DATA_HOME"), homeFolder());
    if (entries.empty()) {
        MessageBox::showError(
            text(FirstStartText::MenuEntryNotWritten, "$HOME/.local/share/applications", ENOENT));
        return;
    }
    const std::string path =
        menuEntryPath(entries, folder, *entry, longestReplaceableName(entries));
    if (const int error = writeMenuEntry(path, *entry))
        MessageBox::showError(text(FirstStartText::MenuEntryNotWritten, path, error));
}

// Writes the installation's menu entry for program and starts it; returns only when that fails.
int serve(const std::string& folder, const std::string& program,
          const std::vector<std::string>& arguments, const Texts& text) {
    writeEntryFor(folder, program, arguments, text);
    const int error = startInstead(program, arguments);
    MessageBox::showError(text(FirstStartText::LinkCannotStart, program, error));
    return 1;
}

// A folder that takes no link is served by the launcher itself, with the installation named on
// its command line; the windows then work as they do through a link.
int serveWithoutLink(const std::string& folder, int why, const Texts& text) {
    MessageBox::showInformation(text(FirstStartText::TakesNoLink, folder, why));
    return serve(folder, thisProgramFile(), {std::string(InstallationOption), folder}, text);
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
    std::string folder = homeFolder() ? homeFolder() : "/";
    while (true) {
        folder = chooseFolder(chooser, folder);
        if (folder.empty()) return 0;
        if (!isInstallation(folder)) {
            MessageBox::showError(text(FirstStartText::NotAnInstallation, folder));
            continue;
        }
        const std::string link = folder + '/' + std::string(LauncherLinkName);
        switch (launcherLinkAt(link)) {
        case LauncherLink::ThisLauncher:
            return serve(folder, link, {}, text);
        case LauncherLink::Missing:
            if (const int error = placeLink(link, thisProgramFile()))
                return serveWithoutLink(folder, error, text);
            return serve(folder, link, {}, text);
        case LauncherLink::Dead:
            if (const int error = replaceDeadLink(link, thisProgramFile()))
                return serveWithoutLink(folder, error, text);
            MessageBox::showInformation(text(FirstStartText::DeadLinkReplaced, link));
            return serve(folder, link, {}, text);
        case LauncherLink::Stranger:
            // Whatever it is, the launcher never runs a file it did not place.
            MessageBox::showError(text(FirstStartText::NotThisLauncher, link));
            continue;
        }
    }
}
