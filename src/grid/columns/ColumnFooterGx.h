#pragma once
// TColumnFooterGx: the settings of one footer cell of a column, and
// TColumnFootersGx, the collection of a column's further footers.  Footer
// row r of a column shows Footers[r] when it exists, else Footer.
//
// A footer whose ValueType is fvtSum, fvtAvg or fvtCount stands for one
// summary item of the grid; the grid hears of every change of that
// (FooterSummaryChanged) and of a footer going away (FooterDestroying).

#include "data/Field.h"
#include "grid/columns/ColumnTypesGx.h"
#include "ui/FontGx.h"
#include "platform/Color.h"
#include "platform/OwningCollection.h"

#include <memory>
#include <string>
#include <vector>

class TColumnGx;
class TColumnFootersGx;
class TColumnsHostGx;

class TColumnFooterGx {
public:
    // A footer of a column: the column's own Footer (footers null) or an
    // item of its Footers collection.
    TColumnFooterGx(TColumnGx* column, TColumnFootersGx* footers = nullptr);
    virtual ~TColumnFooterGx();
    TColumnFooterGx(const TColumnFooterGx&) = delete;
    TColumnFooterGx& operator=(const TColumnFooterGx&) = delete;

    TColumnGx* Column() const { return FColumn; }
    TColumnFootersGx* Collection() const { return FFooters; }
    TColumnFooterValuesGx AssignedValues() const { return FAssignedValues; }

    // Until set: the column's field's alignment, taLeftJustify without one.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    // Until set: the grid's FooterColor, clWindow without a grid.
    TColor Color() const;
    void SetColor(TColor value);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool value);
    // Field whose values are summed; empty: the column's field.
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& value);
    // Until set: the grid's FooterFont (the column's font without a grid).
    TFontGx Font() const;
    void SetFont(const TFontGx& value);
    TFontGx DefaultFont() const;
    const std::string& Value() const { return FValue; }
    void SetValue(const std::string& value);
    TFooterValueTypeGx ValueType() const { return FValueType; }
    void SetValueType(TFooterValueTypeGx value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    // The aggregate of the footer's summary item (fsoNone: it has none)
    // and the field it runs over (empty for a count).
    TFooterSummaryOperationGx SummaryOperation() const;
    std::string SummaryFieldName() const;

    // Copies Alignment, Color and Font where assigned on the source, and
    // EndEllipsis, ValueType, FieldName, Value and WordWrap always.
    void Assign(const TColumnFooterGx& source);
    virtual void RestoreDefaults();

private:
    TColumnsHostGx* Host() const;
    void Changed();
    void SummaryChanged();

    TColumnGx* FColumn;
    TColumnFootersGx* FFooters;
    TColumnFooterValuesGx FAssignedValues;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clWindow;
    bool FEndEllipsis = false;
    std::string FFieldName;
    TFontGx FFont;
    std::string FValue;
    TFooterValueTypeGx FValueType = fvtNon;
    bool FWordWrap = false;
};

class TColumnFootersGx : public TOwningCollection<TColumnFooterGx> {
public:
    explicit TColumnFootersGx(TColumnGx* column) : FColumn(column) {}

    TColumnGx* Column() const { return FColumn; }

    TColumnFooterGx* Add();
    void Delete(int index);
    void Clear();
    // Makes this collection a copy of another one.
    void Assign(const TColumnFootersGx& source);

private:
    void Changed();
    std::unique_ptr<TColumnFooterGx> MakeFooter();

    TColumnGx* FColumn;
};
