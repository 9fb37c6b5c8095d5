#include "data/engine/paradox/PxRecordCodec.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxEncoding.h"
#include "platform/DateTimeParts.h"
#include "platform/DecimalNumber.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace px {

namespace {

constexpr int GraphicPrefix = 8;

TEngineFieldDef MakeDef(const TPxField& f, const TCodePage& codePage)
{
    TEngineFieldDef d;
    d.Name = codePage.ToUtf8(f.Name);
    d.NativeType = PxTypeLetter(f.Type);
    switch (f.Type) {
    case ftAlpha: d.DataType = ftString; d.Size = f.Size; break;
    case ftDate: d.DataType = ::ftDate; break;
    case ftShort: d.DataType = ftSmallint; break;
    case ftLong: d.DataType = ftInteger; break;
    case ftMoney: d.DataType = ftCurrency; break;
    case ftNumber: d.DataType = ftFloat; break;
    case ftLogical: d.DataType = ftBoolean; break;
    case ftMemoBlob: d.DataType = ftMemo; break;
    case ftBinaryBlob: d.DataType = ftBlob; break;
    case ftFmtMemoBlob: d.DataType = ftFmtMemo; break;
    case ftOleBlob: d.DataType = ftParadoxOle; break;
    case ftGraphicBlob: d.DataType = ftGraphic; break;
    case ftTime: d.DataType = ::ftTime; break;
    case ftTimestamp: d.DataType = ftDateTime; break;
    case ftAutoIncrement: d.DataType = ftAutoInc; d.ReadOnly = true; break;
    case ftBcd:
        d.DataType = ftFMTBcd;   // 32 digits: every one of them kept
        d.Precision = 32;
        d.Scale = f.Size;
        break;
    case ftBytes: d.DataType = ::ftBytes; d.Size = f.Size; break;
    default: d.DataType = ::ftBytes; d.Size = f.Width; d.ReadOnly = true; break;
    }
    return d;
}

std::string CurrencyText(TCurrency c)
{
    int64_t v = c.Scaled;
    bool negative = v < 0;
    uint64_t mag = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%s%llu.%04llu", negative ? "-" : "",
                  static_cast<unsigned long long>(mag / 10000), static_cast<unsigned long long>(mag % 10000));
    return buffer;
}

} // namespace

TPxRecordCodec::TPxRecordCodec(const TPxHeader& header, const TCodePage& codePage, const TPxBlobFile& blobs)
    : FHeader(header), FCodePage(codePage), FBlobs(blobs)
{
    for (const auto& f : header.Fields)
        FDefs.push_back(MakeDef(f, codePage));
}

TVariant TPxRecordCodec::DecodeField(const uint8_t* record, int index) const
{
    const TPxField& f = FHeader.Fields[index];
    const uint8_t* p = record + f.Offset;
    if (f.IsBlob())
        return DecodeBlob(p, f);
    if (IsBlank(p, f.Width))
        return TVariant::Null();
    switch (f.Type) {
    case ftAlpha: {
        size_t n = strnlen(reinterpret_cast<const char*>(p), f.Width);
        return TVariant(FCodePage.ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n)));
    }
    case ftDate: return TVariant::FromDateTime(static_cast<double>(int64_t{DecodeInt(p, 4)} - DaysTo18991230));
    case ftShort: case ftLong: case ftAutoIncrement: return TVariant(DecodeInt(p, f.Width));
    case ftMoney: case ftNumber: return TVariant(DecodeDouble(p));
    case ftLogical: return TVariant(p[0] != 0x80);
    case ftTime: return TVariant::FromDateTime(DecodeInt(p, 4) / MsPerDay);
    case ftTimestamp: {
        // Milliseconds since the start of year 1, counted straight through:
        // split into day and time of day before they become a date-time.
        double ms = DecodeDouble(p);
        if (!std::isfinite(ms) || std::fabs(ms) > 1e18)
            return TVariant::Null();
        auto total = static_cast<int64_t>(std::llround(ms));
        int64_t day = total / 86400000, time = total % 86400000;
        if (time < 0) { time += 86400000; --day; }
        return TVariant::FromDateTime(DateTimeFromDayAndMilliseconds(day - DaysTo18991230, time));
    }
    case ftBcd: {
        if ((p[0] & 0x40) == 0)
            return TVariant::Null();   // every stored value has bit 6 set; anything else is a blank
        return TVariant(DecodeBcd(p, f.Size));
    }
    default: return TVariant(TBytes(p, p + f.Width));   // Y and unknown types
    }
}

TVariant TPxRecordCodec::DecodeBlob(const uint8_t* p, const TPxField& f) const
{
    int leader = f.Width - BlobTail;   // never negative: the header parser refuses narrower blob fields
    TPxBlobRef ref = TPxBlobRef::Decode(p + leader);
    if (ref.Length == 0)
        return TVariant::Null();
    std::vector<uint8_t> data;
    if (ref.Length <= static_cast<uint32_t>(leader) && (ref.Offset == 0 || f.Type != ftGraphicBlob))
        data.assign(p, p + ref.Length);
    else if (!FBlobs.Read(ref, data))
        return TVariant::Null();   // unreadable: missing or damaged .MB (the table is then read-only)
    switch (f.Type) {
    case ftMemoBlob: {
        while (!data.empty() && data.back() == 0)
            data.pop_back();
        if (data.empty())
            return TVariant::Null();
        return TVariant(FCodePage.ToUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), data.size())));
    }
    case ftGraphicBlob:
        if (data.size() >= GraphicPrefix)
            data.erase(data.begin(), data.begin() + GraphicPrefix);
        return TVariant(TBytes(std::move(data)));
    default: return TVariant(TBytes(std::move(data)));
    }
}

void TPxRecordCodec::Decode(const uint8_t* record, TEngineRecord& values) const
{
    size_t n = FHeader.Fields.size();
    values.resize(n);
    for (size_t i = 0; i < n; ++i)
        values[i] = DecodeField(record, static_cast<int>(i));
}

void TPxRecordCodec::Refuse(int index, const std::string& why) const
{
    RaiseEngineError(DBIERR_INVALIDFIELDVALUE, {"Field: " + FDefs[index].Name, why});
}

std::vector<uint8_t> TPxRecordCodec::Encode(const TEngineRecord& values, const uint8_t* old,
                                            std::vector<TPxPendingBlob>& pending) const
{
    if (values.size() != FHeader.Fields.size())
        RaiseEngineError(DBIERR_INVALIDPARAM, {"The record has " + std::to_string(values.size()) + " values for " +
                                               std::to_string(FHeader.Fields.size()) + " fields."});
    std::vector<uint8_t> out(FHeader.RecordSize(), 0);
    if (old)
        std::memcpy(out.data(), old, out.size());
    pending.clear();
    for (size_t i = 0; i < values.size(); ++i) {
        const TPxField& f = FHeader.Fields[i];
        uint8_t* p = out.data() + f.Offset;
        if (FDefs[i].ReadOnly)
            continue;   // auto-increment values are the engine's, unknown types are kept as they are
        if (f.IsBlob() && old && values[i] == DecodeBlob(old + f.Offset, f))
            continue;
        if (FDefs[i].Required && values[i].IsNullOrEmpty())
            RaiseEngineError(DBIERR_REQDERR, {"Field: " + FDefs[i].Name});
        try {
            EncodeField(values[i], static_cast<int>(i), p, pending);
        } catch (const EDBEngineError&) {
            throw;
        } catch (const Exception& e) {
            Refuse(static_cast<int>(i), e.Message());
        }
    }
    return out;
}

void TPxRecordCodec::EncodeField(const TVariant& v, int index, uint8_t* p, std::vector<TPxPendingBlob>& pending) const
{
    const TPxField& f = FHeader.Fields[index];
    std::memset(p, 0, f.Width);
    if (v.IsNullOrEmpty())
        return;
    switch (f.Type) {
    case ftAlpha: {
        std::string bytes = FCodePage.FromUtf8(v.AsString());
        if (bytes.size() > static_cast<size_t>(f.Width))
            Refuse(index, "The text is " + std::to_string(bytes.size()) + " bytes long; the field holds " +
                              std::to_string(f.Width) + ".");
        std::memcpy(p, bytes.data(), bytes.size());
        return;
    }
    case ftShort: case ftLong: {
        int64_t value = v.AsInt64();
        if (!EncodeInt(value, p, f.Width))
            Refuse(index, "The value " + std::to_string(value) + " is out of range.");
        return;
    }
    case ftMoney: case ftNumber:
        if (!EncodeDouble(v.AsDouble(), p))
            Refuse(index, "The value is not a finite number.");
        return;
    case ftLogical: p[0] = v.AsBoolean() ? 0x81 : 0x80; return;
    case ftDate: {
        double dt = v.AsDateTime();
        int64_t day = 0, ms = 0;
        if (std::isfinite(dt) && std::fabs(dt) < 2e9)
            SplitDateTime(dt, day, ms);
        if (!(std::fabs(dt) < 2e9) || !EncodeInt(day + DaysTo18991230, p, 4))
            Refuse(index, "The date is out of range.");
        return;
    }
    case ftTime: {
        double dt = v.AsDateTime();
        int64_t ms = 0;
        if (std::isfinite(dt) && std::fabs(dt) < 2e9) {
            // The time of day as the clock shows it; one that rounds up to
            // midnight stays the last millisecond of the day.
            double fraction = std::fabs(dt - std::trunc(dt));
            ms = std::min<int64_t>(std::llround(fraction * MsPerDay), 86399999);
        }
        EncodeInt(ms, p, 4);
        return;
    }
    case ftTimestamp: {
        double dt = v.AsDateTime();
        int64_t day = 0, ms = 0;
        if (std::isfinite(dt) && std::fabs(dt) < 4e6)
            SplitDateTime(dt, day, ms);
        double total = (static_cast<double>(day) + DaysTo18991230) * MsPerDay + static_cast<double>(ms);
        if (!(std::fabs(dt) < 4e6) || !EncodeDouble(total, p))
            Refuse(index, "The date and time are out of range.");
        return;
    }
    case ftBcd: {
        std::string text;
        if (v.VarType() == varCurrency)
            text = CurrencyText(v.AsCurrency());
        else if (v.VarType() == varString)
            text = v.AsString();
        else {
            double d = v.AsDouble();
            if (!std::isfinite(d))
                Refuse(index, "The value is not a finite number.");
            text = TDecimalNumber::FromDouble(d).ToFixedText(f.Size);
        }
        if (!EncodeBcd(text, f.Size, p))
            Refuse(index, "The value " + text + " does not fit in 32 digits with " + std::to_string(f.Size) + " decimals.");
        return;
    }
    case ftBytes: {
        TBytes bytes = v.AsBytes();
        if (bytes.size() > static_cast<size_t>(f.Width))
            Refuse(index, "The value is " + std::to_string(bytes.size()) + " bytes long; the field holds " +
                              std::to_string(f.Width) + ".");
        std::memcpy(p, bytes.data(), bytes.size());
        return;
    }
    default: break;
    }
    if (!f.IsBlob())
        return;
    std::vector<uint8_t> payload;
    if (f.Type == ftMemoBlob) {
        std::string bytes = FCodePage.FromUtf8(v.AsString());
        payload.assign(bytes.begin(), bytes.end());
    } else if (f.Type == ftFmtMemoBlob && v.VarType() == varString) {
        std::string bytes = v.AsString();
        payload.assign(bytes.begin(), bytes.end());
    } else {
        payload = v.AsBytes();
    }
    if (payload.empty())
        return;
    if (f.Type == ftGraphicBlob) {
        uint8_t prefix[GraphicPrefix] = {1, 0, 0, 1, 0, 0, 0, 0};
        PutLe32(prefix + 4, static_cast<uint32_t>(payload.size()));
        payload.insert(payload.begin(), prefix, prefix + GraphicPrefix);
    }
    if (payload.size() > 0xFFFFFFF0u)
        Refuse(index, "The blob is too large.");
    int leader = f.Width - BlobTail;   // never negative: the header parser refuses narrower blob fields
    TPxBlobRef ref;
    ref.Length = static_cast<uint32_t>(payload.size());
    if (payload.size() <= static_cast<size_t>(leader) && f.Type != ftGraphicBlob) {
        std::memcpy(p, payload.data(), payload.size());
        ref.Encode(p + leader);
        return;
    }
    size_t skip = f.Type == ftGraphicBlob ? GraphicPrefix : 0;
    std::memcpy(p, payload.data() + skip, std::min<size_t>(leader, payload.size() - skip));
    pending.push_back(TPxPendingBlob{index, std::move(payload)});
}

void TPxRecordCodec::StorePending(std::vector<TPxPendingBlob>& pending, TPxBlobFile& blobs, uint8_t* record) const
{
    for (auto& blob : pending) {
        const TPxField& f = FHeader.Fields[blob.Field];
        TPxBlobRef ref = blobs.Write(blob.Payload);
        ref.Encode(record + f.Offset + f.Width - BlobTail);
    }
}

std::vector<TPxBlobRef> TPxRecordCodec::BlobRefs(const uint8_t* record) const
{
    std::vector<TPxBlobRef> refs;
    for (const auto& f : FHeader.Fields) {
        if (!f.IsBlob())
            continue;
        TPxBlobRef ref = TPxBlobRef::Decode(record + f.Offset + f.Width - BlobTail);
        if (ref.Length > 0 && ref.Offset != 0)
            refs.push_back(ref);
    }
    return refs;
}

} // namespace px
