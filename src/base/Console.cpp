#include "base/Console.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define VELORUN_ISATTY _isatty
#define VELORUN_STDIN_FD 0
#else
#include <unistd.h>
#define VELORUN_ISATTY isatty
#define VELORUN_STDIN_FD STDIN_FILENO
#endif

namespace velorun {

void setFatalExitHook(FatalExitHook hook) { fatalExitHook = hook; }

void pauseConsole()
{
    std::cout.flush();
    std::cerr.flush();
    if (!VELORUN_ISATTY(VELORUN_STDIN_FD))
        return;
    std::cout << "Press Enter to continue . . ." << std::endl;
    int c;
    do {
        c = std::getchar();
    } while (c != '\n' && c != EOF);
}

void fatalExit(int status)
{
    if (fatalExitHook) {
        FatalExitHook hook = fatalExitHook;
        fatalExitHook = nullptr; // a failure inside the release must not loop
        hook();
    }
    pauseConsole();
    std::exit(status);
}

} // namespace velorun
