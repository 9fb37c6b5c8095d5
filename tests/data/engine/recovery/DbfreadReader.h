#pragma once
// Reads dBASE tables with Debian's dbfread (python3-dbfread, importable only
// by the system's own /usr/bin/python3), all in one run of the reader, and
// compares each with the rows it may hold.

#include "RecoveryTestSupport.h"

#include <string>
#include <vector>

class TDbfreadReader {
public:
    TDbfreadReader();
    bool Available() const { return FWhyUnavailable.empty(); }
    const std::string& WhyUnavailable() const { return FWhyUnavailable; }

    // A table to read, what to call it in a message, and the row sets it may hold.
    void Add(const std::string& path, const std::string& label, std::vector<TRows> allowed);
    size_t Count() const { return FTables.size(); }
    void Clear() { FTables.clear(); }
    // Reads every table added; one message per table that reads otherwise.
    std::vector<std::string> Check() const;

private:
    struct TTable {
        std::string Path;
        std::string Label;
        std::vector<TRows> Allowed;
    };
    std::vector<TTable> FTables;
    std::string FWhyUnavailable;
};
