#pragma once
// The block scrambling of password-protected Paradox tables and the
// checksum of the master password that keys it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace px {

// 256-byte piece scrambling; source and target may be the same buffer.
void Scramble(const uint8_t* source, uint8_t* target, uint8_t k1, uint8_t k2, uint8_t k3, uint8_t k4);
void Unscramble(const uint8_t* source, uint8_t* target, uint8_t k1, uint8_t k2, uint8_t k3, uint8_t k4);

// Checksum of a password in the table's code page; 0 for an empty one.
uint32_t PasswordChecksum(const std::string& password);

// Blocks of table and index files (size a multiple of 256, block numbers from 1).
void EncryptBlock(uint8_t* block, size_t size, uint32_t key, uint32_t blockNumber);
void DecryptBlock(uint8_t* block, size_t size, uint32_t key, uint32_t blockNumber);

// One 256-byte piece of a blob file.
void EncryptBlobPiece(uint8_t* piece, uint32_t key);
void DecryptBlobPiece(uint8_t* piece, uint32_t key);

} // namespace px
