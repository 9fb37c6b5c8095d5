#pragma once
// TDBLookupControlGx: what the lookup lists share: the binding of an edited
// dataset (DataSource, DataField) and of a list dataset (ListSource,
// KeyField, ListField), the current key, choosing a key, the special row
// and the type-ahead search.  A single lookup field as DataField switches
// to lookup mode: the list dataset, key and display field then come from
// the field's lookup definition.  Without a DataSource the control just
// holds the key the user picks (CurrentKey).

#include "editors/LookupExtraRowGx.h"
#include "editors/LookupLinksGx.h"
#include "editors/LookupTypeAheadGx.h"

#include "data/DataSource.h"

#include <QFrame>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using TFieldsArrGx = std::vector<TField*>;

class TDBLookupControlGx : public QFrame {
public:
    static constexpr int SearchTimeoutMs = 2000;
    static constexpr int MaxSearchLength = 32;   // characters

    explicit TDBLookupControlGx(QWidget* parent = nullptr);
    ~TDBLookupControlGx() override;

    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* source);
    const std::string& DataField() const { return FDataFieldName; }
    void SetDataField(const std::string& names);
    TDataSource* ListSource() const;
    void SetListSource(TDataSource* source);
    const std::string& KeyField() const { return FKeyFieldName; }
    void SetKeyField(const std::string& names);
    const std::string& ListField() const { return FListFieldName; }
    void SetListField(const std::string& names);
    int ListFieldIndex() const { return FListFieldIndex; }
    void SetListFieldIndex(int value);
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool value) { FDataLink.SetReadOnly(value); }
    TSpecRowGx& SpecRow() { return FSpecRow; }
    const TSpecRowGx& SpecRow() const { return FSpecRow; }

    const TVariant& CurrentKey() const { return FCurrentKey; }
    // Sets the key as the edited dataset would (no edit of that dataset).
    void SetKeyValue(const TVariant& value);
    const std::string& SearchText() const { return FSearchText; }
    bool ListActive() const { return FListActive; }
    bool LookupMode() const { return FLookupMode; }
    TField* DisplayField() const { return FDisplayField; }
    const TFieldsArrGx& ListFields() const { return FListFields; }
    TDataSet* ListDataSet() const { return FListLink.DataSet(); }

    // The colour the control and its special row are drawn on.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    void SetControlFont(const TFontGx& font);

    // Fired after a key was chosen (by the user or in code through ChooseKeyValue).
    std::function<void(TDBLookupControlGx& sender)> OnClick;

    virtual bool CanChangeKey() const;
    // Handles one typed character (Unicode) of the type-ahead search.
    void HandleSearchChar(char32_t character);

protected:
    friend class TLookupCtrlDataLinkGx;
    friend class TLookupCtrlListLinkGx;

    virtual int BorderHeight() const { return 2 * frameWidth(); }
    virtual int SpecRowTextHeight() const;
    virtual int RowTextHeight() const;
    virtual bool FindKeyInList();
    virtual void KeyValueUpdated();
    virtual void ListWindowChanged() {}
    virtual void ChooseKeyValue(const TVariant& value);
    virtual void SpecRowUpdated() { update(); }
    virtual void BindDataFields();
    virtual void BindListFields();
    // The edited dataset's key changed (field nullptr: any field).
    void DataChanged(TField* field);
    // The list dataset's key value(s) of its current record.
    TVariant ListKeyValue() const;

    // Stops what a handler throws (a refused change of the edited field) and reports it.
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    void ClearSearchText() { FSearchText.clear(); }
    bool Focused() const { return FFocused; }
    TLookupCtrlListLinkGx& ListLink() { return FListLink; }
    const TLookupCtrlListLinkGx& ListLink() const { return FListLink; }
    TLookupCtrlDataLinkGx& DataLink() { return FDataLink; }
    const std::string& DataKeyFieldNames() const { return FDataKeyFieldNames; }
    bool Selecting() const { return FSelecting; }
    void SetSelecting(bool value) { FSelecting = value; }

private:
    void CheckNotLookup() const;
    void CheckNotCircular() const;
    void EnterLookupMode(TField& lookupField);
    void LeaveLookupMode();

    TLookupCtrlDataLinkGx FDataLink{*this};
    TLookupCtrlListLinkGx FListLink{*this};
    TDataSource FLookupSource;   // the list source in lookup mode
    TFreeRef<TDataSource> FListSource;
    std::string FDataFieldName;
    std::string FKeyFieldName;
    std::string FListFieldName;
    int FListFieldIndex = 0;
    TFieldsArrGx FDataFields;
    TFieldsArrGx FDataKeyFields;
    std::string FDataKeyFieldNames;
    TFieldsArrGx FListKeyFields;
    TFieldsArrGx FListFields;
    TField* FDisplayField = nullptr;
    TVariant FCurrentKey = TVariant::Null();
    std::string FSearchText;
    TLookupTypeAheadGx FTypeAhead;
    TSpecRowGx FSpecRow;
    TColor FColor = clWindow;
    bool FListActive = false;
    bool FLookupMode = false;
    bool FFocused = false;
    bool FSelecting = false;
};
