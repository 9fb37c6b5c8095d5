#pragma once
// TTable: a dataset over one table file, opened through the session's
// engine.  The driver follows TableType, or for ttDefault the file's
// extension: ".DB" Paradox, ".DBF" FoxPro when a memo (".FPT") or index
// (".CDX") file of the same name lies beside it and dBASE otherwise, ".TXT"
// ASCII, anything else the default Paradox driver.

#include "data/DataSet.h"

#include <string>

class TSession;

enum TTableType { ttDefault, ttParadox, ttDBase, ttFoxPro, ttASCII };

class TTable : public TDataSet {
public:
    TTable();
    ~TTable() override;

    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& name);
    // A directory the table name is relative to; empty: the table name's own.
    const std::string& DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const std::string& name);
    TTableType TableType() const { return FTableType; }
    void SetTableType(TTableType type);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool Exclusive() const { return FExclusive; }
    void SetExclusive(bool value);
    // The code page to read and write the table's texts in; 0 (the default)
    // follows the table: its header's mark, or what its texts show.  Never
    // written into the table.
    int CodePage() const { return FCodePage; }
    void SetCodePage(int codePage);
    TSession& Session() const { return *FSession; }
    void SetSession(TSession& session);

    // The file the table opens: the table name within the database
    // directory, with the type's extension when it has none.
    std::string TablePath() const;
    // The table type the driver is chosen by (ttDefault resolved by the extension).
    TTableType ResolvedTableType() const;
    static const char* DriverName(TTableType type);
    // Of the open table: the code page in force and how it was chosen.
    TCodePageChoice CodePageChoice() const;
    // Of the open table: why it cannot be modified (empty when it can).
    std::string ReadOnlyReason() const;
    static const char* DefaultExtension(TTableType type);
    // What the open found of a change another program left unfinished and
    // how the table was put back (see TEngineCursor::RecoveryNote); empty
    // when the table was in order or is closed.
    std::string RecoveryNote() const;

protected:
    std::unique_ptr<TEngineCursor> CreateCursor() override;

private:
    std::string FTableName;
    std::string FDatabaseName;
    TTableType FTableType = ttDefault;
    bool FReadOnly = false;
    bool FExclusive = false;
    int FCodePage = 0;
    std::string FOpenedReadOnlyBecause;   // the read-write open was refused
    TSession* FSession;
};
