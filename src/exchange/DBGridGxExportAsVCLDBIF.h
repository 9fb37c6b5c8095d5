#pragma once
// TDBGridGxExportAsVCLDBIF: writes the exported cells as typed values in
// the interchange format (VCLDBIFFormat.h), so that a paste reproduces
// the stored values: numbers, texts, bytes and nulls, a lookup column as
// the value of its key field.  Titles and footers are not written.

#include "exchange/DBGridGxExport.h"

#include <string>

class TDBGridGxExportAsVCLDBIF : public TDBGridGxExport {
protected:
    void BeginOutput() override;
    void EndOutput() override;
    void PutDataRow(const TColumnsGxList& columns) override;
    void PutDataCell(TColumnGx& column, TColCellParamsGx& params) override;

private:
    // The value records of the row being written, written out as one.
    std::string FRow;
};

