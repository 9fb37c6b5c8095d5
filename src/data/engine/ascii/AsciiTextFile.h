#pragma once
// The text file of an ASCII table as a list of lines: an index of where
// each line starts, built when the file is opened, so any line is read
// without walking the file.  Changes are written to a new file beside the
// old one, which is then renamed over it: a failed write leaves the old
// file exactly as it was.  Lines end as the file's first line ends ("\r\n"
// or "\n"; "\r\n" for a file without any); a UTF-8 byte order mark at the
// start is kept before the first line and a DOS end-of-file mark (^Z) at
// the very end after the last one.

#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

class TAsciiTextFile {
public:
    // Opens and indexes the file; raises DBIERR_NOSUCHTABLE when it is
    // missing and DBIERR_READERR when it cannot be read.
    explicit TAsciiTextFile(const std::string& path);
    ~TAsciiTextFile();
    TAsciiTextFile(const TAsciiTextFile&) = delete;
    TAsciiTextFile& operator=(const TAsciiTextFile&) = delete;

    const std::string& Path() const { return FPath; }
    int64_t LineCount() const { return static_cast<int64_t>(FStarts.size()) - 1; }
    // The bytes of a line without its line end.
    std::string ReadLine(int64_t index);
    const std::string& LineEnd() const { return FLineEnd; }
    // A file without any line break (emptied, say) keeps the line ends of
    // the version of it read before.
    void KeepLineEndOf(const TAsciiTextFile& previous);

    // True when the file on disk is no longer the one indexed (replaced or
    // changed by another program).
    bool ChangedOnDisk() const;
    // True when both index the same file on disk (one changed in place).
    bool IsSameFileAs(const TAsciiTextFile& other) const;
    // Replaces `removeCount` lines from `first` on with `lines` (given
    // without line ends) by writing the new file and renaming it over the
    // old one.  Raises DBIERR_WRITEERR or DBIERR_NODISKSPACE and leaves the
    // file untouched on failure.
    void ReplaceLines(int64_t first, int64_t removeCount, const std::vector<std::string>& lines);

private:
    void BuildIndex();
    uint64_t DataStart() const;   // after a UTF-8 byte order mark
    void ReadAt(uint64_t offset, char* buffer, size_t size, size_t& done) const;
    void CopyRange(int target, uint64_t begin, uint64_t end, const std::string& tempPath) const;

    std::string FPath;            // the file itself, symbolic links resolved
    int FHandle = -1;
    struct stat FIdentity {};
    std::vector<uint64_t> FStarts;   // start of each line, then the end of the data
    uint64_t FDataEnd = 0;           // before a trailing ^Z
    uint64_t FFileSize = 0;
    std::string FLineEnd = "\r\n";
    bool FLineEndFound = false;

    // Read-ahead window around the lines last read.
    std::string FWindow;
    uint64_t FWindowStart = 0;
};

// Writes a whole file the same safe way: a new file beside it, renamed over it.
void WriteFileReplacing(const std::string& path, const std::string& content, mode_t mode);

// Removes the new files that writes stopped before their rename left beside
// `path` (".NAME.TXT.XXXXXX"); the caller holds the table's write lock, so
// no write is under way.  Returns how many were removed.
int RemoveUnfinishedReplacements(const std::string& path);
