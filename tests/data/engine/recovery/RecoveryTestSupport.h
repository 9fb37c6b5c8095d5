#pragma once
// Helpers of the recovery tests: one small table (Id, Name, Notes) in each
// format, the edits the tests make to it, reading it back as rows, and
// running a piece of a test in a child process.

#include "data/engine/Engine.h"
#include "support/ChildProcess.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

enum class TTableFormat { DBase, Paradox, Ascii };

std::string FormatName(TTableFormat format);

struct TRow {
    std::string Name;
    std::string Notes;
    bool operator==(const TRow& other) const { return Name == other.Name && Notes == other.Notes; }
};
using TRows = std::map<double, TRow>;   // by Id

// Creates the table `stem` in `dir` (dBASE IV with a memo, Paradox keyed on
// Id with a memo field kept in the .MB, or ASCII) holding `rows`; returns
// its path.  `keyIsFloat` makes the Paradox key a Number (so 1001.5 fits);
// `nameWidth` sets the width of Name, and so how many records a block holds;
// `keyed` false leaves a Paradox table without a key.
std::string CreateTable(TTableFormat format, const std::string& dir, const std::string& stem, const TRows& rows,
                        bool keyIsFloat = false, int nameWidth = 40, bool keyed = true);
std::unique_ptr<TEngineCursor> OpenTable(TTableFormat format, const std::string& path, bool readOnly = false);
TRows ReadRows(TEngineCursor& cursor);
// Puts the cursor on the record with this Id; false when there is none.
bool GotoId(TEngineCursor& cursor, double id);

struct TEdit {
    enum TKind { Insert, Modify, Delete } Kind;
    double Id;
    TRow Row;
};
void Apply(TRows& rows, const TEdit& edit);
void Perform(TEngineCursor& cursor, const TEdit& edit);
// The rows after the first `count` edits.
TRows RowsAfter(const TRows& start, const std::vector<TEdit>& edits, size_t count);

// Copies every file of `from` into `to` (created when missing).
void CopyFolder(const std::string& from, const std::string& to);
