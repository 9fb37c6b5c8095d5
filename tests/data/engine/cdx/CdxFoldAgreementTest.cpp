// Whether an UPPER() tag holds every record a search ignoring case finds,
// per code page and key.

#include "data/engine/dbf/CdxFoldAgreement.h"

#include <gtest/gtest.h>

namespace {

bool Agrees(int codePage, const char* key)
{
    TCodePage page(codePage);
    return cdx::UpperKeysFindFoldedText(cdx::BuildCaseTables(codePage), page, key);
}

} // namespace

TEST(CdxFoldAgreement, SingleByteCodePagesAgreeForEveryKey)
{
    EXPECT_TRUE(Agrees(1252, "anna"));
    EXPECT_TRUE(Agrees(1252, "\xC3\xB6lbaum"));
    EXPECT_TRUE(Agrees(1251, "\xD1\x91\xD0\xBB\xD0\xBA\xD0\xB0"));
    EXPECT_TRUE(Agrees(437, "Kiosk"));
}

TEST(CdxFoldAgreement, OtherCodePagesAgreeOnlyForAsciiKeysNoOtherCharacterFoldsInto)
{
    // Double-byte code pages change only ASCII letters in upper case.
    EXPECT_TRUE(Agrees(936, "abc"));
    EXPECT_FALSE(Agrees(936, "\xCE\xB1\xCE\xB2"));    // Greek, which GBK holds in both cases
    EXPECT_FALSE(Agrees(936, "\xEF\xBC\xA1"));        // a full-width A
    // UTF-8 holds the Kelvin sign and the long s, which fold to "k" and "s".
    EXPECT_TRUE(Agrees(65001, "abc"));
    EXPECT_FALSE(Agrees(65001, "kiosk"));
    EXPECT_FALSE(Agrees(65001, "Base"));
}
