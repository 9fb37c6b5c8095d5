#pragma once
// Conversion between a Paradox record's bytes and the engine's values:
// field definitions, decoding every field type (blobs through the .MB
// file) and encoding values with full validation before anything is written.

#include "data/engine/CodePage.h"
#include "data/engine/EngineCursor.h"
#include "data/engine/paradox/PxBlobFile.h"
#include "data/engine/paradox/PxHeader.h"

#include <vector>

namespace px {

// A blob value whose data must go to the .MB file before the record is written.
struct TPxPendingBlob {
    int Field = 0;
    std::vector<uint8_t> Payload;   // as stored (graphic prefix included)
};

class TPxRecordCodec {
public:
    TPxRecordCodec(const TPxHeader& header, const TCodePage& codePage, const TPxBlobFile& blobs);

    const std::vector<TEngineFieldDef>& FieldDefs() const { return FDefs; }

    TVariant DecodeField(const uint8_t* record, int field) const;
    void Decode(const uint8_t* record, TEngineRecord& values) const;

    // Encodes `values` over a copy of `old` (the record's previous bytes, or
    // all zero for a new record).  Blob fields whose value equals the old
    // one keep their bytes; changed blobs too long for their leader come
    // back in `pending` with the leader filled and the tail to be set by
    // StorePending.  Raises DBIERR_INVALIDFIELDVALUE, DBIERR_INVALIDCHAR or
    // DBIERR_REQDERR before anything is written.
    std::vector<uint8_t> Encode(const TEngineRecord& values, const uint8_t* old,
                                std::vector<TPxPendingBlob>& pending) const;
    void StorePending(std::vector<TPxPendingBlob>& pending, TPxBlobFile& blobs, uint8_t* record) const;
    // Blob references of a record (to free them once it is replaced or gone).
    std::vector<TPxBlobRef> BlobRefs(const uint8_t* record) const;

    void SetRequired(int field, bool required) { FDefs[field].Required = required; }

private:
    TVariant DecodeBlob(const uint8_t* p, const TPxField& f) const;
    void EncodeField(const TVariant& value, int index, uint8_t* p, std::vector<TPxPendingBlob>& pending) const;
    [[noreturn]] void Refuse(int index, const std::string& why) const;

    const TPxHeader& FHeader;
    const TCodePage& FCodePage;
    const TPxBlobFile& FBlobs;
    std::vector<TEngineFieldDef> FDefs;
};

} // namespace px
