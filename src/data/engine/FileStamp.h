#pragma once
// What the file system says of a file's last change: its size, its
// modification and status-change times to the nanosecond, and which file
// stands under the name.  A program that rewrites bytes in place without
// touching any header (an edit made the same day, in a format whose header
// keeps only the date) still changes these.

#include <cstdint>
#include <string>

// A hash of the file's state; 0 when the file cannot be examined.
uint64_t FileStateStamp(const std::string& path);
