#pragma once
// Shared pieces of the import and clipboard tests: running an importer
// over a text or a byte buffer, building interchange-format buffers by
// hand, and the values of a table's records.

#include "ExportTestSupport.h"

#include "data/Field.h"
#include "data/FieldTypes.h"
#include "exchange/DBGridGxImportAsText.h"
#include "exchange/DBGridGxImportAsVCLDBIF.h"
#include "ui/DialogService.h"

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

inline void ImportBytes(TDBGridGxImportClass importClass, TCustomDBGridGx& grid, const std::string& bytes,
                        bool importAll = false)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    ImportGridFromStream(importClass, grid, stream, importAll);
}

inline void ImportText(TCustomDBGridGx& grid, const std::string& text, bool importAll = false)
{
    ImportBytes(ImportClass<TDBGridGxImportAsText>, grid, text, importAll);
}

inline void ImportVCLDBIF(TCustomDBGridGx& grid, const std::string& bytes, bool importAll = false)
{
    ImportBytes(ImportClass<TDBGridGxImportAsVCLDBIF>, grid, bytes, importAll);
}

// An interchange-format buffer written value by value.
class TVCLDBIFBytes {
public:
    // The header and `columns` descriptors with empty names.
    explicit TVCLDBIFBytes(int columns, uint8_t version = 1)
    {
        FBytes = "VCLDBIF";
        FBytes += static_cast<char>(version);
        Int32(columns);
        for (int i = 0; i < columns; ++i)
            FBytes += std::string("\x01\0", 2);
    }
    TVCLDBIFBytes& Integer(int32_t value) { return Tag(3).Int32(value); }
    TVCLDBIFBytes& Float(double value)
    {
        Tag(4);
        const uint64_t bits = std::bit_cast<uint64_t>(value);
        for (int i = 0; i < 8; ++i)
            FBytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
        return *this;
    }
    TVCLDBIFBytes& Text(const std::string& text, uint8_t tag = 5)
    {
        Tag(tag).Int32(static_cast<int32_t>(text.size()));
        FBytes += text;
        return *this;
    }
    TVCLDBIFBytes& Null() { return Tag(2); }
    TVCLDBIFBytes& NoValue() { return Tag(1); }
    TVCLDBIFBytes& End() { return Tag(0); }
    TVCLDBIFBytes& Tag(uint8_t tag)
    {
        FBytes += static_cast<char>(tag);
        return *this;
    }
    TVCLDBIFBytes& Int32(int32_t value)
    {
        for (int i = 0; i < 4; ++i)
            FBytes += static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
        return *this;
    }
    const std::string& Bytes() const { return FBytes; }
    operator const std::string&() const { return FBytes; }

private:
    std::string FBytes;
};

// Every field's value of every record, in record order, as variants.
inline std::vector<std::vector<TVariant>> RecordValues(TDataSet& dataSet)
{
    std::vector<std::vector<TVariant>> records;
    const std::string bookmark = dataSet.Bookmark();
    dataSet.First();
    while (!dataSet.Eof()) {
        std::vector<TVariant> values;
        for (int i = 0; i < dataSet.FieldCount(); ++i)
            values.push_back(dataSet.Fields()[i]->Value());
        records.push_back(std::move(values));
        dataSet.Next();
    }
    if (!bookmark.empty() && dataSet.BookmarkValid(bookmark))
        dataSet.GotoBookmark(bookmark);
    return records;
}

// The field's text on every record, in record order.
inline std::vector<std::string> FieldTexts(TDataSet& dataSet, const std::string& field)
{
    std::vector<std::string> texts;
    dataSet.First();
    while (!dataSet.Eof()) {
        texts.push_back(dataSet.FieldByName(field)->AsString());
        dataSet.Next();
    }
    return texts;
}

// The field's text on the record whose ID holds `id`.
inline std::string TextOf(TExportGrid& grid, int id, const std::string& field)
{
    grid.GoTo("ID", TVariant(id));
    return grid.Table->FieldByName(field)->AsString();
}

// Makes the grid's current cell the column of the field on the current record.
inline void SetCurrentColumn(TExportGrid& grid, const std::string& field)
{
    grid.Grid->SetCol(grid.Grid->DataToRawColumn(grid.Column(field)->Index()));
}

// Orders (NO, CITY, and the lookup field CITYNAME over Cities by CODE) in
// a multi-select grid.
struct TLookupGrid {
    TMemTable Cities;
    TMemTable Orders;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridGx> Grid;

    TLookupGrid()
    {
        Cities.FieldDefs().Add("CODE", ftString, 3);
        Cities.FieldDefs().Add("CITYNAME", ftString, 20);
        Cities.AppendRecord({TVariant("B"), TVariant("Berlin")});
        Cities.AppendRecord({TVariant("K"), TVariant("Koeln")});
        Cities.AppendRecord({TVariant("P"), TVariant("北京")});
        Cities.Open();
        Orders.FieldDefs().Add("NO", ftInteger);
        Orders.FieldDefs().Add("CITY", ftString, 3);
        Orders.AppendRecord({TVariant(1), TVariant("B")});
        Orders.AppendRecord({TVariant(2), TVariant("K")});
        Orders.AppendRecord({TVariant(3), TVariant::Null()});
        auto no = CreateField(ftInteger);
        no->SetFieldName("NO");
        Orders.Fields().Add(std::move(no));
        auto city = CreateField(ftString, 3);
        city->SetFieldName("CITY");
        Orders.Fields().Add(std::move(city));
        auto cityName = CreateField(ftString, 20);
        cityName->SetFieldName("CITYNAME");
        cityName->SetFieldKind(fkLookup);
        cityName->SetLookupDataSet(&Cities);
        cityName->KeyFields = "CITY";
        cityName->LookupKeyFields = "CODE";
        cityName->LookupResultField = "CITYNAME";
        Orders.Fields().Add(std::move(cityName));
        Orders.Open();
        Source = std::make_unique<TDataSource>(&Orders);
        Grid = std::make_unique<TDBGridGx>();
        Grid->resize(600, 300);
        Grid->SetDataSource(Source.get());
        Grid->SetOptions(Grid->Options() + dgMultiSelect);
    }
    ~TLookupGrid() { Grid.reset(); }

    TColumnGx* Column(const std::string& fieldName) const
    {
        for (const auto& column : Grid->Columns())
            if (column->FieldName() == fieldName)
                return column.get();
        return nullptr;
    }
    TField& CityOf(int no)
    {
        Orders.Locate("NO", TVariant(no));
        return *Orders.FieldByName("CITY");
    }
};
