#pragma once

#include "settings/launch/SimulatorLaunch.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <string>

class ChildProcess;

// Starts a Windows simulator through wine and watches the processes of the start until the
// simulator has started or the start has failed, through the event loop, so that the launcher's
// windows stay alive however long wine takes. Wine's output and error output go to a file in the
// launcher's cache folder, never to a pipe: a pipe would kill wine, and the simulator with it,
// on its first write after the launcher has ended. The Polish locale is made ready first where
// the command takes it from the cache.
//
// Having reported, the object deletes itself; a simulator still running is reaped when it ends.
class WatchedStart : public QObject {
    Q_OBJECT
public:
    WatchedStart(SimulatorCommand command, QObject* parent);
    ~WatchedStart() override;

    const SimulatorCommand& command() const { return command_; }
    void begin();

signals:
    void started();
    void failed(const StartFailure& failure);

private:
    void startWine();
    void look();
    void wineEnded(int waitStatus);
    void succeed();
    void fail(StartFailure failure);
    void release();

    SimulatorCommand command_;
    std::string simulatorName_;
    int output_ = -1;
    ChildProcess* child_ = nullptr;
    int waitStatus_ = 0;
    WineStartJudge judge_;
    QElapsedTimer clock_;
    QTimer lookAgain_;
};
