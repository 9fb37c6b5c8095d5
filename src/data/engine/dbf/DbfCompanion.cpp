#include "data/engine/dbf/DbfCompanion.h"

#include <cctype>
#include <dirent.h>
#include <strings.h>

namespace {

void SplitPath(const std::string& path, std::string& folder, std::string& base, std::string& extension)
{
    size_t slash = path.find_last_of('/');
    folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    base = dot == std::string::npos ? name : name.substr(0, dot);
    extension = dot == std::string::npos ? "" : name.substr(dot);
}

} // namespace

std::string FindCompanionFile(const std::string& tablePath, const std::string& extension)
{
    std::string folder, base, tableExtension;
    SplitPath(tablePath, folder, base, tableExtension);
    std::string wanted = base + extension;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return std::string();
    std::string found;
    while (dirent* entry = ::readdir(dir)) {
        if (strcasecmp(entry->d_name, wanted.c_str()) == 0) {
            found = entry->d_name;
            if (found == wanted)
                break;   // an exact match wins over other spellings
        }
    }
    ::closedir(dir);
    if (found.empty())
        return std::string();
    return (folder == "/" ? std::string() : folder) + "/" + found;
}

std::string NewCompanionPath(const std::string& tablePath, const std::string& extension)
{
    std::string folder, base, tableExtension;
    SplitPath(tablePath, folder, base, tableExtension);
    bool upper = false;
    for (char c : tableExtension)
        if (std::isupper(static_cast<unsigned char>(c)))
            upper = true;
    std::string ext = extension;
    for (char& c : ext)
        c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c)) : std::tolower(static_cast<unsigned char>(c)));
    size_t slash = tablePath.find_last_of('/');
    std::string prefix = slash == std::string::npos ? std::string() : tablePath.substr(0, slash + 1);
    return prefix + base + ext;
}
