#include "editors/DBLookupControlGx.h"

#include "editors/SearchClockGx.h"

#include "platform/Exceptions.h"
#include "platform/ScopeGuard.h"
#include "platform/Utf8.h"
#include "ui/ExceptionReport.h"

#include <QFocusEvent>
#include <QFontMetrics>


namespace {

// When the previous search character was typed, shared by every lookup control.
int64_t LastSearchTime = 0;
bool HaveLastSearchTime = false;

std::string JoinNames(const TFieldsArrGx& fields)
{
    std::string names;
    for (const TField* field : fields)
        names += (names.empty() ? "" : ";") + field->FieldName();
    return names;
}

// The fields of ";"-separated names; a missing one fails naming `reported`
// (or itself when reported is empty).
void FieldsByNames(const TDataSet& dataSet, const std::string& names, TFieldsArrGx& fields,
                   const std::string& reported = {})
{
    fields.clear();
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = names.find(';', start);
        if (end == std::string::npos)
            end = names.size();
        const std::string name = names.substr(start, end - start);
        if (!name.empty()) {
            TField* field = dataSet.FindField(name);
            if (field == nullptr)
                throw EDatabaseError("Field '" + (reported.empty() ? name : reported) + "' not found");
            fields.push_back(field);
        }
        start = end + 1;
    }
}

} // namespace

TDBLookupControlGx::TDBLookupControlGx(QWidget* parent) : QFrame(parent)
{
    resize(121, height());
    setFocusPolicy(Qt::StrongFocus);
    FSpecRow.DefaultColor = [this] { return FColor; };
    FSpecRow.DefaultFont = [this] { return TFontGx(font()); };
    FSpecRow.OnChanged = [this] { SpecRowUpdated(); };
}

TDBLookupControlGx::~TDBLookupControlGx()
{
    FSpecRow.OnChanged = nullptr;
    FListLink.SetDataSource(nullptr);
    FDataLink.SetDataSource(nullptr);
}

// ---- properties

void TDBLookupControlGx::SetDataSource(TDataSource* source)
{
    FDataLink.SetDataSource(source);
    BindDataFields();
}

void TDBLookupControlGx::SetDataField(const std::string& names)
{
    if (names == FDataFieldName)
        return;
    FDataFieldName = names;
    BindDataFields();
}

TDataSource* TDBLookupControlGx::ListSource() const { return FLookupMode ? nullptr : FListSource.Get(); }

void TDBLookupControlGx::SetListSource(TDataSource* source)
{
    CheckNotLookup();
    FListSource.Reset(source, [this] {
        if (!FLookupMode)
            FListLink.SetDataSource(nullptr);
    });
    FListLink.SetDataSource(source);
    BindListFields();
}

void TDBLookupControlGx::SetKeyField(const std::string& names)
{
    CheckNotLookup();
    if (names == FKeyFieldName)
        return;
    FKeyFieldName = names;
    BindListFields();
}

void TDBLookupControlGx::SetListField(const std::string& names)
{
    if (names == FListFieldName)
        return;
    FListFieldName = names;
    BindListFields();
}

void TDBLookupControlGx::SetListFieldIndex(int value)
{
    if (value == FListFieldIndex)
        return;
    FListFieldIndex = value;
    BindListFields();
}

void TDBLookupControlGx::SetColor(TColor value)
{
    FColor = value;
    update();
}

void TDBLookupControlGx::SetControlFont(const TFontGx& font) { setFont(font); }

void TDBLookupControlGx::CheckNotLookup() const
{
    if (FLookupMode)
        throw EDatabaseError("Property already defined by lookup field");
}

void TDBLookupControlGx::CheckNotCircular() const
{
    if (FListLink.Active() && FDataLink.Active() && FListLink.DataSet() == FDataLink.DataSet())
        throw EDatabaseError("Circular datalinks are not allowed");
}

int TDBLookupControlGx::SpecRowTextHeight() const { return QFontMetrics(FSpecRow.Font()).height(); }

int TDBLookupControlGx::RowTextHeight() const { return QFontMetrics(font()).height(); }

// ---- binding

void TDBLookupControlGx::BindDataFields()
{
    FDataKeyFieldNames.clear();
    FDataFields.clear();
    FDataKeyFields.clear();
    bool lookup = false;
    if (FDataLink.Active() && !FDataFieldName.empty()) {
        CheckNotCircular();
        FieldsByNames(*FDataLink.DataSet(), FDataFieldName, FDataFields);
        lookup = FDataFields.size() == 1 && FDataFields.front()->Lookup();
        if (lookup)
            FieldsByNames(*FDataLink.DataSet(), FDataFields.front()->KeyFields, FDataKeyFields);
        else
            FDataKeyFields = FDataFields;
        FDataKeyFieldNames = JoinNames(FDataKeyFields);
    }
    if (lookup && !FLookupMode)
        EnterLookupMode(*FDataFields.front());
    else if (!lookup && FLookupMode)
        LeaveLookupMode();
    else if (lookup)
        EnterLookupMode(*FDataFields.front());   // the lookup definition may have changed
    DataChanged(nullptr);
}

void TDBLookupControlGx::EnterLookupMode(TField& lookupField)
{
    FLookupMode = true;
    FLookupSource.SetDataSet(lookupField.LookupDataSet());
    FKeyFieldName = lookupField.LookupKeyFields;
    if (FListLink.DataSource() != &FLookupSource)
        FListLink.SetDataSource(&FLookupSource);
    else
        BindListFields();
}

void TDBLookupControlGx::LeaveLookupMode()
{
    FLookupMode = false;
    FListLink.SetDataSource(FListSource.Get());
    FKeyFieldName.clear();
    FLookupSource.SetDataSet(nullptr);
    FDataKeyFields = FDataFields;
    FDataKeyFieldNames = JoinNames(FDataKeyFields);
    BindListFields();
}

void TDBLookupControlGx::BindListFields()
{
    FListActive = false;
    FDisplayField = nullptr;
    FListFields.clear();
    FListKeyFields.clear();
    if (!FListLink.Active() || FKeyFieldName.empty())
        return;
    CheckNotCircular();
    TDataSet& list = *FListLink.DataSet();
    FieldsByNames(list, FKeyFieldName, FListKeyFields);
    if (FLookupMode) {
        FDisplayField = list.FindField(FDataFields.front()->LookupResultField);
        if (FDisplayField == nullptr)
            throw EDatabaseError("Field '" + FDataFields.front()->LookupResultField + "' not found");
        FieldsByNames(list, FListFieldName, FListFields);
        if (std::find(FListFields.begin(), FListFields.end(), FDisplayField) == FListFields.end())
            FListFields.insert(FListFields.begin(), FDisplayField);
    } else {
        FieldsByNames(list, FListFieldName, FListFields, FListFieldName);
        if (FListFields.empty())
            FListFields = FListKeyFields;
        const bool inRange = FListFieldIndex >= 0 && FListFieldIndex < static_cast<int>(FListFields.size());
        FDisplayField = FListFields.empty() ? nullptr : FListFields[inRange ? FListFieldIndex : 0];
    }
    FListActive = true;
}

// ---- the key

void TDBLookupControlGx::DataChanged(TField* field)
{
    if (field != nullptr &&
        std::find(FDataKeyFields.begin(), FDataKeyFields.end(), field) == FDataKeyFields.end())
        return;
    TVariant key = TVariant::Null();
    if (!FDataKeyFields.empty() && FDataLink.Active())
        key = FDataLink.DataSet()->FieldValues(FDataKeyFieldNames);
    if (key == FCurrentKey)
        return;
    FCurrentKey = key;
    KeyValueUpdated();
}

void TDBLookupControlGx::SetKeyValue(const TVariant& value)
{
    if (value == FCurrentKey)
        return;
    FCurrentKey = value;
    KeyValueUpdated();
}

TVariant TDBLookupControlGx::ListKeyValue() const
{
    TDataSet* list = FListLink.DataSet();
    if (list == nullptr || !list->Active() || list->IsEmpty())
        return TVariant::Null();
    return list->FieldValues(FKeyFieldName);
}

bool TDBLookupControlGx::FindKeyInList()
{
    TDataSet* list = FListLink.DataSet();
    if (FCurrentKey.IsNull() || list == nullptr || !list->Active() || FKeyFieldName.empty())
        return false;
    try {
        // The list often sits on the key already (after a pick or a search):
        // no walk through the table then.
        if (!list->IsEmpty() && list->State() == dsBrowse && ListKeyValue() == FCurrentKey)
            return true;
        return list->Locate(FKeyFieldName, FCurrentKey);
    } catch (const Exception&) {
        return false;
    }
}

void TDBLookupControlGx::KeyValueUpdated()
{
    if (!FSpecRow.Visible()) {
        FSpecRow.SetSelected(false);
        return;
    }
    FSpecRow.SetSelected(FCurrentKey == FSpecRow.Value());
    if (FSelecting || FSpecRow.Selected() || !FSpecRow.ShowIfNotInKeyList())
        return;
    if (FindKeyInList())
        ListWindowChanged();
    else
        FSpecRow.SetSelected(true);
}

void TDBLookupControlGx::ChooseKeyValue(const TVariant& value)
{
    if (FDataKeyFields.empty()) {
        SetKeyValue(value);
    } else if (FDataLink.Edit()) {
        FDataLink.DataSet()->SetFieldValues(FDataKeyFieldNames, value);
    }
    update();
    if (OnClick)
        OnClick(*this);
}

bool TDBLookupControlGx::CanChangeKey() const
{
    if (!FListActive || ReadOnly())
        return false;
    if (FDataLink.DataSource() == nullptr)
        return true;
    if (FDataKeyFields.empty())
        return false;
    for (const TField* field : FDataKeyFields)
        if (!field->CanModify())
            return false;
    return true;
}

// ---- type-ahead

void TDBLookupControlGx::HandleSearchChar(char32_t character)
{
    if (FDisplayField == nullptr || !IsStringType(FDisplayField->DataType()) ||
        !(FDisplayField->FieldKind() == fkData || FDisplayField->FieldKind() == fkInternalCalc))
        return;
    if (character == 8 || character == 27) {
        FSearchText.clear();
        return;
    }
    if (character < 32 || !CanChangeKey())
        return;
    const int64_t now = SearchClockGx()();
    if (HaveLastSearchTime && now - LastSearchTime > SearchTimeoutMs)
        FSearchText.clear();
    LastSearchTime = now;
    HaveLastSearchTime = true;
    if (Utf8Length(FSearchText) >= MaxSearchLength)
        return;
    std::string candidate = FSearchText;
    candidate += Utf32ToUtf8(std::u32string(1, character));
    try {
        if (!FTypeAhead.Find(*FDisplayField, candidate))
            return;
        FSearchText = candidate;
        ChooseKeyValue(ListKeyValue());
    } catch (const Exception&) {
        FSearchText = candidate;
    }
}

// ---- focus

bool TDBLookupControlGx::event(QEvent* event)
{
    return RunEventHandler([&] { return QFrame::event(event); });
}

void TDBLookupControlGx::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    FSearchText.clear();
    FFocused = true;
    update();
}

void TDBLookupControlGx::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    FFocused = false;
    update();
}

void TDBLookupControlGx::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
    if (event->type() == QEvent::FontChange)
        SpecRowUpdated();
}
