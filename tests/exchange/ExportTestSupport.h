#pragma once
// Shared pieces of the export tests: a grid over an in-memory table, the
// bytes an exporter writes, a stream that refuses writes after a number of
// bytes, and the columns of a grid by field name.

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "exchange/DBGridGxExport.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "platform/Exceptions.h"
#include "platform/Streams.h"

#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// A grid with multi-select over an in-memory table whose fields and
// records the test gives.
struct TExportGrid {
    std::unique_ptr<TMemTable> Table = std::make_unique<TMemTable>();
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridGx> Grid;

    void AddField(const std::string& name, TFieldType type, int size = 0) { Table->FieldDefs().Add(name, type, size); }
    void AddRecord(std::initializer_list<TVariant> values) { Table->AppendRecord(std::vector<TVariant>(values)); }
    // Opens the table and binds a grid with default columns to it.
    void Bind()
    {
        Table->Open();
        Source = std::make_unique<TDataSource>(Table.get());
        Grid = std::make_unique<TDBGridGx>();
        Grid->resize(600, 300);
        Grid->SetDataSource(Source.get());
        Grid->SetOptions(Grid->Options() + dgMultiSelect);
        if (Grid->DataLink()->BufferCount() < 8)
            Grid->DataLink()->SetBufferCount(8);
    }
    ~TExportGrid() { Grid.reset(); }

    TColumnGx* Column(const std::string& fieldName) const
    {
        for (const auto& column : Grid->Columns())
            if (column->FieldName() == fieldName)
                return column.get();
        return nullptr;
    }
    TDBGridGxSelection& Selection() { return Grid->Selection(); }
    void GoTo(const std::string& field, const TVariant& value) { Table->Locate(field, value); }
    std::string BookmarkOf(const std::string& field, const TVariant& value)
    {
        GoTo(field, value);
        return Table->Bookmark();
    }
};

// Fields A (integer) and B (string) with the records (1, x) and (2, y).
inline void MakeWorkedExample(TExportGrid& grid)
{
    grid.AddField("A", ftInteger);
    grid.AddField("B", ftString, 10);
    grid.AddRecord({TVariant(1), TVariant("x")});
    grid.AddRecord({TVariant(2), TVariant("y")});
    grid.Bind();
}

// ID 1..records and the texts C1 "a<id>", C2 "b<id>", C3 "c<id>".
inline void MakeNumbered(TExportGrid& grid, int records)
{
    grid.AddField("ID", ftInteger);
    grid.AddField("C1", ftString, 10);
    grid.AddField("C2", ftString, 10);
    grid.AddField("C3", ftString, 10);
    for (int id = 1; id <= records; ++id) {
        const std::string text = std::to_string(id);
        grid.AddRecord({TVariant(id), TVariant("a" + text), TVariant("b" + text), TVariant("c" + text)});
    }
    grid.Bind();
}

inline std::string StreamText(TMemoryStream& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// What an exporter of the class writes for the grid.
inline std::string Exported(TDBGridGxExportClass exportClass, TCustomDBGridGx& grid, bool exportAll)
{
    TMemoryStream stream;
    ExportGridToStream(exportClass, grid, stream, exportAll);
    return StreamText(stream);
}

// Makes the field's text fail, with EDatabaseError, on the record whose
// ID field holds `id`.
inline void FailTextOnRecord(TField& field, int id)
{
    field.OnGetText = [id](TField& sender, std::string& text, bool) {
        if (sender.DataSet()->FieldByName("ID")->AsInteger() == id)
            throw EDatabaseError("No text for record " + std::to_string(id));
        text = sender.AsString();
    };
}

inline std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A memory stream that takes `limit` bytes and then refuses every write.
class TRefusingStream : public TMemoryStream {
public:
    explicit TRefusingStream(int64_t limit) : FLimit(limit) {}
    int64_t Write(const void* buffer, int64_t count) override
    {
        const int64_t room = std::max<int64_t>(0, FLimit - Size());
        return TMemoryStream::Write(buffer, std::min(count, room));
    }

private:
    int64_t FLimit;
};
