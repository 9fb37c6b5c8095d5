// The field a column's value is read from and written to in the data
// exchange.

#include "exchange/ColumnValueTarget.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "grid/columns/ColumnGx.h"

TField* ExchangeField(const TColumnGx& column)
{
    TField* field = column.Field();
    if (!field || !field->Lookup())
        return field;
    if (field->KeyFields.empty() || !field->DataSet())
        return nullptr;
    return field->DataSet()->FieldByName(field->KeyFields);
}

TField* BeginColumnStore(TColumnGx* column)
{
    if (!column || !column->CanModify(false))
        return nullptr;
    TField* field = ExchangeField(*column);
    TDataSet* dataSet = field ? field->DataSet() : nullptr;
    if (!dataSet || !dataSet->CanModify())
        return nullptr;
    dataSet->Edit();
    return dataSet->State() == dsEdit || dataSet->State() == dsInsert ? field : nullptr;
}
