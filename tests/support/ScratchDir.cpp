#include "support/ScratchDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

TScratchDir::TScratchDir()
{
    std::string pattern = (fs::temp_directory_path() / "tm-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder");
    FPath = pattern;
}

TScratchDir::~TScratchDir()
{
    std::error_code ignored;
    fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::directory_iterator(FPath, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(FPath, ignored);
}

std::string TScratchDir::CopyTable(const std::string& sourcePath) const
{
    fs::path source(sourcePath);
    std::string stem = source.stem().string();
    for (const auto& entry : fs::directory_iterator(source.parent_path()))
        if (entry.path().stem().string() == stem)
            fs::copy_file(entry.path(), fs::path(FPath) / entry.path().filename(), fs::copy_options::overwrite_existing);
    return File(source.filename().string());
}
