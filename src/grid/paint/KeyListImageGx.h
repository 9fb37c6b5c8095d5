#pragma once
// The image of a key image list column: shared by the grid's painting and
// the exporters' cell parameters.

class TColumnGx;

// The image a key image list column shows for the current record: the
// position of the field's edit text in KeyList, else NotInKeyListIndex.
int KeyListImageIndex(const TColumnGx& column);
