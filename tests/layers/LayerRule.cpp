#include "LayerRule.h"

#include <sstream>

namespace layers {

namespace {

struct TFolderLayer {
    const char* Prefix;   // folder inside src/, with its trailing slash
    int Layer;
};

// Longest prefixes first: the first match decides.
const TFolderLayer KFolders[] = {
    {"data/engine/dbf/", 3},
    {"data/engine/paradox/", 3},
    {"data/engine/ascii/", 3},
    {"data/engine/drivers/", 3},
    {"data/engine/", 1},
    {"data/", 2},
    {"platform/", 0},
    {"ui/", 4},
    {"grid/", 5},
    {"editors/", 5},
    {"exchange/", 6},
    {"app/", 7},
    {"tools/", 7},
};

const char* const KLayerNames[] = {"platform", "data/engine", "data", "engine drivers", "ui",
                                   "grid and editors", "exchange", "app"};

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The header named by an #include line, and whether it was in quotes.
bool ParseInclude(const std::string& line, std::string& header, bool& quoted)
{
    size_t pos = line.find_first_not_of(" \t");
    if (pos == std::string::npos || line[pos] != '#')
        return false;
    pos = line.find_first_not_of(" \t", pos + 1);
    if (pos == std::string::npos || line.compare(pos, 7, "include") != 0)
        return false;
    pos = line.find_first_of("\"<", pos + 7);
    if (pos == std::string::npos)
        return false;
    quoted = line[pos] == '"';
    const size_t end = line.find(quoted ? '"' : '>', pos + 1);
    if (end == std::string::npos)
        return false;
    header = line.substr(pos + 1, end - pos - 1);
    return true;
}

bool IsQtHeader(const std::string& header)
{
    return header.size() > 1 && header[0] == 'Q' && header[1] >= 'A' && header[1] <= 'Z';
}

}   // namespace

std::optional<int> LayerOf(const std::string& srcRelativePath)
{
    for (const TFolderLayer& folder : KFolders)
        if (StartsWith(srcRelativePath, folder.Prefix))
            return folder.Layer;
    return std::nullopt;
}

std::string LayerName(int layer)
{
    return KLayerNames[layer];
}

bool LayerMayUseQt(int layer)
{
    return layer >= 4;
}

std::vector<TViolation> CheckFile(const std::string& srcRelativePath, const std::string& text)
{
    std::vector<TViolation> violations;
    const std::optional<int> own = LayerOf(srcRelativePath);
    if (!own)
        return violations;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::string header;
        bool quoted = false;
        if (!ParseInclude(line, header, quoted))
            continue;
        if (!quoted) {
            if (IsQtHeader(header) && !LayerMayUseQt(*own))
                violations.push_back({srcRelativePath, number, header,
                                      "Qt header in " + LayerName(*own) + ", which uses no Qt"});
            continue;
        }
        const std::optional<int> target = LayerOf(header);
        if (target && *target > *own)
            violations.push_back({srcRelativePath, number, header,
                                  LayerName(*own) + " includes a header of " + LayerName(*target) +
                                      ", a higher layer"});
    }
    return violations;
}

}   // namespace layers
