#include "AsciiTestSupport.h"

#include "data/engine/ascii/AsciiDriver.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const char* const Schema = "[T]\nFILETYPE=VARYING\nCHARSET=ascii\nDELIMITER=\"\nSEPARATOR=,\n"
                           "Field1=Name,CHAR,12,0,0\nField2=Qty,LONGINT,11,0,12\n";

std::unique_ptr<TEngineCursor> OpenTable(const std::string& path)
{
    TOpenTableParams params;
    params.Path = path;
    return CreateAsciiDriver()->OpenTable(params);
}

struct TModelRecord {
    std::string Name;
    int32_t Qty;
    std::string Bookmark;
};

std::string ModelFile(const std::vector<TModelRecord>& model)
{
    std::string text;
    for (const TModelRecord& record : model)
        text += "\"" + record.Name + "\"," + std::to_string(record.Qty) + "\n";
    return text;
}

} // namespace

// Random inserts, appends, edits and deletes through two cursors, checked
// against a plain list after every step: the file's text, record numbers,
// and that every bookmark still finds its own record, in order.
TEST(AsciiRandomEdits, TwoCursorsAgreeWithAModelAfterEveryStep)
{
    TScratchFolder folder;
    WriteBytes(folder.File("t.sch"), Schema);
    WriteBytes(folder.File("t.txt"), "\"seed\",0\n");
    std::vector<std::unique_ptr<TEngineCursor>> cursors;
    cursors.push_back(OpenTable(folder.File("t.txt")));
    cursors.push_back(OpenTable(folder.File("t.txt")));
    std::vector<std::vector<TModelRecord>> views(2);   // what each cursor's bookmarks were taken as
    std::vector<TModelRecord> model{{"seed", 0, ""}};
    std::mt19937 random(99);
    int next = 1;

    for (int step = 0; step < 300; ++step) {
        size_t who = random() % 2;
        TEngineCursor& cursor = *cursors[who];
        cursor.Refresh();
        int64_t count = static_cast<int64_t>(model.size());
        ASSERT_EQ(cursor.RecordCount(), count) << "step " << step;
        int action = static_cast<int>(random() % 4);
        if (count == 0)
            action = 1;
        if (action == 0) {   // edit
            int64_t at = static_cast<int64_t>(random() % count);
            ASSERT_TRUE(cursor.SetRecNo(at + 1));
            TEngineRecord record;
            cursor.LockRecord(record);
            ASSERT_EQ(record[0].AsString(), model[at].Name) << "step " << step;
            record[1] = TVariant(int32_t(next));
            cursor.ModifyRecord(record);
            model[at].Qty = next++;
        } else if (action == 1) {   // insert or append
            bool append = random() % 2 == 0;
            int64_t at = append ? count : static_cast<int64_t>(random() % (count + 1));
            if (!append) {
                if (at < count)
                    ASSERT_TRUE(cursor.SetRecNo(at + 1));
                else
                    cursor.SetToEnd();
            }
            TModelRecord added{"n" + std::to_string(next), next, ""};
            ++next;
            TEngineRecord record{TVariant(added.Name), TVariant(added.Qty)};
            cursor.InsertRecord(record, append);
            ASSERT_EQ(cursor.RecNo(), at + 1) << "step " << step;
            model.insert(model.begin() + at, added);
        } else if (action == 2) {   // delete
            int64_t at = static_cast<int64_t>(random() % count);
            ASSERT_TRUE(cursor.SetRecNo(at + 1));
            cursor.DeleteRecord();
            model.erase(model.begin() + at);
        }
        // action 3: only look.

        ASSERT_EQ(ReadBytes(folder.File("t.txt")), ModelFile(model)) << "step " << step;
        // Every record's bookmark, taken by this cursor now, names it and
        // orders as the file does.
        std::vector<std::string> marks;
        for (int64_t i = 0; i < static_cast<int64_t>(model.size()); ++i) {
            ASSERT_TRUE(cursor.SetRecNo(i + 1));
            marks.push_back(cursor.Bookmark());
        }
        for (size_t i = 1; i < marks.size(); ++i)
            ASSERT_LT(cursor.CompareBookmarks(marks[i - 1], marks[i]), 0) << "step " << step;
        std::shuffle(marks.begin(), marks.end(), random);
        for (const std::string& mark : marks) {
            ASSERT_TRUE(cursor.GotoBookmark(mark));
            TEngineRecord record;
            ASSERT_TRUE(cursor.ReadCurrent(record));
            ASSERT_EQ(record[0].AsString(), model[cursor.RecNo() - 1].Name);
        }
    }
}

// Bookmarks a cursor took stay valid across its own inserts and deletes.
TEST(AsciiRandomEdits, BookmarksSurviveTheirCursorsEdits)
{
    TScratchFolder folder;
    WriteBytes(folder.File("t.sch"), Schema);
    std::string data;
    for (int i = 0; i < 20; ++i)
        data += "\"r" + std::to_string(i) + "\"," + std::to_string(i) + "\n";
    WriteBytes(folder.File("t.txt"), data);
    auto cursor = OpenTable(folder.File("t.txt"));
    std::vector<std::pair<std::string, std::string>> marks;   // bookmark, name
    for (int i = 1; i <= 20; ++i) {
        ASSERT_TRUE(cursor->SetRecNo(i));
        marks.emplace_back(cursor->Bookmark(), "r" + std::to_string(i - 1));
    }
    std::mt19937 random(5);
    std::vector<bool> deleted(marks.size(), false);
    for (int step = 0; step < 60; ++step) {
        size_t pick = random() % marks.size();
        if (!deleted[pick] && random() % 3 == 0 && pick < 20) {
            ASSERT_TRUE(cursor->GotoBookmark(marks[pick].first));
            cursor->DeleteRecord();
            deleted[pick] = true;
        } else {
            cursor->SetRecNo(1 + static_cast<int64_t>(random() % std::max<int64_t>(cursor->RecordCount(), 1)));
            TEngineRecord record{TVariant("i" + std::to_string(step)), TVariant(int32_t(step))};
            cursor->InsertRecord(record, false);
            marks.emplace_back(cursor->Bookmark(), "i" + std::to_string(step));
            deleted.push_back(false);
        }
        for (size_t i = 0; i < marks.size(); ++i) {
            bool found = cursor->GotoBookmark(marks[i].first);
            ASSERT_EQ(found, !deleted[i]) << "step " << step << " mark " << i;
            if (!found)
                continue;
            TEngineRecord record;
            ASSERT_TRUE(cursor->ReadCurrent(record));
            ASSERT_EQ(record[0].AsString(), marks[i].second);
        }
    }
}
