#include "editors/LookupLinksGx.h"

#include "editors/DBLookupControlGx.h"

void TLookupCtrlDataLinkGx::ActiveChanged() { FControl.BindDataFields(); }
void TLookupCtrlDataLinkGx::LayoutChanged() { FControl.BindDataFields(); }
void TLookupCtrlDataLinkGx::DataSetChanged() { FControl.DataChanged(nullptr); }
void TLookupCtrlDataLinkGx::DataSetScrolled(int) { FControl.DataChanged(nullptr); }
void TLookupCtrlDataLinkGx::RecordChanged(TField* field) { FControl.DataChanged(field); }

void TLookupCtrlDataLinkGx::FocusControl(TField** field)
{
    const TFieldsArrGx& fields = FControl.FDataFields;
    if (field == nullptr || *field == nullptr || fields.empty() || fields.front() != *field)
        return;
    if (FControl.isEnabled() && FControl.isVisible() && FControl.focusPolicy() != Qt::NoFocus) {
        *field = nullptr;
        FControl.setFocus();
    }
}

void TLookupCtrlListLinkGx::ActiveChanged() { FControl.BindListFields(); }
void TLookupCtrlListLinkGx::LayoutChanged() { FControl.BindListFields(); }
void TLookupCtrlListLinkGx::DataSetChanged() { FControl.ListWindowChanged(); }
void TLookupCtrlListLinkGx::DataSetScrolled(int) { FControl.ListWindowChanged(); }
