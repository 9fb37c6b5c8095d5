#pragma once
// Splits the text of a filter expression into tokens.  Positions are
// 1-based character (not byte) positions, as a user counts them.

#include <string>
#include <vector>

enum class TFilterToken {
    End,
    Name,          // a field name: plain, [bracketed] or "double quoted"
    String,        // 'text', with '' for a quote
    Number,        // 12, 1.5, .5, 1e3
    Keyword,       // AND OR NOT IS NULL LIKE IN TRUE FALSE (Text is upper case)
    Operator,      // = <> != < > <= >= + - * / ( ) ,
};

struct TFilterLexeme {
    TFilterToken Kind = TFilterToken::End;
    std::string Text;
    int Position = 0;
};

// Raises EDatabaseError naming the position of an unexpected character or an
// unterminated literal or name.
std::vector<TFilterLexeme> TokenizeFilter(const std::string& text);

// "Filter expression error at position N: detail"
[[noreturn]] void RaiseFilterSyntaxError(int position, const std::string& detail);
