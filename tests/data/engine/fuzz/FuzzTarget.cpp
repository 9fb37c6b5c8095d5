#include "FuzzTarget.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <strings.h>

namespace fs = std::filesystem;

namespace {

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool HasExtension(const fs::path& path, const std::string& extension)
{
    const std::string ext = path.extension().string();
    return ext.size() == extension.size() + 1 && strcasecmp(ext.c_str() + 1, extension.c_str()) == 0;
}

// Companions are named like their table in any case (account4.dbf, ACCOUNT4.cdx).
bool SameStem(const fs::path& a, const fs::path& b)
{
    return strcasecmp(a.stem().c_str(), b.stem().c_str()) == 0;
}

// Reads everything the cursor offers: forwards, backwards, by number and by bookmark.
void Browse(TEngineCursor& cursor)
{
    TEngineRecord record;
    cursor.SetToBegin();
    for (int n = 0; n < 20000 && cursor.Next(record); ++n) {
    }
    cursor.SetToEnd();
    for (int n = 0; n < 50 && cursor.Prior(record); ++n) {
    }
    const int64_t count = cursor.RecordCount();
    if (count > 0 && cursor.SetRecNo(count)) {
        cursor.ReadCurrent(record);
        const std::string mark = cursor.Bookmark();
        cursor.SetToBegin();
        cursor.GotoBookmark(mark);
        cursor.CompareBookmarks(mark, mark);
    }
}

// The edits a user makes: post a record unchanged, change it, add one, delete one.
void Edit(TEngineCursor& cursor)
{
    TEngineRecord record;
    if (cursor.RecordCount() > 0 && cursor.SetRecNo(1) && cursor.ReadCurrent(record)) {
        cursor.LockRecord(record);
        cursor.ModifyRecord(record);
    }
    TEngineRecord fresh = cursor.BlankRecord();
    if (!fresh.empty() && !record.empty())
        fresh = record;
    try {
        cursor.InsertRecord(fresh, true);
    } catch (const EDBEngineError&) {
        // a key violation or a value the table refuses: the table is intact
    }
    if (cursor.RecordCount() > 0 && cursor.SetRecNo(1))
        cursor.DeleteRecord();
    cursor.Refresh();
    Browse(cursor);
}

std::unique_ptr<TEngineCursor> Open(TEngineDriver& driver, const std::string& path, bool readOnly)
{
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = readOnly;
    params.Passwords = {"123"};   // the corpus's encrypted tables
    return driver.OpenTable(params);
}

} // namespace

std::vector<TFuzzSeed> FuzzSeedsIn(const std::string& folder, const TFuzzDriver& driver, size_t maxBytes)
{
    std::vector<fs::path> tables;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); it != fs::recursive_directory_iterator();
         it.increment(error))
        if (it->is_regular_file() && HasExtension(it->path(), driver.Extensions[0]))
            tables.push_back(it->path());
    std::sort(tables.begin(), tables.end());
    std::vector<TFuzzSeed> seeds;
    for (const fs::path& table : tables) {
        TFuzzSeed seed;
        seed.Name = table.string();
        seed.Parts.push_back({0, FileBytes(table)});
        size_t total = seed.Parts[0].Bytes.size();
        for (const auto& entry : fs::directory_iterator(table.parent_path(), error)) {
            if (entry.path() == table || !SameStem(entry.path(), table))
                continue;
            for (size_t k = 1; k < driver.Extensions.size(); ++k)
                if (HasExtension(entry.path(), driver.Extensions[k])) {
                    seed.Parts.push_back({static_cast<uint8_t>(k - 1), FileBytes(entry.path())});
                    total += seed.Parts.back().Bytes.size();
                }
        }
        if (total <= maxBytes)
            seeds.push_back(std::move(seed));
    }
    return seeds;
}

TFuzzOutcome RunFuzzInput(const TFuzzDriver& fuzzDriver, const uint8_t* data, size_t size, const std::string& folder)
{
    const std::string path = WriteFuzzFiles(UnpackFuzzInput(data, size), fuzzDriver.Extensions, folder);
    if (path.empty())
        return TFuzzOutcome::Refused;
    auto driver = fuzzDriver.Create();
    try {
        Browse(*Open(*driver, path, true));
        auto cursor = Open(*driver, path, false);
        if (cursor->CanModify())
            Edit(*cursor);
        return TFuzzOutcome::Opened;
    } catch (const EDBEngineError&) {
        return TFuzzOutcome::Refused;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The driver raised something other than an engine error: %s\n", e.what());
        std::abort();
    }
}
