#pragma once
// SHA-256 of a byte string as lower-case hex, for checking blob values
// against the manifest's digests.

#include <string>

std::string Sha256Hex(const std::string& data);
