#pragma once
// Status codes of the table engine and their texts.  A failure is raised as
// EDBEngineError: the status's own text first, then the details given
// (file name, field name, the value refused), each on its own line.

#include "platform/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

enum : uint16_t {
    DBIERR_NONE = 0x0000,
    // not found
    DBIERR_BOF = 0x2201,
    DBIERR_EOF = 0x2202,
    DBIERR_NOCURRREC = 0x2205,
    DBIERR_RECNOTFOUND = 0x2206,
    // data corrupt
    DBIERR_HEADERCORRUPT = 0x2302,
    DBIERR_FILECORRUPT = 0x2303,
    DBIERR_MEMOCORRUPT = 0x2304,
    DBIERR_INDEXCORRUPT = 0x2306,
    // input / output
    DBIERR_READERR = 0x2401,
    DBIERR_WRITEERR = 0x2402,
    DBIERR_NODISKSPACE = 0x2404,
    // limits
    DBIERR_NOMEMORY = 0x2501,
    DBIERR_RECTOOBIG = 0x2505,
    // integrity
    DBIERR_KEYVIOL = 0x2601,
    DBIERR_MINVALERR = 0x2602,
    DBIERR_MAXVALERR = 0x2603,
    DBIERR_REQDERR = 0x2604,
    // invalid request
    DBIERR_INVALIDPARAM = 0x2702,
    DBIERR_INVALIDFIELDVALUE = 0x2708,   // a value the column cannot store
    DBIERR_NOTABLENAME = 0x2710,
    DBIERR_INVALIDCHAR = 0x2711,         // a character the table's code page cannot hold
    // locks
    DBIERR_LOCKED = 0x2801,
    DBIERR_FILELOCKED = 0x2803,
    // security
    DBIERR_NOTSUFFTABLERIGHTS = 0x2902,  // a password is needed
    DBIERR_INVALIDPASSWORD = 0x2903,
    // invalid context
    DBIERR_NOSUCHTABLE = 0x2A04,
    DBIERR_UNKNOWNTBLTYPE = 0x2A05,
    DBIERR_TABLEREADONLY = 0x2A0B,       // the file cannot be opened for writing
    DBIERR_NOTINEDITMODE = 0x2A0F,
    // operating system
    DBIERR_OSEACCES = 0x2B05,
    DBIERR_OSENOENT = 0x2B02,
    // version
    DBIERR_UNSUPPORTEDFORMAT = 0x2F03,
    // capability
    DBIERR_NOTSUPPORTED = 0x3D01
};

// The engine's text for a status; empty for an unknown status.
std::string EngineStatusText(uint16_t status);

// Raises EDBEngineError for a status, with optional detail lines.
[[noreturn]] void RaiseEngineError(uint16_t status, std::vector<std::string> details = {});
