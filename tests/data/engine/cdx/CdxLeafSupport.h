#pragma once
// Leaves built key by key for the page tests, and keys of a few letters
// and blanks, so that neighbours share prefixes and trailing fills.

#include "data/engine/dbf/CdxPage.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

inline cdx::TNode LeafOf(uint16_t keyLength, const std::vector<cdx::TEntry>& entries)
{
    cdx::TNode node(keyLength);
    node.Attributes = cdx::AttrLeaf | cdx::AttrRoot;
    for (const cdx::TEntry& entry : entries)
        node.Append(entry.Key, entry.RecNo);
    return node;
}

inline std::string RandomLeafKey(std::mt19937& random, uint16_t keyLength, char fill)
{
    std::string key(keyLength, fill);
    const size_t filled = random() % (keyLength + 1);
    for (size_t i = 0; i < filled; ++i)
        key[i] = "ab "[random() % 3];
    return key;
}

// `count` such keys in order.
inline std::vector<std::string> RandomSortedLeafKeys(std::mt19937& random, size_t count, uint16_t keyLength, char fill)
{
    std::vector<std::string> keys;
    for (size_t k = 0; k < count; ++k)
        keys.push_back(RandomLeafKey(random, keyLength, fill));
    std::sort(keys.begin(), keys.end());
    return keys;
}
