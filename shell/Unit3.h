#pragma once

#include "platform/ToolWindow.h"

// The about window: the launcher's title picture, name, version, credit and web address.
class TForm3 : public ToolWindow {
    Q_OBJECT
public:
    explicit TForm3(const QWidget* mainWindow);
};
