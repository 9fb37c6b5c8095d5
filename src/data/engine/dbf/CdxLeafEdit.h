#pragma once
// One pair removed from or inserted into a leaf page as it stands, without
// decoding the leaf: the keys before the place keep their bytes and their
// place, the keys at the place are counted and written anew, and the rest
// move as they are.  For a page EncodeNode wrote the result is byte for
// byte the page EncodeNode gives for the leaf decoded and changed the same
// way; of a page another program counted otherwise, the keys the edit does
// not touch keep that program's bytes.
//
// Each edit declines (returns false, `edited` undefined) what it leaves to
// the tree's general way: a page not laid out as EncodeNode lays it out, a
// damaged page, a change of the leaf's last pair (its parent changes with
// it), and a leaf that would split, widen its entries or (after a removal)
// be less than a third full.

#include <cstdint>
#include <string_view>

namespace cdx {

bool RemoveFromLeafPage(const uint8_t* page, uint16_t keyLength, uint8_t fill, std::string_view key, uint32_t recNo,
                        uint8_t* edited);
// Declines a pair the leaf already holds too.
bool InsertIntoLeafPage(const uint8_t* page, uint16_t keyLength, uint8_t fill, std::string_view key, uint32_t recNo,
                        uint8_t* edited);

} // namespace cdx
