// Read-only files and tables, record locks between two openers, exclusive
// opens, and failed writes that must leave every file as it was.

#include "ParadoxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/ParadoxCursor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

uint16_t ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EDBEngineError& e) {
        return e.ErrorCode();
    }
    return 0;
}

std::string ReasonOf(TEngineCursor& cursor)
{
    return static_cast<TParadoxCursor&>(cursor).ReadOnlyReason();
}

void CreateSmall(const std::string& path, int keys, bool memo = false)
{
    TCreateTableParams p;
    p.Path = path;
    p.KeyFieldCount = keys;
    TEngineFieldDef id;
    id.Name = "Id";
    id.DataType = ftInteger;
    TEngineFieldDef text;
    text.Name = "Text";
    text.DataType = memo ? ftMemo : ftString;
    text.Size = memo ? 5 : 100;
    p.Fields = {id, text};
    CreateParadoxDriver()->CreateTable(p);
    auto cursor = OpenParadox(path);
    for (int i = 1; i <= 50; ++i) {
        TEngineRecord r{TVariant(int32_t(i * 2)), TVariant(std::string(memo ? 100 : 20, 'a' + i % 26))};
        cursor->InsertRecord(r, true);
    }
}

// Makes writes that grow any file beyond `limit` bytes fail (EFBIG) while alive.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit l = FOld;
        l.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    sighandler_t FOldHandler;
};

std::map<std::string, std::string> Snapshot(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (auto& entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
    return files;
}

} // namespace

TEST(ParadoxSharing, ReadOnlyFileRefusesAReadWriteOpen)
{
    TScratchDir dir;
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/joins/joina.db"));
    chmod(path.c_str(), 0444);
    if (geteuid() == 0) {
        EXPECT_FALSE(OpenParadox(path, true)->CanModify());
        GTEST_SKIP() << "running as root: file permissions do not refuse the superuser";
    }
    EXPECT_EQ(ErrorOf([&] { OpenParadox(path); }), DBIERR_TABLEREADONLY);
    EXPECT_FALSE(OpenParadox(path, true)->CanModify());
}

TEST(ParadoxSharing, CompanionsTheEngineDoesNotMaintainMakeTheTableReadOnly)
{
    TScratchDir dir;
    // Secondary indexes .X02/.Y02 and .X0C/.Y0C.
    auto typed = OpenParadox(dir.CopyTable(SharedPath("paradox/steinm_pxlib/TypSammlung.DB")));
    EXPECT_FALSE(typed->CanModify());
    EXPECT_NE(ReasonOf(*typed).find("secondary indexes"), std::string::npos) << ReasonOf(*typed);
    TEngineRecord r = typed->BlankRecord();
    EXPECT_EQ(ErrorOf([&] { typed->InsertRecord(r, true); }), DBIERR_TABLEREADONLY);

    // A memo table whose .MB is missing.
    auto membre = OpenParadox(dir.CopyTable(SharedPath("paradox/teverett_paradoxReader/MEMBRE.DB")));
    EXPECT_FALSE(membre->CanModify());
    EXPECT_NE(ReasonOf(*membre).find(".MB"), std::string::npos) << ReasonOf(*membre);

    // A keyed table with a byte-order sort order and nothing else beside it is writable.
    auto county = OpenParadox(dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/geog/County.DB")));
    EXPECT_TRUE(county->CanModify()) << ReasonOf(*county);

    // A lock file of another program beside the table.
    std::string joina = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/joins/joina.db"));
    EXPECT_TRUE(OpenParadox(joina)->CanModify());
    { std::ofstream(dir.File("PDOXUSRS.LCK")) << "x"; }
    auto locked = OpenParadox(joina);
    EXPECT_FALSE(locked->CanModify());
    EXPECT_NE(ReasonOf(*locked).find("lock files"), std::string::npos);
}

TEST(ParadoxSharing, WritesToARealTableKeepItValidForItsIndex)
{
    TScratchDir dir;
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/geog/County.DB"));
    auto cursor = OpenParadox(path);
    ASSERT_TRUE(cursor->CanModify());
    TEngineRecord r = cursor->BlankRecord();
    r[0] = TVariant(int32_t(999999));
    r[1] = TVariant("Neuland");
    cursor->InsertRecord(r, false);
    EXPECT_EQ(cursor->RecNo(), cursor->RecordCount());
    r[0] = TVariant(int32_t(1));
    EXPECT_EQ(ErrorOf([&] { cursor->InsertRecord(r, false); }), DBIERR_KEYVIOL);
    ASSERT_TRUE(cursor->SetRecNo(2));
    cursor->DeleteRecord();
    auto again = OpenParadox(path, true);
    EXPECT_EQ(again->RecordCount(), 3218);
    auto all = ReadAll(*again);
    EXPECT_EQ(all.back()[1].AsString(), "Neuland");
    EXPECT_EQ(all[1][0].AsInteger(), 3);
}

TEST(ParadoxSharing, RecordLocksExcludeASecondLockerAndReReadTheRecord)
{
    TScratchDir dir;
    std::string path = dir.File("locks.db");
    CreateSmall(path, 1);
    auto first = OpenParadox(path);
    auto second = OpenParadox(path);
    TEngineRecord fresh;
    ASSERT_TRUE(first->SetRecNo(3));
    ASSERT_TRUE(second->SetRecNo(3));
    first->LockRecord(fresh);
    EXPECT_EQ(fresh[0].AsInteger(), 6);
    EXPECT_EQ(ErrorOf([&] { second->LockRecord(fresh); }), DBIERR_LOCKED);
    ASSERT_TRUE(second->SetRecNo(4));
    EXPECT_NO_THROW(second->LockRecord(fresh));
    second->UnlockRecord();

    // The first writer's change is what the second locker reads afterwards.
    first->ModifyRecord({TVariant(int32_t(6)), TVariant("changed by the first")});
    ASSERT_TRUE(second->SetRecNo(3));
    second->LockRecord(fresh);
    EXPECT_EQ(fresh[1].AsString(), "changed by the first");
    second->UnlockRecord();

    // Another opener's insert before the current record is picked up: the
    // second cursor stays on its record.
    ASSERT_TRUE(second->SetRecNo(10));
    TEngineRecord earlier{TVariant(int32_t(1)), TVariant("first")};
    first->InsertRecord(earlier, false);
    second->LockRecord(fresh);
    EXPECT_EQ(fresh[0].AsInteger(), 20);
    EXPECT_EQ(second->RecNo(), 11);
    second->UnlockRecord();

    // A record another opener deleted cannot be locked or changed.
    ASSERT_TRUE(first->SetRecNo(11));
    first->DeleteRecord();
    EXPECT_EQ(ErrorOf([&] { second->LockRecord(fresh); }), DBIERR_RECNOTFOUND);
    EXPECT_EQ(ErrorOf([&] { second->ModifyRecord({TVariant(int32_t(20)), TVariant("lost")}); }), DBIERR_NOCURRREC);
    TEngineRecord later{TVariant(int32_t(21)), TVariant("still possible")};
    EXPECT_NO_THROW(second->InsertRecord(later, false));
    first->Refresh();
    EXPECT_EQ(first->RecordCount(), 51);
}

TEST(ParadoxSharing, ExclusiveOpenExcludesOtherOpeners)
{
    TScratchDir dir;
    std::string path = dir.File("alone.db");
    CreateSmall(path, 0);
    TOpenTableParams p;
    p.Path = path;
    p.Exclusive = true;
    auto driver = CreateParadoxDriver();
    {
        auto exclusive = driver->OpenTable(p);
        EXPECT_EQ(ErrorOf([&] { OpenParadox(path); }), DBIERR_FILELOCKED);
    }
    auto shared = OpenParadox(path);
    EXPECT_EQ(ErrorOf([&] { driver->OpenTable(p); }), DBIERR_FILELOCKED);
}

TEST(ParadoxSharing, AFailedWriteLeavesEveryFileAsItWas)
{
    TScratchDir dir;
    std::string heap = dir.File("heap.db");
    CreateSmall(heap, 0, true);
    std::string keyed = dir.File("keyed.db");
    CreateSmall(keyed, 1);
    auto before = Snapshot(dir.Path());

    // A value the field cannot hold: refused before anything is written.
    auto cursor = OpenParadox(heap);
    ASSERT_TRUE(cursor->SetRecNo(1));
    EXPECT_EQ(ErrorOf([&] { cursor->ModifyRecord({TVariant("not a number"), TVariant("x")}); }), DBIERR_INVALIDFIELDVALUE);
    EXPECT_EQ(Snapshot(dir.Path()), before);

    // The files cannot grow: the blob write fails, then the new data block.
    {
        TFileSizeLimit limit(static_cast<rlim_t>(fs::file_size(heap)));
        TEngineRecord big{TVariant(int32_t(1000)), TVariant(std::string(100000, 'b'))};
        EXPECT_NE(ErrorOf([&] { cursor->InsertRecord(big, true); }), 0);
        for (int i = 0; i < 200; ++i) {
            TEngineRecord r{TVariant(int32_t(2000 + i)), TVariant("abc")};
            if (ErrorOf([&] { cursor->InsertRecord(r, true); }) != 0)
                break;
        }
    }
    // The inserts that fitted are there; the one that failed left no trace.
    auto reopened = OpenParadox(heap);
    EXPECT_TRUE(reopened->CanModify()) << ReasonOf(*reopened);
    auto rows = ReadAll(*reopened);
    for (const auto& r : rows)
        EXPECT_NE(r[0].AsInteger(), 1000);
    reopened.reset();
    cursor.reset();

    // The index cannot be replaced (a folder stands in its way): the data file is put back.
    auto keyedCursor = OpenParadox(keyed);
    std::string keyedBefore = ReadFileBytes(keyed);
    fs::rename(dir.File("keyed.px"), dir.File("keyed.px.saved"));
    fs::create_directory(dir.File("keyed.px"));
    TEngineRecord r{TVariant(int32_t(5)), TVariant("odd")};
    EXPECT_NE(ErrorOf([&] { keyedCursor->InsertRecord(r, false); }), 0);
    EXPECT_EQ(ReadFileBytes(keyed), keyedBefore);
    EXPECT_EQ(keyedCursor->RecordCount(), 50);
}
