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

    // Iterates the fields as TField pointers: for (TField* field : fields).
    class const_iterator {
    public:
        using Base = std::vector<std::unique_ptr<TField>>::const_iterator;
        explicit const_iterator(Base it) : FIt(it) {}
        TField* operator*() const { return FIt->get(); }
        const_iterator& operator++() { ++FIt; return *this; }
        bool operator==(const const_iterator& other) const { return FIt == other.FIt; }
        bool operator!=(const const_iterator& other) const { return FIt != other.FIt; }

    private:
        Base FIt;
    };
    const_iterator begin() const { return const_iterator(FItems.begin()); }
    const_iterator end() const { return const_iterator(FItems.end()); }

private:
    TDataSet* FDataSet;
    std::vector<std::unique_ptr<TField>> FItems;
};

// Splits "A;B;C" into its names (blanks around names removed).
std::vector<std::string> SplitFieldNames(const std::string& names);
