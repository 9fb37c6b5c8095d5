#pragma once
// Helpers shared by the dBASE driver tests: scratch folders, the driver,
// and reading whole tables through a cursor.

#include "data/engine/Engine.h"
#include "data/engine/EngineCursor.h"

#include <memory>
#include <string>
#include <vector>

// A fresh folder under /tmp, removed with everything in it at the end.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

TEngineDriver& DbfDriver();
std::unique_ptr<TEngineCursor> OpenDbf(const std::string& path, bool readOnly = false);
std::vector<TEngineRecord> ReadAll(TEngineCursor& cursor);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void CopyFile(const std::string& from, const std::string& to);

std::string SharedDir();
TDateTime MakeDate(int year, int month, int day);
