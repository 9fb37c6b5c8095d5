#pragma once
// The two data links of a lookup control: one watches the edited dataset
// (whose key fields the control sets), the other the list dataset (whose
// records the control shows).

#include "data/DataLink.h"

class TDBLookupControlGx;

class TLookupCtrlDataLinkGx : public TDataLink {
public:
    explicit TLookupCtrlDataLinkGx(TDBLookupControlGx& control) : FControl(control) {}

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void RecordChanged(TField* field) override;
    void FocusControl(TField** field) override;

private:
    TDBLookupControlGx& FControl;
};

class TLookupCtrlListLinkGx : public TDataLink {
public:
    explicit TLookupCtrlListLinkGx(TDBLookupControlGx& control) : FControl(control) {}

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;

private:
    TDBLookupControlGx& FControl;
};
