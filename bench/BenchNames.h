#pragma once
// Names of the lookup benchmarks' tables: six pseudo-random letters, the
// first upper case, so a k-letter prefix first occurs about 26^k records
// into the table.

#include <cstdint>
#include <string>

inline std::string BenchNameOf(int index)
{
    uint32_t state = static_cast<uint32_t>(index) * 2654435761u + 12345u;
    std::string name;
    for (int i = 0; i < 6; ++i) {
        state = state * 1103515245u + 12345u;
        name += static_cast<char>((i == 0 ? 'A' : 'a') + (state >> 16) % 26);
    }
    return name;
}
