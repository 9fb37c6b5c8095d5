// Memory and file streams: positions, sizes, copies, and the errors of
// short reads, failed writes and files that cannot be opened.
#include "platform/Exceptions.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/tm_streams_XXXXXX";
        FPath = mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(FPath); }
    std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

std::vector<uint8_t> Pattern(size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

template <typename E>
std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "(no exception)";
}

TEST(MemoryStream, WriteSeekReadAndSize)
{
    TMemoryStream s;
    const char text[] = "Hello, stream";
    s.WriteBuffer(text, 13);
    EXPECT_EQ(s.Size(), 13);
    EXPECT_EQ(s.Position(), 13);
    EXPECT_EQ(s.Seek(-6, soFromEnd), 7);
    char word[7] = {};
    s.ReadBuffer(word, 6);
    EXPECT_STREQ(word, "stream");
    EXPECT_EQ(s.Read(word, 1), 0);   // at the end
    EXPECT_EQ(s.Seek(-13, soFromCurrent), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.Memory()), 5), "Hello");
    EXPECT_THROW(s.Seek(-1, soFromBeginning), EStreamError);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, ShortReadRaisesReadError)
{
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buffer[4];
    EXPECT_EQ(MessageOf<EReadError>([&] { s.ReadBuffer(buffer, 3); }), "Stream read error");
}

TEST(MemoryStream, GapsAndGrowthReadAsZeros)
{
    TMemoryStream s;
    s.WriteBuffer("xyz", 3);
    s.Seek(5, soFromEnd);
    s.WriteBuffer("!", 1);
    ASSERT_EQ(s.Size(), 9);
    const uint8_t expected[] = {'x', 'y', 'z', 0, 0, 0, 0, 0, '!'};
    EXPECT_EQ(std::vector<uint8_t>(s.Memory(), s.Memory() + 9), std::vector<uint8_t>(expected, expected + 9));
    // Shrinking and growing again must not bring the old bytes back.
    s.SetSize(1);
    EXPECT_EQ(s.Position(), 1);
    s.SetSize(3);
    EXPECT_EQ(s.Memory()[0], 'x');
    EXPECT_EQ(s.Memory()[1], 0);
    EXPECT_EQ(s.Memory()[2], 0);
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, CopyFrom)
{
    TMemoryStream source, target;
    const auto bytes = Pattern(200000);   // several copy chunks
    source.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    // 0 copies the whole source from its beginning, wherever it stands.
    source.SetPosition(12345);
    EXPECT_EQ(target.CopyFrom(source, 0), 200000);
    ASSERT_EQ(target.Size(), 200000);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), target.Memory()));
    // A count copies from the current position.
    TMemoryStream part;
    source.SetPosition(10);
    EXPECT_EQ(part.CopyFrom(source, 5), 5);
    EXPECT_TRUE(std::equal(bytes.begin() + 10, bytes.begin() + 15, part.Memory()));
    EXPECT_EQ(source.Position(), 15);
    // More than the source holds.
    source.SetPosition(199990);
    EXPECT_THROW(part.CopyFrom(source, 11), EReadError);
}

TEST(FileStream, CreateWriteReopenRead)
{
    TempFolder folder;
    const std::string path = folder / "data.bin";
    const auto bytes = Pattern(70000);
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        EXPECT_EQ(f.Size(), 70000);
        EXPECT_EQ(f.Position(), 70000);
    }
    TFileStream f(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(f.Size(), 70000);
    std::vector<uint8_t> back(bytes.size());
    f.ReadBuffer(back.data(), static_cast<int64_t>(back.size()));
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(f.Seek(-2, soFromEnd), 69998);
    uint8_t last[2];
    f.ReadBuffer(last, 2);
    EXPECT_EQ(last[1], bytes.back());
    EXPECT_EQ(MessageOf<EReadError>([&] { f.ReadBuffer(last, 1); }), "Stream read error");
    // Opened for reading only: writing fails.
    f.SetPosition(0);
    EXPECT_EQ(MessageOf<EWriteError>([&] { f.WriteBuffer("x", 1); }), "Stream write error");
}

TEST(FileStream, OpenModesKeepOrTruncateTheContent)
{
    TempFolder folder;
    const std::string path = folder / "modes.txt";
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("0123456789", 10);
    }
    {
        TFileStream f(path, fmOpenWrite);   // keeps the content
        EXPECT_EQ(f.Size(), 10);
        f.Seek(2, soFromBeginning);
        f.WriteBuffer("ab", 2);
    }
    {
        TFileStream f(path, fmOpenReadWrite);
        char text[11] = {};
        f.ReadBuffer(text, 10);
        EXPECT_STREQ(text, "01ab456789");
        f.SetSize(4);
        EXPECT_EQ(f.Size(), 4);
        EXPECT_EQ(f.Position(), 4);
    }
    {
        TFileStream f(path, fmCreate);   // truncates
        EXPECT_EQ(f.Size(), 0);
    }
}

TEST(FileStream, ErrorsNameTheFileAndTheReason)
{
    TempFolder folder;
    const std::string missing = folder / "missing.dbf";
    EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream f(missing, fmOpenRead); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    const std::string nowhere = folder / "no/such/folder.dbf";
    EXPECT_EQ(MessageOf<EFCreateError>([&] { TFileStream f(nowhere, fmCreate); }),
              "Cannot create file \"" + nowhere + "\". No such file or directory");
    const std::string dir = folder / "";
    EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream f(dir, fmOpenRead); }),
              "Cannot open file \"" + dir + "\". Is a directory");
    EXPECT_THROW(TFileStream(missing, fmOpenReadWrite), EStreamError);
}

TEST(FileStream, FullDiskIsAWriteError)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "/dev/full is not available";
    TFileStream f("/dev/full", fmOpenWrite);
    EXPECT_EQ(MessageOf<EWriteError>([&] { f.WriteBuffer("data", 4); }), "Stream write error");
}

TEST(MemoryStream, FilesRoundTrip)
{
    TempFolder folder;
    const std::string path = folder / "memo.bin";
    TMemoryStream out;
    const auto bytes = Pattern(1000);   // includes zero bytes
    out.WriteBuffer(bytes.data(), 1000);
    out.SaveToFile(path);
    TMemoryStream in;
    in.WriteBuffer("old content", 11);
    in.LoadFromFile(path);
    EXPECT_EQ(in.Size(), 1000);
    EXPECT_EQ(in.Position(), 0);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), in.Memory()));
    EXPECT_THROW(in.LoadFromFile(folder / "absent"), EFOpenError);
    EXPECT_EQ(in.Size(), 1000) << "a failed load keeps the content";
}

} // namespace
