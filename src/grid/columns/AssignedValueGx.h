#pragma once
// The one form of a setting that is inherited until assigned (columns,
// titles, footers): its owner keeps one assigned-value bit per such
// setting.  The getter reads
//
//     if (IsAssigned(bit)) return own;  return <what it inherits>;
//
// and the setter stores through StoreAssigned, announcing a change only
// when the value or its assigned state changed.

// Stores `value` as the setting's own and marks its bit; false when the
// setting was assigned to that value already.
template <typename TAssignedSet, typename TBit, typename T>
bool StoreAssigned(TAssignedSet& assigned, TBit bit, T& own, const T& value)
{
    if (assigned.Contains(bit) && own == value)
        return false;
    own = value;
    assigned.Include(bit);
    return true;
}
