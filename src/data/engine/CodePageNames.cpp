#include "data/engine/CodePageNames.h"

namespace {

struct TNamedCodePage {
    int Number;
    const char* Name;
};

constexpr TNamedCodePage Names[] = {
    {936, "GBK"},           {950, "Big5"},          {65001, "UTF-8"},       {1252, "Windows-1252"},
    {1250, "Windows-1250"}, {1251, "Windows-1251"}, {1253, "Windows-1253"}, {1254, "Windows-1254"},
    {1257, "Windows-1257"}, {1255, "Windows-1255"}, {1256, "Windows-1256"}, {874, "Windows-874"},
    {932, "Shift-JIS"},     {949, "UHC"},           {437, "DOS 437"},       {850, "DOS 850"},
    {852, "DOS 852"},       {866, "DOS 866"},       {737, "DOS 737"},       {857, "DOS 857"},
    {862, "DOS 862"},       {865, "DOS 865"},       {10000, "Mac Roman"},
};

} // namespace

std::string CodePageName(int codePage)
{
    for (const TNamedCodePage& n : Names)
        if (n.Number == codePage)
            return n.Name;
    return "Code page " + std::to_string(codePage);
}

std::string CodePageLabel(int codePage)
{
    return CodePageName(codePage) + " (" + std::to_string(codePage) + ")";
}

const std::vector<int>& SelectableCodePages()
{
    static const std::vector<int> pages = [] {
        std::vector<int> list;
        for (const TNamedCodePage& n : Names)
            list.push_back(n.Number);
        return list;
    }();
    return pages;
}
