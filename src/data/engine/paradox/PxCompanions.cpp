#include "data/engine/paradox/PxCompanions.h"

#include <cctype>
#include <dirent.h>
#include <strings.h>

namespace px {

namespace {

void Split(const std::string& path, std::string& dir, std::string& base, std::string& ext)
{
    size_t slash = path.rfind('/');
    dir = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    base = dot == std::string::npos ? name : name.substr(0, dot);
    ext = dot == std::string::npos ? "" : name.substr(dot + 1);
}

bool IsSecondaryIndexExtension(const std::string& ext)
{
    if (ext.size() != 3)
        return false;
    char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(ext[0])));
    if (kind != 'X' && kind != 'Y')
        return false;
    char second = static_cast<char>(std::toupper(static_cast<unsigned char>(ext[1])));
    return std::isxdigit(static_cast<unsigned char>(ext[2])) && (std::isdigit(static_cast<unsigned char>(second)) || second == 'G');
}

} // namespace

TPxCompanions TPxCompanions::Find(const std::string& tablePath)
{
    TPxCompanions c;
    std::string dir, base, ext;
    Split(tablePath, dir, base, ext);
    DIR* d = opendir(dir.c_str());
    if (!d)
        return c;
    while (dirent* entry = readdir(d)) {
        std::string name = entry->d_name;
        std::string path = dir + "/" + name;
        if (strcasecmp(name.c_str(), "PDOXUSRS.LCK") == 0 || strcasecmp(name.c_str(), "PARADOX.LCK") == 0) {
            c.LockFiles.push_back(path);
            continue;
        }
        size_t dot = name.rfind('.');
        if (dot == std::string::npos || dot != base.size() || strncasecmp(name.c_str(), base.c_str(), dot) != 0)
            continue;
        std::string e = name.substr(dot + 1);
        if (strcasecmp(e.c_str(), "MB") == 0) c.Blob = path;
        else if (strcasecmp(e.c_str(), "PX") == 0) c.PrimaryIndex = path;
        else if (strcasecmp(e.c_str(), "VAL") == 0) c.Validity = path;
        else if (strcasecmp(e.c_str(), "LCK") == 0) c.LockFiles.push_back(path);
        else if (IsSecondaryIndexExtension(e)) c.SecondaryIndexes.push_back(path);
    }
    closedir(d);
    return c;
}

std::string TPxCompanions::NewPath(const std::string& tablePath, const std::string& extension)
{
    std::string dir, base, ext;
    Split(tablePath, dir, base, ext);
    bool lower = !ext.empty() && std::islower(static_cast<unsigned char>(ext[0]));
    std::string e = extension;
    if (lower)
        for (char& ch : e) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    size_t slash = tablePath.rfind('/');
    return (slash == std::string::npos ? "" : tablePath.substr(0, slash + 1)) + base + "." + e;
}

} // namespace px
