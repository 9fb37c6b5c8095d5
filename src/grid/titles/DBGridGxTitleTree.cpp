#include "grid/titles/DBGridGxTitleTree.h"

// Until the tree is built, every title shows as one level with the height
// the layout pass worked out.
void TDBGridGxTitleTree::ColumnsLaidOut(int& /*titleRowHeight*/) {}
