#pragma once
// Generated dBASE tables for the benchmarks: an empty table created by the
// driver, then filled with records written as the format stores them (so
// that generating a million records does not measure the writer).

#include "data/engine/Engine.h"
#include "data/engine/dbf/DbfDriver.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

inline TEngineFieldDef BenchField(const std::string& name, TFieldType type, int size, int precision = 0,
                                  int scale = 0)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Precision = precision;
    def.Scale = scale;
    return def;
}

// Creates (or recreates) a dBASE IV table of these fields.
inline void CreateBenchDbf(const std::string& path, const std::vector<TEngineFieldDef>& fields)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::remove(path);
    TCreateTableParams params;
    params.Path = path;
    params.Level = "IV";
    params.Fields = fields;
    CreateDbfDriver()->CreateTable(params);
}

// Writes `count` records after the header of an empty table; `format`
// puts record i (deletion flag first) into the buffer and returns its
// length, which must be the table's record length.
inline void FillBenchDbf(const std::string& path, int64_t count,
                         const std::function<int(char* buffer, size_t size, int64_t i)>& format)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    char header[32];
    file.read(header, sizeof header);
    const uint32_t headerLength = static_cast<uint8_t>(header[8]) | (static_cast<uint8_t>(header[9]) << 8);
    const uint32_t recordLength = static_cast<uint8_t>(header[10]) | (static_cast<uint8_t>(header[11]) << 8);
    std::string chunk;
    char record[1024];
    file.seekp(headerLength);
    for (int64_t i = 0; i < count; ++i) {
        const int n = format(record, sizeof record, i);
        if (n != static_cast<int>(recordLength))
            throw std::runtime_error("generated record has the wrong length");
        chunk.append(record, static_cast<size_t>(n));
        if (chunk.size() > (1 << 20)) {
            file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    chunk += '\x1A';
    file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto records = static_cast<uint32_t>(count);
    const char countBytes[4] = {static_cast<char>(records), static_cast<char>(records >> 8),
                                static_cast<char>(records >> 16), static_cast<char>(records >> 24)};
    file.seekp(4);
    file.write(countBytes, 4);
}
