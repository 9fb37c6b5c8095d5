// The base exporter's rows: the cell parameters of a data row, the texts
// and looks of a footer row, and the sum and count totals that footers of
// an export show over the exported records only.

#include "exchange/DBGridGxExport.h"

#include "data/DataSet.h"
#include "data/FieldTypes.h"
#include "grid/DBGridGx.h"
#include "grid/paint/FooterSummaryFormat.h"
#include "grid/paint/KeyListImageGx.h"
#include "platform/Currency.h"
#include "platform/FloatFormat.h"

void TDBGridGxExport::PutDataRow(const TColumnsGxList& columns)
{
    for (TColumnGx* column : columns) {
        TColCellParamsGx& params = CellParams;
        params.Row = -1;
        params.Col = -1;
        params.State = TGridDrawState();
        params.Font = column->Font();
        params.Background = column->Color();
        params.Alignment = column->Alignment();
        params.ImageIndex = column->ColumnKind() == ckKeyImageList ? KeyListImageIndex(*column) : -1;
        params.Text = column->DisplayText();
        params.CheckboxState = column->CheckboxState();
        params.ReadOnly = column->ReadOnly();
        if (Grid->OnGetCellParams)
            Grid->OnGetCellParams(*Grid, *column, params.Font, params.Background, TGridDrawState());
        column->GetColCellParams(false, params);
        PutDataCell(*column, params);
    }
}

TDBGridGxExport::TFooterCell TDBGridGxExport::FooterCell(TColumnGx& column, int position, int footerRow) const
{
    const TColumnFooterGx& footer = *column.UsedFooter(footerRow);
    TFooterCell cell{footer.Font(), footer.Color(), footer.Alignment(), std::string()};
    const TFooterValueTypeGx type = footer.ValueType();
    cell.Text = type == fvtSum || type == fvtCount ? ExportFooterText(footerRow, position)
                                                   : Grid->FooterText(footerRow, column);
    if (Grid->OnGetFooterParams)
        Grid->OnGetFooterParams(*Grid, column.Index(), footerRow, column, cell.Font, cell.Background, cell.Alignment,
                                TGridDrawState(), cell.Text);
    return cell;
}

void TDBGridGxExport::PutFooterRow(const TColumnsGxList& columns, int footerRow)
{
    for (int position = 0; position < columns.Count(); ++position) {
        TColumnGx& column = *columns[position];
        const TFooterCell cell = FooterCell(column, position, footerRow);
        PutFooterCell(position, footerRow, column, cell.Font, cell.Background, cell.Alignment, cell.Text);
    }
}

TField* TDBGridGxExport::FooterField(const TColumnGx& column, int footerRow) const
{
    TDataSet* dataSet = DataSet();
    if (!dataSet)
        return nullptr;
    const TColumnFooterGx& footer = *column.UsedFooter(footerRow);
    return dataSet->FindField(footer.FieldName().empty() ? column.FieldName() : footer.FieldName());
}

void TDBGridGxExport::AccumulateFooters()
{
    const int columnCount = ExportColumns().Count();
    for (int row = 0; row < Grid->FooterRowCount(); ++row) {
        for (int position = 0; position < columnCount; ++position) {
            const TColumnGx& column = *ExportColumns()[position];
            const TFooterValueTypeGx type = column.UsedFooter(row)->ValueType();
            if (type != fvtSum && type != fvtCount)
                continue;
            const TField* field = FooterField(column, row);
            // Only numbers are summed: a sum footer over a field of another
            // type shows nothing, and reading its values as numbers would
            // end the export.
            if (!field || (type == fvtSum && !dynamic_cast<const TNumericField*>(field)))
                continue;
            int64_t& total = FFooterTotals[static_cast<size_t>(row) * columnCount + position];
            if (type == fvtCount)
                total += 10000;
            else if (!field->IsNull())
                total = static_cast<int64_t>(RoundHalfEven(field->AsFloat() * 10000 + static_cast<double>(total)));
        }
    }
}

int64_t TDBGridGxExport::FooterTotal(int footerRow, int position) const
{
    return FFooterTotals.at(static_cast<size_t>(footerRow) * ExportColumns().Count() + position);
}

std::string TDBGridGxExport::ExportFooterText(int footerRow, int position) const
{
    const TColumnGx& column = *ExportColumns()[position];
    const int64_t total = FooterTotal(footerRow, position);
    if (column.UsedFooter(footerRow)->ValueType() == fvtCount)
        return FloatToStr(TCurrency::FromScaled(total).ToDouble());
    const TField* field = FooterField(column, footerRow);
    return field ? FormatFooterSummary(*field, total, std::string()) : std::string();
}
