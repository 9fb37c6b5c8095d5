#pragma once
// TColumnsGxList: an ordered list of columns that does not own them (the
// visible columns, the sort-marked columns, the columns of a selection or
// of an export).

#include <algorithm>
#include <vector>

class TColumnGx;

class TColumnsGxList {
public:
    using const_iterator = std::vector<TColumnGx*>::const_iterator;

    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    TColumnGx* operator[](int index) const { return FItems.at(static_cast<size_t>(index)); }
    const_iterator begin() const { return FItems.begin(); }
    const_iterator end() const { return FItems.end(); }

    int IndexOf(const TColumnGx* column) const
    {
        auto it = std::find(FItems.begin(), FItems.end(), column);
        return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
    }
    bool Contains(const TColumnGx* column) const { return IndexOf(column) >= 0; }

    void Add(TColumnGx* column) { FItems.push_back(column); }
    void Insert(int index, TColumnGx* column) { FItems.insert(FItems.begin() + index, column); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    // Removes the column when listed; returns its former position or -1.
    int Remove(const TColumnGx* column)
    {
        int index = IndexOf(column);
        if (index >= 0)
            Delete(index);
        return index;
    }
    void Exchange(int a, int b) { std::swap(FItems.at(static_cast<size_t>(a)), FItems.at(static_cast<size_t>(b))); }
    void Clear() { FItems.clear(); }

private:
    std::vector<TColumnGx*> FItems;
};
