#pragma once

#include "platform/system/FileDescriptor.h"
#include "platform/system/ProgramStart.h"
#include "settings/launch/StartFailure.h"
#include "settings/launch/WineEnvironment.h"

#include <memory>
#include <string>
#include <vector>

// The folder given to wine as LOCPATH, holding the built locale in a folder of its name.
std::string builtLocalesFolder(const WineEnvironment& wine);

// Building the locale. localedef writes it into a folder of its own beside its place, which is
// then renamed into place, so that neither a build cut short nor two launchers building at once
// leave half a locale where wine reads it.
struct LocaleBuild {
    std::string program; // localedef
    std::vector<std::string> arguments;
    std::string output; // the folder localedef writes into
    std::string folder; // where the finished locale belongs
};

// The build of the locale in the cache, should it be missing or damaged.
LocaleBuild localeBuild(const WineEnvironment& wine);

// Makes the cache folders and a fresh output folder, and names it last among the arguments. The
// output folder stays locked through lock while the build runs: a folder of a build that no
// launcher runs any more is unlocked, and removed by the next build. Returns 0 or the system
// error number (errno) of what failed.
int beginLocaleBuild(LocaleBuild& build, FileDescriptor& lock);

// Removes the output folders of builds whose launcher has gone, killed midway.
void removeAbandonedLocaleBuilds(const LocaleBuild& build);

// Moves a finished build into place, in place of a damaged locale where there is one. Returns 0
// or the system error number.
int finishLocaleBuild(const LocaleBuild& build);

// Whether the Polish locale that localedef built into folder is whole, as the system's own tools
// read it: under it, locale answers that the character set is UTF-8, and sed turns Polish
// capitals into their small letters. A locale file emptied or cut short, by a full disk or a
// build killed midway, leaves the C locale in its place, under which wine would hand the
// simulator its names garbled. Takes a few milliseconds; a locale found whole is not checked
// again while its files stay the same.
bool builtLocaleIsWhole(const std::string& folder);

// Makes the Polish locale in the launcher's cache ready for wine: checks it and, where it is
// missing or damaged, builds it again, once, in place of the damaged one. Folders of builds
// killed midway are removed on the way. localedef writes its messages to output. It can be
// begun before the start that needs it; its owner asks it along until it is ready or failed.
class LocalePreparation {
public:
    enum class State { Working, Ready, Failed };

    LocalePreparation(LocaleBuild build, int output);

    State begin();
    // While Working: whether the build has ended, and how.
    State poll();
    const StartFailure& failure() const { return failure_; }

private:
    State fail(StartFailure::Cause cause, int error, int waitStatus = 0);

    LocaleBuild build_;
    int output_;
    FileDescriptor lock_;
    std::unique_ptr<ChildProcess> localedef_;
    StartFailure failure_;
};
