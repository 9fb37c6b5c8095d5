#pragma once
// A fresh folder under /tmp for one test, removed with everything in it at
// the end (write permission is given back first, so tests may take it away).

#include <string>

class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }
    // Copies a table file and the files beside it with the same stem (memo,
    // index, blob files) here; returns the copy's path.
    std::string CopyTable(const std::string& sourcePath) const;

private:
    std::string FPath;
};
