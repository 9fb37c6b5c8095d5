#pragma once
// Text comparisons of the filter expression, on whole UTF-8 characters.
// Case-insensitive forms fold every character to lower case (all of
// Unicode, not only ASCII).

#include <string>

// Lower-cases every character; invalid UTF-8 bytes are kept as they are.
std::string FoldCase(const std::string& text);

// Negative, zero or positive, as the texts order (code point order).
int CompareText(const std::string& a, const std::string& b, bool caseInsensitive);
bool StartsWithText(const std::string& text, const std::string& prefix, bool caseInsensitive);

// SQL-style pattern: '%' matches any run of characters, '_' one character.
bool MatchLikePattern(const std::string& text, const std::string& pattern, bool caseInsensitive);
