#include "settings/launch/LaunchParameters.h"
#include "settings/launch/SimulatorCommand.h"
#include "settings/launch/StartFailure.h"
#include "settings/launch/Wine32Bit.h"
#include "settings/launch/WineStartJudge.h"
#include "settings/launch/WineWarmUp.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

// wine at that path, where the system has no Polish locale and the cache holds none.
WineEnvironment wineAt(const std::string& wine,
                       const std::string& cacheFolder = "/c/rsim-launcher") {
    return {wine, "/l/localedef", cacheFolder, false, "2.36", "", ""};
}

TEST(SimulatorLaunch, ParameterTextAndArgumentsKeepEveryNameWhole) {
    struct Case {
        std::string scenery, vehicle, text;
        Arguments arguments;
    };
    const std::vector<Case> cases{
        {"a.scn", "X", "-s a.scn -v X", {"-s", "a.scn", "-v", "X"}},
        {"", "ghostview", "-s  -v ghostview", {"-s", "", "-v", "ghostview"}},
        {"Nowa trasa.scn",
         "Lok 1",
         "-s Nowa trasa.scn -v Lok 1",
         {"-s", "Nowa trasa.scn", "-v", "Lok 1"}},
        // Windows-1250 bytes of a name made on Windows go on as they are.
        {"\xA3\xF3\x64\x9F.scn",
         "EL\xB9",
         "-s \xA3\xF3\x64\x9F.scn -v EL\xB9",
         {"-s", "\xA3\xF3\x64\x9F.scn", "-v", "EL\xB9"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(launchParameters(c.scenery, c.vehicle), c.text);
        EXPECT_EQ(launchArguments(c.scenery, c.vehicle), c.arguments) << c.text;
    }
}

TEST(SimulatorLaunch, CommandRunsTheInstallationsSimulatorInItsFolder) {
    TempFolder install;
    // Found in whatever case it was installed with.
    const std::string simulator = install.write("RSIM.EXE", "#!/bin/sh\n");
    const SimulatorCommand command =
        simulatorCommand(install.path(), "a b.scn", "X", wineAt("/w/wine"));
    EXPECT_EQ(command.simulator, simulator);
    EXPECT_FALSE(command.windowsProgram);
    EXPECT_EQ(command.program, simulator);
    EXPECT_EQ(command.arguments, (Arguments{"-s", "a b.scn", "-v", "X"}));
    EXPECT_EQ(command.workingFolder, install.path());

    TempFolder empty;
    const SimulatorCommand missing =
        simulatorCommand(empty.path(), "a.scn", "X", wineAt("/w/wine"));
    EXPECT_EQ(missing.program, empty.path() + "/rsim.exe");
    EXPECT_FALSE(missing.windowsProgram);
}

TEST(SimulatorLaunch, AWindowsProgramRunsUnderWine) {
    TempFolder install;
    const std::string simulator = install.write("rsim.exe", std::string("MZ\x90\0\3", 5));
    const SimulatorCommand command =
        simulatorCommand(install.path(), "a.scn", "X", wineAt("/w/wine"));
    EXPECT_TRUE(command.windowsProgram);
    EXPECT_EQ(command.program, "/w/wine");
    EXPECT_EQ(command.arguments, (Arguments{simulator, "-s", "a.scn", "-v", "X"}));
    EXPECT_EQ(command.workingFolder, install.path());
    EXPECT_EQ(simulatorCommand(install.path(), "a.scn", "X", wineAt("")).program, "");

    // Only the first two bytes count: "M" alone, or "mz", is no Windows program.
    for (const std::string head : {"M", "mz\x90", "ZM"}) {
        install.write("rsim.exe", head);
        EXPECT_FALSE(
            simulatorCommand(install.path(), "a.scn", "X", wineAt("/w/wine")).windowsProgram)
            << head;
    }
}

TEST(SimulatorLaunch, FailureMessagesNameTheSimulatorAndTheReasonInEachLanguage) {
    TempFolder install;
    // A folder copied from Windows may carry a Windows-1250 name: it is shown decoded.
    const std::string root = install.path() + "/Gra \xA3\xF3\x64\x9F";
    std::filesystem::create_directories(root);
    const std::string shown = install.path() + "/Gra Łódź/rsim.exe";
    const SimulatorCommand plain = simulatorCommand(root, "a.scn", "X", wineAt("/w/wine"));
    install.write("Gra \xA3\xF3\x64\x9F/rsim.exe", "MZ");
    const SimulatorCommand windows = simulatorCommand(root, "a.scn", "X", wineAt("/w/wine"));
    const SimulatorCommand noWine = simulatorCommand(root, "a.scn", "X", wineAt(""));

    struct Case {
        const SimulatorCommand& command;
        int error;
        std::string polish, english;
    };
    const std::vector<Case> cases{
        {plain, ENOENT, "nie ma takiego pliku", "no such file"},
        {plain, EACCES, "plik nie jest ani programem, ani programem Windows",
         "neither executable nor a Windows program"},
        {plain, ENOEXEC, "plik nie jest ani programem, ani programem Windows",
         "neither executable nor a Windows program"},
        {noWine, ENOENT, "to program Windows, a w ścieżce wyszukiwania nie ma programu wine",
         "a Windows program, and no wine on the search path"},
        {windows, EACCES, "wine: " + std::string(std::strerror(EACCES)),
         "wine: " + std::string(std::strerror(EACCES))},
        {plain, E2BIG, std::strerror(E2BIG), std::strerror(E2BIG)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(startFailureMessage(Language::Polish, c.command, c.error),
                  "Nie udało się uruchomić symulatora: " + shown + " (" + c.polish + ")");
        EXPECT_EQ(startFailureMessage(Language::English, c.command, c.error),
                  "The simulator could not be started: " + shown + " (" + c.english + ")");
    }
}

// The head of a PE file for a machine: the DOS header pointing at the PE header just after it.
std::string peHead(std::uint16_t machine) {
    std::string head(0x40, '\0');
    head[0] = 'M';
    head[1] = 'Z';
    head[0x3C] = 0x40;
    return head + std::string("PE\0\0", 4) + static_cast<char>(machine & 0xFF) +
           static_cast<char>(machine >> 8) + std::string(16, '\0');
}

TEST(SimulatorLaunch, WineGetsEveryArgumentAsUtf8AndTheSimulatorGetsItsBytesBack) {
    struct Case {
        std::string scenery, vehicle;
        Arguments arguments;
    };
    const std::vector<Case> cases{
        // A node name is Windows-1250; a scenery file name on disk is UTF-8 as a Linux copy
        // has it, or Windows-1250 as an archive made on Windows may leave it.
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA.scn",
         "Lok_\xA3\xF3\x64\x9F",
         {"-s", "Łódź.scn", "-v", "Lok_Łódź"}},
        {"\xA3\xF3\x64\x9F.scn", "EL\xB9", {"-s", "Łódź.scn", "-v", "ELą"}},
        {"Nowa trasa.scn", "Lok 1", {"-s", "Nowa trasa.scn", "-v", "Lok 1"}},
        {"", "ghostview", {"-s", "", "-v", "ghostview"}},
        // Bytes Windows-1250 leaves undefined come back as Windows reads them: as themselves.
        {"a\x81.scn", "V\x98", {"-s", "a\xC2\x81.scn", "-v", "V\xC2\x98"}},
    };
    TempFolder install;
    const std::string simulator = install.write("rsim.exe", peHead(0x014C));
    for (const Case& c : cases) {
        EXPECT_EQ(wineArguments(c.scenery, c.vehicle), c.arguments) << c.vehicle;
        Arguments withPath{simulator};
        withPath.insert(withPath.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_EQ(
            simulatorCommand(install.path(), c.scenery, c.vehicle, wineAt("/w/wine")).arguments,
            withPath);
    }
}

TEST(SimulatorLaunch, ThePeHeaderTellsA32BitProgramFromA64BitOne) {
    TempFolder install;
    struct Case {
        std::string head;
        bool windows;
        int bits;
    };
    const std::vector<Case> cases{
        {peHead(0x014C), true, 32},
        {peHead(0x8664), true, 64},
        {peHead(0xAA64), true, 0},                 // an ARM program
        {"MZ" + std::string(100, '\0'), true, 0},  // no PE header where the DOS header points
        {peHead(0x8664).substr(0, 0x42), true, 0}, // cut short
        {"\x7F"
         "ELF" +
             std::string(100, '\0'),
         false, 0},
    };
    for (const Case& c : cases) {
        install.write("rsim.exe", c.head);
        const SimulatorCommand command =
            simulatorCommand(install.path(), "a.scn", "X", wineAt("/w/wine"));
        EXPECT_EQ(command.windowsProgram, c.windows) << c.head.size();
        EXPECT_EQ(command.windowsBits, c.bits) << c.head.size();
    }
}

TEST(SimulatorLaunch, OnlyWineGetsThePolishLocaleBuiltInTheCache) {
    TempFolder install, cache;
    install.write("rsim.exe", peHead(0x8664));
    const std::string locales = cache.path() + "/locale/2.36";
    using Environment = std::vector<std::pair<std::string, std::string>>;

    WineEnvironment wine = wineAt("/w/wine", cache.path());
    const SimulatorCommand first = simulatorCommand(install.path(), "a.scn", "X", wine);
    EXPECT_EQ(first.environment, (Environment{{"LC_ALL", "pl_PL.UTF-8"}, {"LOCPATH", locales}}));
    EXPECT_EQ(first.outputFile, cache.path() + "/wine.log");
    ASSERT_TRUE(first.localeBuild);
    LocaleBuild build = *first.localeBuild;
    EXPECT_EQ(build.program, "/l/localedef");
    EXPECT_EQ(build.folder, locales + "/pl_PL.UTF-8");

    // localedef writes into a locked folder of its own, which then takes the locale's place,
    // the place of a damaged one too. A folder whose build has gone is removed by the next.
    LocaleBuild second = build, abandoned = build;
    FileDescriptor buildLock, secondLock;
    {
        FileDescriptor abandonedLock;
        ASSERT_EQ(beginLocaleBuild(abandoned, abandonedLock), 0);
    }
    ASSERT_EQ(beginLocaleBuild(build, buildLock), 0);
    ASSERT_EQ(beginLocaleBuild(second, secondLock), 0);
    EXPECT_NE(build.output, second.output);
    EXPECT_EQ(build.arguments, (Arguments{"-i", "pl_PL", "-f", "UTF-8", build.output}));
    removeAbandonedLocaleBuilds(build);
    EXPECT_FALSE(std::filesystem::exists(abandoned.output));
    EXPECT_TRUE(std::filesystem::exists(build.output));
    EXPECT_TRUE(std::filesystem::exists(second.output));
    std::ofstream(build.output + "/LC_CTYPE") << "damaged";
    std::ofstream(second.output + "/LC_CTYPE") << "whole";
    ASSERT_EQ(finishLocaleBuild(build), 0);
    ASSERT_EQ(finishLocaleBuild(second), 0);
    std::ifstream in(locales + "/pl_PL.UTF-8/LC_CTYPE");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "whole");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(locales), {}), 1);

    wine.systemHasPolishLocale = true;
    const SimulatorCommand system = simulatorCommand(install.path(), "a.scn", "X", wine);
    EXPECT_EQ(system.environment, (Environment{{"LC_ALL", "pl_PL.UTF-8"}}));
    EXPECT_FALSE(system.localeBuild);

    // A native simulator gets the player's environment as it is.
    install.write("rsim.exe", "#!/bin/sh\n");
    const SimulatorCommand native = simulatorCommand(install.path(), "a.scn", "X", wine);
    EXPECT_TRUE(native.environment.empty());
    EXPECT_EQ(native.outputFile, "");
    EXPECT_FALSE(native.localeBuild);
}

// The head of an ELF program for an x86 machine of so many bits.
std::string elfHead(int bits) {
    std::string head = std::string("\x7F"
                                   "ELF") +
                       static_cast<char>(bits / 32) + '\1' + std::string(12, '\0');
    return head + static_cast<char>(bits == 32 ? 3 : 62) + std::string(45, '\0');
}

TEST(SimulatorLaunch, WhetherWineRunsA32BitProgramIsToldByItsLoadersAndThePrefix) {
    // Files under a root of their own: a wine script naming its loaders as Debian's does, or
    // wine itself a program; the libraries beside the loaders; the prefix's syswow64.
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, std::string>> files;
        Wine32Bit support;
    };
    const std::string debianScript =
        "#!/bin/sh -e\nwine32=ROOT/lib/wine/wine\nwine64=ROOT/lib/wine/wine64\n"
        "if test -x $wine32; then wine=$wine32; else wine=$wine64; fi\nexec $wine \"$@\"\n";
    const std::pair<std::string, std::string> ntdll64{
        "lib/x86_64-linux-gnu/wine/x86_64-unix/ntdll.so", ""};
    const std::pair<std::string, std::string> fullPrefix{
        "prefix/drive_c/windows/syswow64/ntdll.dll", "MZ"};
    const std::vector<Case> cases{
        {"Debian's wine with wine32",
         {{"bin/wine", debianScript},
          {"lib/wine/wine", elfHead(32)},
          {"lib/wine/wine64", elfHead(64)},
          ntdll64,
          fullPrefix},
         Wine32Bit::Runs},
        {"Debian's wine without wine32",
         {{"bin/wine", debianScript}, {"lib/wine/wine64", elfHead(64)}, ntdll64, fullPrefix},
         Wine32Bit::WineLacks},
        {"a prefix made before wine32 came",
         {{"bin/wine", debianScript},
          {"lib/wine/wine", elfHead(32)},
          {"lib/wine/wine64", elfHead(64)},
          ntdll64,
          {"prefix/drive_c/windows/syswow64/.keep", ""}},
         Wine32Bit::PrefixLacks},
        {"wine in the WoW64 mode, with 32-bit libraries and no 32-bit loader",
         {{"bin/wine", elfHead(64)},
          {"lib/wine/x86_64-unix/ntdll.so", ""},
          {"lib/wine/i386-windows/ntdll.dll", "MZ"}},
         Wine32Bit::Runs},
        {"a 64-bit wine of its own build",
         {{"bin/wine", elfHead(64)}, {"lib/wine/x86_64-unix/ntdll.so", ""}},
         Wine32Bit::WineLacks},
        {"a 32-bit wine", {{"bin/wine", elfHead(32)}}, Wine32Bit::Runs},
        {"a 64-bit wine whose libraries are elsewhere",
         {{"bin/wine", elfHead(64)}},
         Wine32Bit::Unsure},
        {"a script naming no loader",
         {{"bin/wine", "#!/bin/sh\nexec \"$(dirname \"$0\")/wine64\" \"$@\"\n"},
          {"bin/wine64", elfHead(64)}},
         Wine32Bit::Unsure},
    };
    for (const Case& c : cases) {
        TempFolder root;
        for (const auto& [path, bytes] : c.files) {
            std::string text = bytes;
            for (std::size_t at; (at = text.find("ROOT")) != std::string::npos;)
                text.replace(at, 4, root.path());
            root.write(path, text);
        }
        WineEnvironment wine = wineAt(root.path() + "/bin/wine");
        wine.prefix = root.path() + "/prefix";
        EXPECT_EQ(wine32BitSupport(wine), c.support) << c.name;
    }
}

TEST(SimulatorLaunch, TheCacheFolderFollowsXdgCacheHome) {
    EXPECT_EQ(launcherCacheFolder("/x/cache", "/home/p"), "/x/cache/rsim-launcher");
    EXPECT_EQ(launcherCacheFolder("x/cache", "/home/p"), "/home/p/.cache/rsim-launcher");
    EXPECT_EQ(launcherCacheFolder("", "/home/p"), "/home/p/.cache/rsim-launcher");
    EXPECT_EQ(launcherCacheFolder(nullptr, "/home/p"), "/home/p/.cache/rsim-launcher");
    EXPECT_EQ(launcherCacheFolder(nullptr, nullptr), "");
}

TEST(WineStartJudge, TheSimulatorStartsOnceItHasRunForAMomentAndWineEndingFirstHasFailed) {
    const double settle = WineStartJudge::SettleSeconds;
    const double limit = WineStartJudge::LimitSeconds;
    // At seconds: whether the simulator runs, whether wine's process has ended.
    struct Step {
        double seconds;
        bool runs, ended;
        WineVerdict verdict;
    };
    const std::vector<std::pair<std::string, std::vector<Step>>> cases{
        {"a fresh prefix first",
         {{0.0, false, false, WineVerdict::Watching},
          {9.5, true, false, WineVerdict::Watching},
          {9.5 + settle - 0.01, true, false, WineVerdict::Watching},
          {9.5 + settle, true, false, WineVerdict::Started}}},
        {"wine ending with 0 and no simulator",
         {{0.3, false, true, WineVerdict::Watching},
          {0.3 + settle, false, true, WineVerdict::Failed}}},
        {"a simulator that ends at once",
         {{0.1, true, false, WineVerdict::Watching},
          {0.5, false, true, WineVerdict::Watching},
          {0.5 + settle, false, true, WineVerdict::Failed}}},
        {"a simulator handed to another process",
         {{0.1, false, true, WineVerdict::Watching},
          {0.2, true, true, WineVerdict::Watching},
          {0.2 + settle, true, true, WineVerdict::Started}}},
        {"a simulator that comes and goes",
         {{0.1, true, false, WineVerdict::Watching},
          {0.2, false, false, WineVerdict::Watching},
          {0.3, true, false, WineVerdict::Watching},
          {0.1 + settle, true, false, WineVerdict::Watching},
          {0.3 + settle, true, false, WineVerdict::Started}}},
        {"wine waiting on a question",
         {{limit - 0.01, false, false, WineVerdict::Watching},
          {limit, false, false, WineVerdict::Started}}},
        {"wine that has ended, past the limit",
         {{limit - 0.1, false, true, WineVerdict::Watching},
          {limit, false, true, WineVerdict::Watching},
          {limit - 0.1 + settle, false, true, WineVerdict::Failed}}},
    };
    for (const auto& [name, steps] : cases) {
        WineStartJudge judge;
        for (const Step& step : steps)
            EXPECT_EQ(judge.observe(step.seconds, step.runs, step.ended), step.verdict)
                << name << " at " << step.seconds;
    }
    EXPECT_EQ(simulatorProcessName("/g/RSIM.EXE"), "RSIM.EXE");
    EXPECT_EQ(simulatorProcessName("/g/symulator_kolejowy.exe"), "symulator_kolej");
}

TEST(SimulatorLaunch, AFailureThroughWineQuotesWineAndSaysWhatToInstall) {
    TempFolder install;
    install.write("rsim.exe", peHead(0x014C));
    const SimulatorCommand thirtyTwo =
        simulatorCommand(install.path(), "a.scn", "X", wineAt("/w/wine", "/c/rsim-launcher"));
    install.write("rsim.exe", peHead(0x8664));
    const SimulatorCommand sixtyFour =
        simulatorCommand(install.path(), "a.scn", "X", wineAt("/w/wine", "/c/rsim-launcher"));
    const std::string simulator = install.path() + "/rsim.exe";
    const std::vector<std::string> lines{"Application could not be started.",
                                         "ShellExecuteEx failed: Internal error."};

    StartFailure handedOver{StartFailure::Cause::Wine, 0, 1 << 8, "start.exe", lines};
    EXPECT_EQ(startFailureMessage(Language::Polish, thirtyTwo, handedOver),
              "Nie udało się uruchomić symulatora: " + simulator +
                  " (to 32-bitowy program Windows, a to wine nie uruchamia programów "
                  "32-bitowych)\n\n"
                  "  Application could not be started.\n"
                  "  ShellExecuteEx failed: Internal error.\n\n"
                  "W Debianie wine dla programów 32-bitowych instaluje się jako root "
                  "poleceniami:\n"
                  "  dpkg --add-architecture i386\n  apt-get update\n  apt-get install "
                  "wine32:i386\n\n"
                  "Wszystkie komunikaty są w pliku /c/rsim-launcher/wine.log");
    EXPECT_EQ(startFailureMessage(Language::English, thirtyTwo, handedOver),
              "The simulator could not be started: " + simulator +
                  " (a 32-bit Windows program, which this wine cannot run)\n\n"
                  "  Application could not be started.\n"
                  "  ShellExecuteEx failed: Internal error.\n\n"
                  "On Debian, wine for 32-bit programs is installed as root with:\n"
                  "  dpkg --add-architecture i386\n  apt-get update\n  apt-get install "
                  "wine32:i386\n\n"
                  "All the messages are in the file /c/rsim-launcher/wine.log");

    // Seen before the start: the same reason and advice, and no wine to quote.
    SimulatorCommand refused = thirtyTwo;
    EXPECT_FALSE(startRefusal(refused));
    refused.wine32Bit = Wine32Bit::WineLacks;
    ASSERT_TRUE(startRefusal(refused));
    EXPECT_EQ(startFailureMessage(Language::English, refused, *startRefusal(refused)),
              "The simulator could not be started: " + simulator +
                  " (a 32-bit Windows program, which this wine cannot run)\n\n"
                  "On Debian, wine for 32-bit programs is installed as root with:\n"
                  "  dpkg --add-architecture i386\n  apt-get update\n  apt-get install "
                  "wine32:i386");

    // Only a 32-bit program that wine had to hand over is one that wine cannot run.
    struct Case {
        const SimulatorCommand& command;
        StartFailure failure;
        std::string english;
    };
    const std::vector<Case> cases{
        {sixtyFour,
         {StartFailure::Cause::Wine, 0, 1 << 8, "start.exe", {}},
         "(wine ended with exit code 1)\n\nAll the messages"},
        // Wine's own lines are UTF-8; a program's console output is in code page 852.
        {thirtyTwo,
         {StartFailure::Cause::Wine,
          0,
          53 << 8,
          "rsim.exe",
          {"err:module:import_dll Łódź.dll", "Nie uda\x88o si\xA9."}},
         "(wine ended with exit code 53)\n\n  err:module:import_dll Łódź.dll\n  Nie udało się."
         "\n\nAll the messages"},
        {sixtyFour,
         {StartFailure::Cause::Wine, 0, SIGKILL, "wine64", {}},
         "(wine was ended by signal 9)"},
        {sixtyFour,
         {StartFailure::Cause::Locale, 0, 4 << 8, "", {"[error] cannot open `pl_PL'"}},
         "(the Polish locale (pl_PL.UTF-8) for wine could not be built: localedef ended with "
         "exit code 4)\n\n  [error] cannot open `pl_PL'\n\nOn Debian this needs the package "
         "locales; as root:\n  apt-get install locales\n\nAll the messages"},
        {sixtyFour,
         {StartFailure::Cause::Locale, ENOENT, 0, "", {}},
         "could not be built: localedef: " + std::string(std::strerror(ENOENT)) + ")"},
        {sixtyFour,
         {StartFailure::Cause::CacheFolder, EACCES, 0, "", {}},
         "(the launcher's cache folder /c/rsim-launcher cannot be written: " +
             std::string(std::strerror(EACCES)) + ")"},
    };
    for (const Case& c : cases) {
        const std::string message = startFailureMessage(Language::English, c.command, c.failure);
        EXPECT_NE(message.find(c.english), std::string::npos) << message;
        EXPECT_EQ(message.find("apt-get install wine32"), std::string::npos) << message;
    }
}

TEST(SimulatorLaunch, LastLinesOfErrorOutput) {
    EXPECT_EQ(lastLines("a\nb\r\n\n  \nc d  \n\n", 2), (Arguments{"b", "c d"}));
    EXPECT_EQ(lastLines("a\nb", 4), (Arguments{"a", "b"}));
    EXPECT_EQ(lastLines("\n\n", 4), Arguments{});
}

} // namespace

TEST(WineWarmUp, IsPlannedOnlyWhereAStartWouldFindThePrefixUpToDate) {
    TempFolder root;
    // The prefix's stamp names the time of the wine.inf that last updated it.
    const std::string setup = root.write("share/wine/wine.inf", "");
    const timespec setupTime[2]{{1'700'000'000, 0}, {1'700'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, setup.c_str(), setupTime, 0), 0);
    const std::string current = "1700000000\n";
    WineEnvironment wine = wineAt(root.write("bin/wine", "#!/bin/sh\n"));
    wine.prefix = root.path() + "/prefix";
    const auto planFor = [&](const std::string& head, const std::optional<std::string>& stamp) {
        std::filesystem::remove_all(wine.prefix);
        if (stamp) {
            root.write("prefix/.update-timestamp", *stamp);
            root.write("prefix/drive_c/windows/syswow64/cmd.exe", "MZ");
        }
        TempFolder install;
        install.write("rsim.exe", head);
        return wineWarmUpPlan(simulatorCommand(install.path(), "", "", wine), wine);
    };

    const auto plan64 = planFor(peHead(0x8664), current);
    ASSERT_TRUE(plan64);
    EXPECT_EQ(plan64->wine, wine.wine);
    EXPECT_EQ(plan64->interpreter, "C:\\windows\\system32\\cmd.exe");
    // A 32-bit simulator's libraries are read by the 32-bit interpreter.
    const auto plan32 = planFor(peHead(0x014C), current);
    ASSERT_TRUE(plan32);
    EXPECT_EQ(plan32->interpreter, "C:\\windows\\syswow64\\cmd.exe");
    EXPECT_TRUE(planFor(peHead(0x8664), "disable\n")) << "the player turned updates off";

    // Wine would create or update the prefix first: that is left to the start.
    EXPECT_FALSE(planFor(peHead(0x8664), std::nullopt)) << "no prefix yet";
    EXPECT_FALSE(planFor(peHead(0x8664), "1600000000\n")) << "another wine made it";
    EXPECT_FALSE(planFor("#!/bin/sh\n", current)) << "a native simulator";
}

TEST(WineWarmUp, KeepsWineRunningUntilItsStayIsOverAfterTheLauncherHasGone) {
    TempFolder root;
    // Named as the interpreter, so that the warm-up sees it run; it writes down what it was
    // given, whole or not at all, and ends with its input.
    const std::string arguments = root.path() + "/arguments";
    const std::string ended = root.path() + "/ended";
    const std::string wine =
        root.write("bin/cmd.exe", "#!/bin/sh\nprintf '%s\\n' \"$WINEPREFIX\" \"$@\" >" + arguments +
                                      ".part\nmv " + arguments + ".part " + arguments +
                                      "\ncat >/dev/null\n: >" + ended + "\n");
    std::filesystem::permissions(wine, std::filesystem::perms::owner_all);
    WineWarmUpPlan plan;
    plan.wine = wine;
    plan.interpreter = "C:\\windows\\system32\\cmd.exe";
    plan.environment = {{"WINEPREFIX", root.path() + "/prefix"}};
    plan.outputFile = root.path() + "/cache/wine-warm-up.log";
    plan.stays = std::chrono::seconds(1);
    using Clock = std::chrono::steady_clock;
    const auto waitFor = [](const std::function<bool()>& happened) {
        for (const auto limit = Clock::now() + std::chrono::seconds(30);
             !happened() && Clock::now() < limit;)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return happened();
    };
    Clock::time_point launcherGone;
    {
        WineWarmUp warmUp(plan);
        ASSERT_EQ(warmUp.begin(), WineWarmUp::State::Working);
        ASSERT_TRUE(waitFor([&] { return warmUp.poll() == WineWarmUp::State::Ready; }));
        ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(arguments); }));
        std::ifstream file(arguments);
        const std::string written(std::istreambuf_iterator<char>(file), {});
        EXPECT_EQ(written,
                  root.path() + "/prefix\nC:\\windows\\system32\\cmd.exe\n/q\n/k\nrundll32.exe\n");
        launcherGone = Clock::now();
    }
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(ended); }));
    EXPECT_GE(Clock::now() - launcherGone, plan.stays);
}
