#include "FuzzMutator.h"

#include <algorithm>
#include <cstdint>

namespace {

size_t Below(std::mt19937_64& random, size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); }

// Most structures (headers, counts, pointers) sit near the start of a file
// or of a block; aim there half of the time.
size_t Position(std::mt19937_64& random, size_t size)
{
    if (random() % 2 == 0)
        return Below(random, std::min<size_t>(size, 512));
    return Below(random, size);
}

void PutValue(std::string& bytes, size_t at, uint64_t value, int width)
{
    for (int i = 0; i < width && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

uint64_t InterestingValue(std::mt19937_64& random, size_t fileSize)
{
    const uint64_t values[] = {0, 1, 2, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x10000,
                               0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, fileSize, fileSize + 1, fileSize / 2};
    return values[Below(random, std::size(values))];
}

void MutateBytes(std::string& bytes, std::mt19937_64& random)
{
    if (bytes.empty())
        return;
    const size_t at = Position(random, bytes.size());
    switch (random() % 8) {
    case 0: bytes[at] = static_cast<char>(bytes[at] ^ (1 << Below(random, 8))); break;
    case 1: bytes[at] = static_cast<char>(random()); break;
    case 2: {
        const size_t length = 1 + Below(random, 64);
        const char fill = random() % 2 ? '\xFF' : '\0';
        for (size_t i = at; i < std::min(bytes.size(), at + length); ++i)
            bytes[i] = fill;
        break;
    }
    case 3: bytes.resize(Below(random, bytes.size() + 1)); break;
    case 4: PutValue(bytes, at, InterestingValue(random, bytes.size()), 2); break;
    case 5: PutValue(bytes, at, InterestingValue(random, bytes.size()), 4); break;
    case 6: {   // a piece of the file copied over another place
        const size_t from = Below(random, bytes.size());
        const size_t length = std::min({1 + Below(random, 32), bytes.size() - from, bytes.size() - at});
        bytes.replace(at, length, bytes.substr(from, length));
        break;
    }
    default: bytes.insert(at, std::string(1 + Below(random, 16), static_cast<char>(random()))); break;
    }
}

} // namespace

void MutateFuzzParts(std::vector<TFuzzPart>& parts, std::mt19937_64& random)
{
    if (parts.empty())
        return;
    const int mutations = 1 + static_cast<int>(Below(random, 6));
    for (int m = 0; m < mutations; ++m) {
        // The table file takes most of the damage; companions the rest.
        size_t part = random() % 3 != 0 || parts.size() == 1 ? 0 : 1 + Below(random, parts.size() - 1);
        if (part > 0 && random() % 16 == 0) {
            parts.erase(parts.begin() + static_cast<long>(part));   // a missing companion
            continue;
        }
        MutateBytes(parts[part].Bytes, random);
    }
}
