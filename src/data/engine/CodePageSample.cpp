#include "data/engine/CodePageSample.h"

#include <algorithm>

void TCodePageSample::Add(std::string_view bytes)
{
    while (!bytes.empty() && (bytes.back() == ' ' || bytes.back() == '\0'))
        bytes.remove_suffix(1);
    if (bytes.empty() || Full())
        return;
    bytes = bytes.substr(0, std::min({bytes.size(), ValueLimit, Budget - FSize}));
    FTexts.emplace_back(bytes);
    FSize += bytes.size();
}
