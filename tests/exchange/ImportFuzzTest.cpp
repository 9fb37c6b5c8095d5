// The importers against 10,000 damaged and random inputs (ImportFuzz.h):
// each ends in the format error, the prompt's silent abort or a clean
// import, never with a crash, a hang or a half-written record.  The
// sanitizer build runs the same test under AddressSanitizer.

#include "ImportFuzz.h"

#include <gtest/gtest.h>

namespace {

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        static const char digits[] = "0123456789ABCDEF";
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

TEST(ImportFuzz, TenThousandDamagedAndRandomInputs)
{
    TImportFuzzer fuzzer(20261209);
    try {
        fuzzer.Run(10000);
    } catch (const std::exception& error) {
        FAIL() << error.what() << " on input " << Printable(fuzzer.LastInput);
    }
    // Every way of ending was met, so the inputs reach past the header.
    EXPECT_GT(fuzzer.FormatErrors, 1000);
    EXPECT_GT(fuzzer.CleanImports, 500);
    EXPECT_GT(fuzzer.Aborts, 0);
}

}  // namespace
