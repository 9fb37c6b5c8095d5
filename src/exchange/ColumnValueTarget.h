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

// The field a value for the column goes into, its dataset put into edit
// state; null when the column fails its can-modify test (asked without
// starting an edit), has no such field, or its dataset cannot be
// modified or did not enter edit state.
TField* BeginColumnStore(TColumnGx* column);
