#pragma once
// The data grid's own mouse cursors, made once and shared by all grids:
// "DOWNCURGX" (a down arrow over the column-select zone of a title),
// "RIGHTCURGX" (a right arrow over the indicator of a multi-select grid) and
// "LEFTCURGX" (the same under right-to-left reading).

#include <QCursor>

#include <string>

// The cursor of that name; raises EOutOfResources "Cannot load cursor
// resource" for a name the grid does not have.
const QCursor& GridCursorGx(const std::string& name);
