#pragma once
// The table engine: the drivers linked into the program, found by name
// ("DBASE", "FOXPRO", "PARADOX", "ASCIIDRV").

#include "data/engine/EngineCursor.h"

#include <memory>
#include <string>
#include <vector>

struct TOpenTableParams {
    std::string Path;                    // full path of the table file
    bool ReadOnly = false;
    bool Exclusive = false;
    std::vector<std::string> Passwords;  // the session's passwords, for encrypted tables
    int CodePage = 0;                    // read and write texts in this one; 0: the table's own
};

struct TCreateTableParams {
    std::string Path;
    std::vector<TEngineFieldDef> Fields;
    int KeyFieldCount = 0;               // leading fields that form the primary key
    std::string Password;                // encrypts the table when not empty
    int CodePage = 0;                    // 0: the driver's default (936)
    std::string Level;                   // format level; empty: the driver's default
};

class TEngineDriver {
public:
    virtual ~TEngineDriver() = default;
    virtual std::vector<std::string> Names() const = 0;
    // Raises DBIERR_TABLEREADONLY when a read-write open is asked for a file
    // that cannot be written, DBIERR_NOTSUFFTABLERIGHTS when a password is
    // needed that Passwords lacks.
    virtual std::unique_ptr<TEngineCursor> OpenTable(const TOpenTableParams& params) = 0;
    virtual void CreateTable(const TCreateTableParams& params) = 0;
};

class TEngine {
public:
    void RegisterDriver(std::shared_ptr<TEngineDriver> driver);
    void UnregisterDriver(const TEngineDriver* driver);
    TEngineDriver* FindDriver(const std::string& name) const;   // case-insensitive
    TEngineDriver& Driver(const std::string& name) const;       // raises DBIERR_UNKNOWNTBLTYPE

private:
    std::vector<std::shared_ptr<TEngineDriver>> FDrivers;
};
