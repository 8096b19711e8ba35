#pragma once

#include <functional>

// Ends the program with an exit code at once, whatever windows are open. Tests put a handler of
// their own in place so that the test program itself goes on.
void endProgram(int exitCode);
void setProgramEndHandler(std::function<void(int)> handler);
