#pragma once
// Helpers shared by the dBASE driver tests: scratch folders, the driver,
// and reading whole tables through a cursor.

#include "data/engine/Engine.h"
#include "data/engine/EngineCursor.h"

#include <memory>
#include <string>
#include <vector>

#include "support/FileBytes.h"
#include "support/ScratchDir.h"


TEngineDriver& DbfDriver();
std::unique_ptr<TEngineCursor> OpenDbf(const std::string& path, bool readOnly = false);
// Creates an empty table of the dialect `level` with a text field NAME of
// `nameSize` characters and a memo field NOTES.
void CreateNameAndMemoTable(const std::string& path, const std::string& level, int nameSize);
std::vector<TEngineRecord> ReadAll(TEngineCursor& cursor);

void CopyFile(const std::string& from, const std::string& to);

std::string SharedDir();
TDateTime MakeDate(int year, int month, int day);
