#pragma once
// Setting a file's times back, so that the next write surely moves them
// (file systems keep them to a clock tick, and a test writes within one).

#include <fcntl.h>
#include <string>
#include <sys/stat.h>

// Moves the file's access and modification times a day back; false on failure.
inline bool AgeFile(const std::string& path)
{
    struct stat state {};
    if (::stat(path.c_str(), &state) != 0)
        return false;
    timespec times[2] = {state.st_atim, state.st_mtim};
    times[0].tv_sec -= 86400;
    times[1].tv_sec -= 86400;
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}
