#pragma once
// The TField subclass of each data type.

#include "data/Field.h"
#include "platform/DecimalNumber.h"

#include <memory>

class TStringField : public TField {
public:
    explicit TStringField(int size = 20, TFieldType type = ftString) : TField(type, size) {}
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    int DefaultDisplayWidth() const override { return Size() > 0 ? Size() : 20; }
};

// Base of the number fields: right-aligned, DisplayFormat/EditFormat are
// FormatFloat pictures.
class TNumericField : public TField {
public:
    TNumericField(TFieldType type, int size) : TField(type, size) { FAlignment = taRightJustify; }
    bool IsValidChar(char32_t ch) const override;
};

// Integer fields of every width: smallint, integer, word, auto-increment, largeint.
class TIntegerField : public TNumericField {
public:
    explicit TIntegerField(TFieldType type = ftInteger);
    int64_t MinValue() const { return FMinValue; }
    int64_t MaxValue() const { return FMaxValue; }
    void SetRange(int64_t minValue, int64_t maxValue) { FMinValue = minValue; FMaxValue = maxValue; }
    TVariant ConvertToStored(const TVariant& value) const override;
    bool IsValidChar(char32_t ch) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
    TVariant ParseText(const std::string& text) const override;
    int DefaultDisplayWidth() const override;

private:
    int64_t FMinValue;
    int64_t FMaxValue;
    int64_t FTypeMin;
    int64_t FTypeMax;
};

class TSmallintField : public TIntegerField { public: TSmallintField() : TIntegerField(ftSmallint) {} };
class TWordField : public TIntegerField { public: TWordField() : TIntegerField(ftWord) {} };
class TAutoIncField : public TIntegerField { public: TAutoIncField() : TIntegerField(ftAutoInc) {} };
class TLargeintField : public TIntegerField { public: TLargeintField() : TIntegerField(ftLargeint) {} };

// Floating point fields; ftCurrency is a float shown as money.
class TFloatField : public TNumericField {
public:
    explicit TFloatField(TFieldType type = ftFloat);
    bool Currency() const { return FCurrency; }
    void SetCurrency(bool value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int value);
    double MinValue() const { return FMinValue; }
    double MaxValue() const { return FMaxValue; }
    void SetRange(double minValue, double maxValue) { FMinValue = minValue; FMaxValue = maxValue; }
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
    TVariant ParseText(const std::string& text) const override;

private:
    bool FCurrency;
    int FPrecision = 15;
    double FMinValue = 0;
    double FMaxValue = 0;
};

class TCurrencyField : public TFloatField { public: TCurrencyField() : TFloatField(ftCurrency) {} };

// Base of the exact decimal fields: Size is the number of decimals the
// column keeps, Precision its total digits (0: no limit of its own), and
// Currency shows the value as money.
class TFixedPointField : public TNumericField {
public:
    TFixedPointField(TFieldType type, int size, int precision) : TNumericField(type, size), FPrecision(precision) {}
    bool Currency() const { return FCurrency; }
    void SetCurrency(bool value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int value) { FPrecision = value; }

protected:
    TVariant ParseText(const std::string& text) const override;

    bool FCurrency = false;
    int FPrecision;
};

// Exact decimal numbers kept as 64-bit fixed point (4 decimals).
class TBCDField : public TFixedPointField {
public:
    explicit TBCDField(int size = 4) : TFixedPointField(ftBCD, size, 0) {}
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
};

// Exact decimal numbers of up to 32 digits (ftFMTBcd): the value travels
// as its text with '.' before exactly Size decimals, so every digit the
// table stores is shown, edited and written back unchanged.  Value(),
// AsFloat and AsCurrency give the number (currency when it fits exactly).
class TFMTBCDField : public TFixedPointField {
public:
    explicit TFMTBCDField(int size = 8) : TFixedPointField(ftFMTBcd, size, 32) {}
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
    TVariant NumericValue(const TVariant& stored) const override;
    int DefaultDisplayWidth() const override { return FPrecision + 2; }

private:
    TDecimalNumber StoredNumber(const TVariant& stored) const;
    TVariant FromNumber(TDecimalNumber number, const std::string& shown) const;
};

class TBooleanField : public TField {
public:
    TBooleanField();
    // "True;False" until set: the texts shown for the two values.
    const std::string& DisplayValues() const { return FDisplayValues; }
    void SetDisplayValues(const std::string& value);
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
    TVariant ParseText(const std::string& text) const override;
    int DefaultDisplayWidth() const override;

private:
    std::string FDisplayValues = "True;False";
    std::string FTrueText = "True";
    std::string FFalseText = "False";
};

// Date, time and date-time fields; DisplayFormat is a FormatDateTime picture.
class TDateTimeField : public TField {
public:
    explicit TDateTimeField(TFieldType type = ftDateTime) : TField(type, 0) {}
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
    TVariant ParseText(const std::string& text) const override;
    int DefaultDisplayWidth() const override;
};

class TDateField : public TDateTimeField { public: TDateField() : TDateTimeField(ftDate) {} };
class TTimeField : public TDateTimeField { public: TTimeField() : TDateTimeField(ftTime) {} };

// Fixed and variable length binary columns.
class TBinaryField : public TField {
public:
    TBinaryField(TFieldType type, int size) : TField(type, size) {}
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
    TVariant ParseText(const std::string& text) const override;
};

class TBytesField : public TBinaryField { public: explicit TBytesField(int size = 16) : TBinaryField(ftBytes, size) {} };
class TVarBytesField : public TBinaryField { public: explicit TVarBytesField(int size = 16) : TBinaryField(ftVarBytes, size) {} };

// Blobs: binary data, pictures, OLE objects; memos hold text.  A grid shows
// "(Memo)"/"(MEMO)", "(Blob)"/"(BLOB)", "(Graphic)"/"(GRAPHIC)" (upper case
// when there is data), the whole text being shown only on request.
class TBlobField : public TField {
public:
    explicit TBlobField(TFieldType type = ftBlob) : TField(type, 0) {}
    bool IsMemo() const { return FDataType == ftMemo || FDataType == ftFmtMemo; }
    TVariant ConvertToStored(const TVariant& value) const override;

protected:
    std::string FormatValue(const TVariant& value, bool displayText) const override;
    TVariant ParseText(const std::string& text) const override;
    int DefaultDisplayWidth() const override { return 10; }
};

class TMemoField : public TBlobField { public: explicit TMemoField(TFieldType type = ftMemo) : TBlobField(type) {} };
class TGraphicField : public TBlobField { public: TGraphicField() : TBlobField(ftGraphic) {} };

// Makes the field class of a data type (raises EDatabaseError for ftUnknown).
std::unique_ptr<TField> CreateField(TFieldType type, int size = 0);
