#include "support/CommandRun.h"

#include <climits>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

std::string TablecatPath()
{
    char self[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return std::string();
    std::string path(self, static_cast<size_t>(n));
    path = path.substr(0, path.find_last_of('/'));
    path = path.substr(0, path.find_last_of('/')) + "/src/tablecat";
    return access(path.c_str(), X_OK) == 0 ? path : std::string();
}

TRun RunCommand(const std::string& command)
{
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        run.Output.append(buffer, n);
    int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
