// The field a column's value is read from and written to in the data
// exchange.

#include "exchange/ColumnValueTarget.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "data/DataLink.h"
#include "grid/columns/ColumnGx.h"
#include "grid/columns/ColumnsHostGx.h"

TField* ExchangeField(const TColumnGx& column)
{
    TField* field = column.Field();
    if (!field || !field->Lookup())
        return field;
    if (field->KeyFields.empty() || !field->DataSet())
        return nullptr;
    return field->DataSet()->FieldByName(field->KeyFields);
}

bool ColumnTakesValues(const TColumnGx& column, bool wholeValues)
{
    if (column.CanModify(false))
        return true;
    const TField* field = column.Field();
    if (!wholeValues || !field || !IsBlobType(field->DataType()) || column.ReadOnly() || !field->CanModify())
        return false;
    const TColumnsHostGx* host = column.Host();
    const TDataLink* link = host ? host->ColumnsDataLink() : nullptr;
    if (!link || host->ReadOnly() || !link->Active() || link->ReadOnly())
        return false;
    return host->AllowedOperations().Contains(alopUpdateGx) || field->DataSet()->State() == dsInsert;
}

TField* BeginColumnStore(TColumnGx* column, bool wholeValues)
{
    if (!column || !ColumnTakesValues(*column, wholeValues))
        return nullptr;
    TField* field = ExchangeField(*column);
    TDataSet* dataSet = field ? field->DataSet() : nullptr;
    if (!dataSet || !dataSet->CanModify())
        return nullptr;
    dataSet->Edit();
    return dataSet->State() == dsEdit || dataSet->State() == dsInsert ? field : nullptr;
}
