#pragma once
// TDBGridGxImport: reads rows of values from a stream into a grid's
// dataset.  The driver, ImportOutOfStream, chooses the target records and
// columns from the grid's selection:
//
//   no selection     from the current cell on: rows overwrite the current
//                    record and those after it; rows left over become new
//                    records at the end when alopAppendGx is allowed
//   records          the selected records, in bookmark order
//   rectangle        the records and visible columns of the rectangle
//   columns, all     every record, the selected (or visible) columns
//
// While the dataset is inserting a record, every row becomes a new record
// instead.  A subclass parses its format in ReadPrefix and ReadRow and
// stores each value through StoreCell.
//
// Each target record is finished on its own: its edit is posted (or, when
// the engine refuses it, the error prompt offers to skip it); a failure in
// the middle of a row drops that row's unposted changes, so the dataset is
// never left holding a half-written record.  Records finished before a
// failure keep their values.  Rows appended at the end are gathered and
// written a batch at a time in one call of the engine; a batch the engine
// refuses goes again record by record, so the prompt can skip the record
// at fault.

#include "data/engine/EngineCursor.h"
#include "grid/columns/ColumnsGxList.h"
#include "platform/Exceptions.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TColumnGx;
class TCustomDBGridGx;
class TDataSet;
class TField;
class TStream;

// Raised when OnRecordDone asks to stop; the records finished so far stay.
class EImportStopped : public EAbort {
public:
    EImportStopped() : EAbort("Import stopped") {}
};

class TDBGridGxImport {
public:
    TDBGridGxImport() = default;
    virtual ~TDBGridGxImport() = default;
    TDBGridGxImport(const TDBGridGxImport&) = delete;
    TDBGridGxImport& operator=(const TDBGridGxImport&) = delete;

    // The target grid; not owned.
    TCustomDBGridGx* Grid = nullptr;
    // The input of the import in progress; not owned.
    TStream* Stream = nullptr;
    // The target columns in input order, while the driver runs.
    const TColumnsGxList* ImportColumns = nullptr;
    // Set by the parser when the input is used up.
    bool EndOfInput = false;
    // A failing value (or record) of this import is skipped without asking.
    bool IgnoreAllErrors = false;

    // Called after each finished target record with the counts so far (of
    // target records, and of those whose values changed or that were
    // added); returning false stops the import there (EImportStopped).
    std::function<bool(int recordsDone, int recordsChanged)> OnRecordDone;
    // Target records whose values this import changed or that it added.
    int RecordsChanged() const { return FRecordsChanged; }

    virtual void ImportOutOfStream(TStream& stream, bool importAll);
    // Opens the file for reading, imports it and closes it, also on failure.
    virtual void ImportOutOfFile(const std::string& fileName, bool importAll);

protected:
    virtual void ReadPrefix() {}
    virtual void FinishInput() {}
    virtual void ReadRow(const TColumnsGxList& columns);
    virtual void StoreCell(TColumnGx* column) {}

    TDataSet* DataSet() const;
    // Runs one assignment.  A failure of the platform's exception class
    // goes to the error prompt: Yes skips the value, All skips it and every
    // later failure, No aborts the import (EAbort).  True when stored.
    bool StoreGuarded(const std::function<void()>& assign);

private:
    void ImportRecords(TDataSet& dataSet);
    void ImportFromCurrentCell(TDataSet& dataSet);
    void ImportBookmarkedRecords(TDataSet& dataSet);
    void ImportRectangle(TDataSet& dataSet);
    void ImportEveryRecord(TDataSet& dataSet);
    // Each input row becomes a new record (appended or inserted).
    void InsertRows(TDataSet& dataSet);
    // Each input row becomes a new record at the end, written in batches.
    void AppendRows(TDataSet& dataSet);
    // Writes the gathered records and empties the batch; when the engine
    // refuses the batch, record by record with the error prompt.
    void WriteBatch(TDataSet& dataSet, std::vector<TEngineRecord>& batch);
    // One input row into the current record, which is then posted.
    void ImportRecord(TDataSet& dataSet);
    // Posts the current record's edit; false when the engine refused it
    // and the error prompt dropped the record.
    bool PostRecord(TDataSet& dataSet);
    // Finishes the current record's edit with `finish` (posting it, or
    // taking the appended record into a batch); false when it failed and the
    // error prompt dropped the record.
    bool FinishRecord(TDataSet& dataSet, const std::function<void()>& finish);
    // Reads one row, dropping its unposted changes when it fails.
    void ReadRowOrDrop(TDataSet& dataSet);
    void RecordDone();
    // Asks whether to skip the failure; raises EAbort on No.
    void PromptError(const Exception& error);
    // ImportColumns: the visible columns of the collection from first to last.
    void UseVisibleColumns(int first, int last);

    bool FAppendMode = false;
    bool FInsertMode = false;
    bool FRowChanged = false;
    int FRecordsDone = 0;
    int FRecordsChanged = 0;
    TColumnsGxList FOwnedColumns;
};

// Makes one importer of a format.
using TDBGridGxImportClass = std::unique_ptr<TDBGridGxImport> (*)();

template <class TImporter>
std::unique_ptr<TDBGridGxImport> ImportClass()
{
    return std::make_unique<TImporter>();
}

// Creates an importer of the class, runs it over the grid from the stream
// and frees it, also when the import fails.  `prepare`, when given, sets
// the importer up first (its progress hook, say).  Returns the count of
// records changed.
int ImportGridFromStream(TDBGridGxImportClass importClass, TCustomDBGridGx& grid, TStream& stream, bool importAll,
                         const std::function<void(TDBGridGxImport&)>& prepare = {});
