#pragma once
// Leaves built key by key for the page tests, and keys of a few letters
// and blanks, so that neighbours share prefixes and trailing fills.

#include "data/engine/dbf/CdxPage.h"

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
