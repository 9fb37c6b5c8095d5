#pragma once
// The text a code-page guess looks at: the bytes of a table's character
// and memo values, gathered from its first records up to a fixed budget.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TCodePageSample {
public:
    static constexpr size_t Budget = 64 * 1024;     // bytes kept in all
    static constexpr size_t ValueLimit = 2 * 1024;  // bytes kept of one value

    // Keeps one value's bytes without its trailing blanks and NULs; empty
    // values and values past the budget are dropped.
    void Add(std::string_view bytes);
    bool Full() const { return FSize >= Budget; }
    const std::vector<std::string>& Texts() const { return FTexts; }
    size_t Size() const { return FSize; }

private:
    std::vector<std::string> FTexts;
    size_t FSize = 0;
};
