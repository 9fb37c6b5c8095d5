#pragma once
// The undo journal of one post to an indexed table.  Such a post writes the
// table, its memo file and its index in several places; a process stopped
// between those writes would leave a table whose index no longer matches
// it.  So before the first write, every byte range the post will replace
// and every file's length are saved in one write to a journal beside the
// table (".NAME.DBF.undo"), with the files' names, its length and a
// checksum; when the post is complete its first bytes are cleared.  (The
// file itself stays open while the table is, so posts overwrite blocks
// the file system already holds instead of allocating new ones.)  Whoever
// next opens the table for writing and finds a journal (holding the
// index's update lock, so never one a live post is still using) puts the
// saved bytes back and cuts the files to their old lengths: the post
// never returned, so the state before it is the right one.  A journal cut
// short fails its checksum and is ignored: nothing had been written yet.

#include "data/engine/dbf/DbfFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The journal file of one table, kept open from post to post.  While it is
// open the store holds a shared lock on it, and a cursor closing the table
// removes the file only when it can lock it alone: a journal some cursor
// still writes its posts to is never taken from under it.
class TDbfJournalStore {
public:
    explicit TDbfJournalStore(std::string tablePath) : FTablePath(std::move(tablePath)) {}

    const std::string& TablePath() const { return FTablePath; }
    // The journal file, opened (or created) by the first call; the caller
    // holds the index's update lock.
    TDbfFile& File();
    // The bytes of the journal being written, kept from post to post.
    std::vector<uint8_t>& Buffer() { return FBuffer; }

private:
    std::string FTablePath;
    std::unique_ptr<TDbfFile> FFile;
    std::vector<uint8_t> FBuffer;
};

class TDbfJournal {
public:
    ~TDbfJournal();

    static std::string PathFor(const std::string& tablePath);

    // Files the post writes; returns the id to save their bytes under.
    uint8_t AddFile(TDbfFile& file);
    // Saves `length` bytes at `offset` of file `id` (as far as they exist).
    void SaveBytes(uint8_t id, uint64_t offset, size_t length);
    void SaveBytes(uint8_t id, uint64_t offset, const uint8_t* bytes, size_t length);
    void SaveSize(uint8_t id, uint64_t size);

    // Writes the journal in one write (the caller holds the index's update lock).
    void Write(TDbfJournalStore& store);
    bool Written() const { return FStore != nullptr; }
    // Puts back what the post replaced, through the files it was given.
    void RollBack();
    // The post is complete (or rolled back): the journal goes.
    void Finish();

    // Rolls back the post a stopped process left, if any; true when one was
    // found and put back.  Raises EDBEngineError when a write fails (the
    // journal then stays for the next attempt).  The caller holds the
    // index's update lock.
    static bool Recover(const std::string& tablePath);
    // Removes the journal file of a table nobody is posting to, unless a
    // journal store (of any cursor, this process's too) holds it open.  The
    // caller holds the index's update lock.
    static void Remove(const std::string& tablePath);
    // True when a journal waits to be rolled back.
    static bool Pending(const std::string& tablePath);

private:
    struct TSaved {
        uint8_t File = 0;
        bool IsSize = false;
        uint64_t Offset = 0;   // or the length
        std::vector<uint8_t> Bytes;
    };
    static bool ReadJournal(const std::string& tablePath, std::vector<std::string>& names, std::vector<TSaved>& saved);
    static void Apply(const std::vector<TSaved>& saved, const std::vector<TDbfFile*>& files);

    std::vector<TDbfFile*> FFiles;
    std::vector<TSaved> FSaved;
    TDbfFile* FStore = nullptr;
};
