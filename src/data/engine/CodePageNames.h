#pragma once
// Names of the code pages a user may choose for a table.

#include <string>
#include <vector>

// "GBK", "Big5", "Windows-1251", "DOS 866", "UTF-8"; "Code page N" for others.
std::string CodePageName(int codePage);
// The name with the number: "GBK (936)".
std::string CodePageLabel(int codePage);
// The code pages offered for a table, most used first.
const std::vector<int>& SelectableCodePages();
