#pragma once
// Stepping a column's value to the next (+) or prior (-) one: Space on a
// check box column, the editor's up-down buttons and a double click on a
// column that steps on double clicks.  A check box turns over; a pick list
// or key list column takes the line after or before the field's, wrapping
// at either end; a lookup column the lookup record after or before the
// one its key finds, wrapping too; a numeric field adds the step (a null
// counting as 0).
// Nothing happens when the column cannot be modified.

class TColumnGx;

// True when a value was written.
bool StepColumnValue(TColumnGx& column, double step);
