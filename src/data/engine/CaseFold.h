#pragma once
// Unicode simple case folding: the one case rule of every text search that
// ignores case.  Each character folds to one character (upper case and
// title case to lower case, and the few letters with several lower forms,
// such as the final sigma, to one of them), so two texts equal without
// regard to case fold to the same bytes, and a text starts with a prefix
// without regard to case exactly when its folding starts with the
// prefix's folding.

#include <string>
#include <string_view>

char32_t FoldCase(char32_t c);

// Whether every byte of the text is ASCII (whose folding is ASCII folding).
bool IsAsciiText(std::string_view text);

// The text with every character folded, as UTF-8.  A byte that starts no
// valid character stands for itself, unchanged.
std::string FoldedText(std::string_view text);
