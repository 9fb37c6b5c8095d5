#pragma once
// Conversion between a table's code page and UTF-8 at the file boundary.

#include <iconv.h>
#include <string>
#include <string_view>

class TCodePage {
public:
    // codePage is a Windows/DOS code page number (936, 1252, 437, ...);
    // 65001 is UTF-8, 0 means not recorded and reads as 936.
    explicit TCodePage(int codePage);
    ~TCodePage();
    TCodePage(const TCodePage&) = delete;
    TCodePage& operator=(const TCodePage&) = delete;

    int Number() const { return FNumber; }
    // Re-targets the converter to another code page (the object stays where
    // it is, so codecs holding a reference to it follow).  Raises as the
    // constructor does and leaves the old code page in force then.
    void Assign(int codePage);
    // Bytes that are not valid in the code page come out as U+FFFD.
    std::string ToUtf8(std::string_view bytes) const;
    // Raises EDBEngineError (DBIERR_INVALIDCHAR) naming the first character
    // the code page cannot hold; never replaces it.
    std::string FromUtf8(std::string_view text) const;
    bool CanEncode(std::string_view text) const;

    static std::string IconvName(int codePage);

private:
    void Open(int codePage);
    void Close();

    int FNumber;
    iconv_t FToUtf8 = reinterpret_cast<iconv_t>(-1);
    iconv_t FFromUtf8 = reinterpret_cast<iconv_t>(-1);
};
