#include "platform/widgets/ProgramEnd.h"

#include <QCoreApplication>

namespace {
std::function<void(int)>& handler() {
    static std::function<void(int)> end = [](int code) { QCoreApplication::exit(code); };
    return end;
}
} // namespace

void endProgram(int exitCode) {
    handler()(exitCode);
}

void setProgramEndHandler(std::function<void(int)> newHandler) {
    handler() = std::move(newHandler);
}
