#pragma once
// TFields: the fields of a dataset in column order; owns them.

#include "data/Field.h"

#include <memory>
#include <string>
#include <vector>

class TFields {
public:
    explicit TFields(TDataSet* dataSet) : FDataSet(dataSet) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    TField* operator[](int index) const { return Field(index); }
    TField* Field(int index) const;                        // raises EListError when out of range
    TField* FindField(const std::string& name) const;      // case-insensitive, nullptr when missing
    TField* FieldByName(const std::string& name) const;    // raises "Field 'X' not found"
    int IndexOf(const TField* field) const;

    // Takes ownership of a field and puts it at the end.
    TField* Add(std::unique_ptr<TField> field);
    // Gives the field back to the caller (removes it without destroying it).
    std::unique_ptr<TField> Remove(TField* field);
    void Clear();
    void Move(int fromIndex, int toIndex);

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    TDataSet* FDataSet;
    std::vector<std::unique_ptr<TField>> FItems;
};

// Splits "A;B;C" into its names (blanks around names removed).
std::vector<std::string> SplitFieldNames(const std::string& names);
