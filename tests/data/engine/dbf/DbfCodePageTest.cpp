// Which code page a table's texts are read in, and how texts cut by other
// writers are read.

#include "DbfTestSupport.h"

#include "data/engine/dbf/DbfHeader.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

TEST(DbfCodePage, TheLanguageDriverChoosesAndUnknownOnesReadAsGbk)
{
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x00), 936);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x57), 936) << "\"the writer's ANSI page\"";
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x4D), 936);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x7A), 936);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x01), 437);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x03), 1252);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x26), 866);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0x86), 737);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0xC9), 1251);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0xF0), 65001);
    EXPECT_EQ(DbfCodePageFromLanguageDriver(0xEE), 936);

    EXPECT_EQ(DbfCodePageFromDriverName("DB437US0"), 437);
    EXPECT_EQ(DbfCodePageFromDriverName("db852hdc"), 852);
    EXPECT_EQ(DbfCodePageFromDriverName("DB936CN0"), 936);
    EXPECT_EQ(DbfCodePageFromDriverName("DBWINUS0"), 936);
    EXPECT_EQ(DbfCodePageFromDriverName("FOXUS437"), 437);
    EXPECT_EQ(DbfCodePageFromDriverName(""), 936);
}

TEST(DbfCodePage, ALevel7TableKeepsItsCodePageThroughCreateAndOpen)
{
    TScratchDir dir;
    for (int codePage : {1252, 866, 936}) {
        TCreateTableParams create;
        create.Path = dir.File("cp" + std::to_string(codePage) + ".dbf");
        create.Level = "7";
        create.CodePage = codePage;
        TEngineFieldDef name;
        name.Name = "NAME";
        name.DataType = ftString;
        name.Size = 10;
        create.Fields = {name};
        DbfDriver().CreateTable(create);
        EXPECT_EQ(OpenDbf(create.Path)->CodePage(), codePage);
    }
}

TEST(DbfCodePage, ADoubleByteCharacterCutAtTheFieldEndIsDropped)
{
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("cut.dbf");
    create.Level = "III";
    TEngineFieldDef name;
    name.Name = "NAME";
    name.DataType = ftString;
    name.Size = 5;
    create.Fields = {name};
    DbfDriver().CreateTable(create);
    {
        auto cursor = OpenDbf(create.Path);
        TEngineRecord record = {TVariant("中文")};
        cursor->InsertRecord(record, true);
        // Six bytes do not fit five: refused, not cut.
        TEngineRecord tooLong = {TVariant("中文字")};
        EXPECT_THROW(cursor->InsertRecord(tooLong, true), EDBEngineError);
    }
    // Another writer cut "中文字" after five bytes: the lone lead byte goes.
    std::string bytes = ReadFileBytes(create.Path);
    size_t at = bytes.find("\xD6\xD0\xCE\xC4");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 4] = '\xD7';
    WriteFileBytes(create.Path, bytes);
    auto cursor = OpenDbf(create.Path, true);
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(record[0].AsString(), "中文");
}
