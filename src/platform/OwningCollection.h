#pragma once
// TOwningCollection<TItem>: the list part of a collection that owns its
// items (edit buttons, columns, footers): reading the items, and copying
// another collection item by item.  What adding, deleting and announcing a
// change mean stays with each collection.

#include <memory>
#include <vector>

template <typename TItem>
class TOwningCollection {
public:
    using const_iterator = typename std::vector<std::unique_ptr<TItem>>::const_iterator;

    int Count() const { return static_cast<int>(FItems.size()); }
    TItem* operator[](int index) const { return FItems.at(static_cast<size_t>(index)).get(); }
    TItem* Items(int index) const { return (*this)[index]; }
    int IndexOf(const TItem* item) const
    {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (FItems[i].get() == item)
                return static_cast<int>(i);
        return -1;
    }
    const_iterator begin() const { return FItems.begin(); }
    const_iterator end() const { return FItems.end(); }

    TOwningCollection(const TOwningCollection&) = delete;
    TOwningCollection& operator=(const TOwningCollection&) = delete;

protected:
    TOwningCollection() = default;
    ~TOwningCollection() = default;

    // Adds a copy of every item of `source`: an item made by `add` (which
    // puts it in this collection) takes the source item's settings through
    // TItem::Assign.
    template <typename TAdd>
    void AddCopiesOf(const TOwningCollection& source, TAdd add)
    {
        for (const auto& item : source.FItems)
            add()->Assign(*item);
    }

    std::vector<std::unique_ptr<TItem>> FItems;
};

// Runs `change` inside owner.BeginUpdate() / owner.EndUpdate(); the batch
// is ended also when the change fails (the failure then goes on).
template <typename TOwner, typename TChange>
void RunInUpdate(TOwner& owner, TChange change)
{
    owner.BeginUpdate();
    try {
        change();
    } catch (...) {
        owner.EndUpdate();
        throw;
    }
    owner.EndUpdate();
}
