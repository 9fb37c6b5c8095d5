#pragma once
// The field behind a column's value when values are copied, pasted or
// cleared: the column's own field, or for a lookup field the key field of
// the same dataset it is looked up by, so that a lookup column moves and
// clears its key.

class TColumnGx;
class TField;

// The field whose value the column carries; null for a column without a
// field or a lookup field without key fields.  A lookup over several key
// fields raises the dataset's field-not-found error.
TField* ExchangeField(const TColumnGx& column);

// Whether a value may go into the column now: its can-modify test (asked
// without starting an edit).  With wholeValues, a memo or binary column,
// which the in-place editor cannot edit, still takes whole values (typed
// values of the interchange format, a cleared cell) under the same
// conditions otherwise.
bool ColumnTakesValues(const TColumnGx& column, bool wholeValues);

// The field a value for the column goes into, its dataset put into edit
// state; null when the column does not take values, has no such field,
// or its dataset cannot be modified or did not enter edit state.
TField* BeginColumnStore(TColumnGx* column, bool wholeValues = false);
