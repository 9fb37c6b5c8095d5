#pragma once
// What a search that ignores case (CaseFold.h) can confuse: which
// characters have other characters that fold alike, so that an index
// ordered by bytes, or by a code page's own upper-case mapping, can be
// trusted to hold every record such a search finds.

#include <string_view>
#include <vector>

// Whether another character folds to what `c` folds to ("a" and "A", "k"
// and the Kelvin sign); false for digits, punctuation and ideographs.
bool HasCaseVariants(char32_t c);

// Whether ignoring case changes nothing for this text: none of its
// characters has a case variant (an undecodable byte counts as one).
bool IsCaseBlindText(std::string_view text);

// The characters beyond ASCII that fold to an ASCII character.
const std::vector<char32_t>& NonAsciiFoldingToAscii();
