#include "support/ChildProcess.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

TChildResult RunInChild(const std::function<int()>& body)
{
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        int code = 100;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    TChildResult result;
    result.Exited = WIFEXITED(status);
    result.Code = result.Exited ? WEXITSTATUS(status) : 0;
    result.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return result;
}
