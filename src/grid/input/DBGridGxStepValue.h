#pragma once
// Step the value of a column: the grid's next-value operation, used by check
// box clicks and DblClickNextVal.  The grid is a TDBGridGxStepValue.

class TColumnGx;

class TDBGridGxStepValue {
public:
    // +1 or -1: a check box toggles; a pick list or key list column takes the
    // line after or before the present one (wrapping); a number column adds
    // the step.  Nothing when the column cannot be modified.
    void StepColumnValue(TColumnGx& column, int step);

protected:
    TDBGridGxStepValue() = default;
    ~TDBGridGxStepValue() = default;
};
