#pragma once
// Tables in a given code page without a code-page mark, written through
// the engine's own drivers, and reading their texts back.

#include "data/engine/Engine.h"
#include "data/engine/EngineCursor.h"
#include "support/CodePageTexts.h"
#include "support/FileBytes.h"

#include <memory>
#include <string>
#include <vector>

enum class TTableFormat { Dbf, Paradox };

TEngineDriver& DriverFor(TTableFormat format);
TEngineDriver& DriverForPath(const std::string& path);

// Writes the records (the ones the code page can hold) into a new table
// with the fields NAME, ADDRESS and JOB, then clears the header's code-page
// mark.  Returns the records written.
std::vector<TTextRecord> WriteUnmarkedTable(const std::string& path, TTableFormat format, int codePage,
                                            const std::vector<TTextRecord>& records);

std::unique_ptr<TEngineCursor> OpenTable(const std::string& path, int codePage = 0, bool readOnly = false);
// The texts of every record, in order.
std::vector<TTextRecord> ReadTexts(TEngineCursor& cursor);
// Every value of every record as text (for comparing two readings).
std::vector<std::string> ReadAllAsText(TEngineCursor& cursor);


// Offset of the code-page mark in the header (dBASE: the language driver byte).
constexpr size_t DbfMarkOffset = 29;
constexpr size_t ParadoxMarkOffset = 0x6A;
