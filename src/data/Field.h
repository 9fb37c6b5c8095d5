#pragma once
// TField: one column of a dataset's current record.  A field holds no value
// of its own: it reads and writes the active record buffer of its dataset,
// converting between the stored value and texts, numbers and dates.  Each
// data type has its own subclass (FieldTypes.h); CreateField makes the right
// one for a TFieldType.

#include "data/engine/FieldType.h"
#include "platform/FreeNotifier.h"
#include "platform/Variant.h"

#include <functional>
#include <string>

class TDataSet;

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TField : public TFreeNotifier {
public:
    explicit TField(TFieldType dataType, int size = 0);
    ~TField() override;

    // ---- identity and owner
    TDataSet* DataSet() const { return FDataSet; }
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& name);
    std::string DisplayName() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    std::string DisplayLabel() const { return DisplayName(); }
    void SetDisplayLabel(const std::string& label);
    TFieldType DataType() const { return FDataType; }
    TFieldKind FieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind kind);
    bool Calculated() const { return FFieldKind == fkCalculated || FFieldKind == fkInternalCalc; }
    bool Lookup() const { return FFieldKind == fkLookup; }
    // Position of the column in the engine's record (0-based), -1 for a
    // field without a column (calculated, lookup); set by the dataset at open.
    int FieldNo() const { return FFieldNo; }
    void SetFieldNo(int fieldNo) { FFieldNo = fieldNo; }
    // Position in the dataset's Fields.
    int Index() const;
    void SetIndex(int index);

    // ---- properties
    int Size() const { return FSize; }
    void SetSize(int size);
    bool Required() const { return FRequired; }
    void SetRequired(bool value) { FRequired = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Characters a grid column needs; derived from the type and size until set.
    int DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultDisplayWidth(); }
    void SetDisplayWidth(int value);
    const std::string& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& value);
    const std::string& EditFormat() const { return FEditFormat; }
    void SetEditFormat(const std::string& value);
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& value);
    // True when the value may change now: the dataset can be modified and
    // the field is not read-only or calculated.
    bool CanModify() const;

    // ---- lookup definition (FieldKind fkLookup)
    TDataSet* LookupDataSet() const { return FLookupDataSet.Get(); }
    void SetLookupDataSet(TDataSet* dataSet);
    std::string KeyFields;          // fields of this dataset, ";"-separated
    std::string LookupKeyFields;    // matching fields of the lookup dataset
    std::string LookupResultField;  // the lookup dataset's field shown

    // ---- value of the active record
    bool IsNull() const { return GetData().IsNull(); }
    TVariant Value() const;                 // Null when empty
    void SetValue(const TVariant& value);   // Null or Empty clears
    TVariant AsVariant() const { return Value(); }
    void SetAsVariant(const TVariant& value) { SetValue(value); }
    std::string AsString() const;
    void SetAsString(const std::string& text);
    int32_t AsInteger() const;
    void SetAsInteger(int32_t value);
    int64_t AsLargeInt() const;
    void SetAsLargeInt(int64_t value);
    double AsFloat() const;
    void SetAsFloat(double value);
    TCurrency AsCurrency() const;
    void SetAsCurrency(TCurrency value);
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime value);
    void Clear() { SetValue(TVariant::Null()); }

    // Text shown in a grid cell (DisplayFormat, OnGetText).
    std::string DisplayText() const;
    // Text an editor starts from (EditFormat, OnGetText); setting it parses
    // the text (OnSetText) and stores the value.
    std::string EditText() const;
    void SetEditText(const std::string& text);
    std::string Text() const { return EditText(); }
    void SetText(const std::string& text) { SetEditText(text); }

    // Whether a typed character may go into this field's text.
    virtual bool IsValidChar(char32_t ch) const;

    // Asks the controls showing this field to take the focus.
    void FocusControl();

    // ---- events
    std::function<void(TField& sender, std::string& text, bool displayText)> OnGetText;
    std::function<void(TField& sender, const std::string& text)> OnSetText;
    std::function<void(TField& sender)> OnValidate;
    std::function<void(TField& sender)> OnChange;

    // ---- used by the dataset
    // The raw value of the active record buffer, Null when empty.
    TVariant GetData() const;
    // Stores a value already in this field's kind: checks, OnValidate,
    // store, OnChange.
    void SetData(const TVariant& value);
    // Converts a value of any kind to this field's kind; raises
    // EDatabaseError/EConvertError with a message naming the field.
    virtual TVariant ConvertToStored(const TVariant& value) const;
    // Raises EDatabaseError "Field 'X' must have a value" when required and empty.
    void CheckRequired() const;

protected:
    // Text of a non-null stored value; displayText chooses DisplayFormat or
    // EditFormat.  A null value shows as "".
    virtual std::string FormatValue(const TVariant& value, bool displayText) const;
    // Parses a text into a stored value; "" gives Null.
    virtual TVariant ParseText(const std::string& text) const;
    virtual int DefaultDisplayWidth() const;
    // The stored value as Value() and the As... numbers read it; a field
    // that stores its number as text gives the number here.
    virtual TVariant NumericValue(const TVariant& stored) const { return stored; }
    [[noreturn]] void RaiseConvertError(const std::string& text, const char* what) const;
    [[noreturn]] void RaiseRangeError(double value, double minimum, double maximum) const;
    void PropertyChanged(bool layout);

    TFieldType FDataType;
    int FSize;
    TAlignment FAlignment = taLeftJustify;

private:
    friend class TFields;   // sets FDataSet when the field is added or removed

    TDataSet* FDataSet = nullptr;
    std::string FFieldName;
    std::string FDisplayLabel;
    TFieldKind FFieldKind = fkData;
    int FFieldNo = -1;
    bool FRequired = false;
    bool FReadOnly = false;
    bool FVisible = true;
    int FDisplayWidth = 0;
    std::string FDisplayFormat;
    std::string FEditFormat;
    std::string FEditMask;
    TFreeRef<TDataSet> FLookupDataSet;
};
