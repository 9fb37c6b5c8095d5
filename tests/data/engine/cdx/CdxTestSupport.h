#pragma once
// Helpers of the compound-index tests: a Visual FoxPro table with a tag of
// every kind (integer candidate, character with FOR, numeric ascending and
// descending, nullable date, concatenated character, unique), random
// records and edits for it, the record order each tag holds as the engine
// reads it and as Perl's XBase::Index reads it, and whole-file snapshots.

#include "data/engine/dbf/DbfCursor.h"

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

TEngineDriver& CdxDbfDriver();
// Opens a table through the dBASE driver as the dBASE cursor it is.
std::unique_ptr<TDbfCursor> OpenIndexedTable(const std::string& path, bool readOnly = false);

// Field order of the test table.
enum TTestField { FieldId, FieldName, FieldCity, FieldAmount, FieldBorn };

// A random record with the given ID.
TEngineRecord RandomRecord(std::mt19937& random, int32_t id);
// Creates `stem`.dbf in `dir` with `records` random records (IDs 1..records)
// and its structural index, filled by a rebuild; returns the table's path.
std::string MakeIndexedTable(const std::string& dir, const std::string& stem, uint32_t records, uint32_t seed);

// Record numbers in the order the tag stores them.
std::vector<uint32_t> EngineOrder(TDbfCursor& table, const std::string& tagName);
// The same read by Perl's XBase::Index (run through /usr/bin/perl), per tag;
// `error` says why it failed.
bool PerlReaderAvailable();
std::map<std::string, std::vector<uint32_t>> PerlOrders(const std::string& indexPath,
                                                        const std::vector<std::string>& tagNames, std::string& error);
// Expects XBase::Index to read every tag as the engine does (nothing when
// Perl's module is missing).
void ExpectPerlReadsTheSame(TDbfCursor& table);

// Findings of the full index check, one per line; empty when it is good.
std::string IndexFindings(TDbfCursor& table);

// Copies a corpus table with its companion files into `dir`, writable;
// returns the copy's path.
std::string CopyWritableTable(const class TScratchDir& dir, const std::string& sourcePath);

// Every file of the table (table, memo, index) by name, as bytes; the
// engine's hidden journal is not one of them.
std::map<std::string, std::string> Snapshot(const std::string& dir);
