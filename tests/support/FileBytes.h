#pragma once
// A whole file's bytes, read and written at once (raises std::runtime_error).

#include <string>

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
