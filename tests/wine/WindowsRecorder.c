/* Takes the place of the simulator in the tests that start it through wine. A Windows program
 * of its own, it writes to rsim-record.txt beside itself what a simulator made on Windows is
 * given: its ANSI code page, the time its main began (microseconds of Unix time), its working
 * folder and each of its arguments, the last two as the bytes of the code page, in hex.
 *
 * With a file "linger" beside it, it then waits for a file "launcher-ended" to appear beside
 * it, writes a thousand lines of error output, and notes in rsim-survived.txt that it lived
 * through all of that.
 *
 * Then it goes on running, as a simulator does, until a file "quit" appears beside it, which
 * it removes as it ends; left behind by a test cut short, it ends after five minutes. */

#define _WIN32_WINNT 0x0602
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

static wchar_t folder[MAX_PATH];

typedef struct {
    wchar_t path[MAX_PATH + 64];
} Path;

/* A file beside the program. */
static Path beside(const wchar_t* name) {
    Path path;
    swprintf(path.path, sizeof path.path / sizeof path.path[0], L"%ls%ls", folder, name);
    return path;
}

static void writeHex(FILE* out, const char* label, const char* bytes) {
    fputs(label, out);
    for (const unsigned char* b = (const unsigned char*)bytes; *b; ++b) fprintf(out, " %02x", *b);
    fputc('\n', out);
}

static int exists(const wchar_t* name) {
    return GetFileAttributesW(beside(name).path) != INVALID_FILE_ATTRIBUTES;
}

int main(int argc, char** argv) {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks =
        (unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime;

    DWORD length = GetModuleFileNameW(NULL, folder, MAX_PATH);
    while (length > 0 && folder[length - 1] != L'\\') --length;
    folder[length] = 0;

    char workingFolder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, workingFolder);
    FILE* out = _wfopen(beside(L"rsim-record.part").path, L"wb");
    if (!out) return 2;
    fprintf(out, "acp %u\n", GetACP());
    fprintf(out, "main %llu\n", ticks / 10 - 11644473600000000ULL);
    writeHex(out, "folder", workingFolder);
    for (int i = 0; i < argc; ++i) writeHex(out, "arg", argv[i]);
    fclose(out);
    /* The record appears whole. */
    const Path part = beside(L"rsim-record.part"), whole = beside(L"rsim-record.txt");
    MoveFileExW(part.path, whole.path, MOVEFILE_REPLACE_EXISTING);

    if (exists(L"linger")) {
        for (int i = 0; i < 600 && !exists(L"launcher-ended"); ++i) Sleep(50);
        const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
        for (int i = 0; i < 1000; ++i) {
            char line[64];
            const int size =
                snprintf(line, sizeof line, "recorder: line %d after the launcher\n", i);
            DWORD written;
            WriteFile(errors, line, (DWORD)size, &written, NULL);
        }
        FILE* survived = _wfopen(beside(L"rsim-survived.txt").path, L"wb");
        if (!survived) return 2;
        fputs("survived\n", survived);
        fclose(survived);
    }
    for (int i = 0; i < 6000 && !exists(L"quit"); ++i) Sleep(50);
    DeleteFileW(beside(L"quit").path);
    return 0;
}
