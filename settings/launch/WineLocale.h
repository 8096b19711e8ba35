#pragma once

#include "platform/system/FileDescriptor.h"
#include "settings/launch/SimulatorLaunch.h"

#include <QObject>

#include <string>

class ChildProcess;

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
// begun before the start that needs it; having reported, it is done.
class LocalePreparation : public QObject {
    Q_OBJECT
public:
    LocalePreparation(LocaleBuild build, int output, QObject* parent);

    void begin();

signals:
    void ready();
    void failed(const StartFailure& failure);

private:
    void built(int waitStatus);
    void fail(StartFailure::Cause cause, int error, int waitStatus = 0);

    LocaleBuild build_;
    int output_;
    FileDescriptor lock_;
    ChildProcess* child_ = nullptr;
};
