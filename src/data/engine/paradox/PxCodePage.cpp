#include "data/engine/paradox/PxTable.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {

// The first records are enough to judge, and cost the same however long
// the table is.
constexpr int64_t SampleRecords = 300;

} // namespace

void TPxTable::SettleCodePage(int requested)
{
    // OpenFiles made the converter: for the code page asked for, or the
    // header's (the default when the header names none or one we lack).
    int marked = FHeader.CodePage();
    FCodePageChoice = ChooseCodePage(requested, marked, [&](TCodePageSample& sample) { SampleTexts(sample); });
    if (FCodePageChoice.CodePage == FCodePage->Number())
        return;
    if (FCodePageChoice.Origin != TCodePageOrigin::Detected) {
        FCodePageChoice.CodePage = FCodePage->Number();
        FCodePageChoice.Basis = "The header names code page " + std::to_string(marked) + ", which is not supported.";
        return;
    }
    FCodePage->Assign(FCodePageChoice.CodePage);
    // Field names are read through the code page too.
    FCodec = std::make_unique<TPxRecordCodec>(FHeader, *FCodePage, FBlobs);
}

void TPxTable::SampleTexts(TCodePageSample& sample)
{
    const int64_t records = std::min(RecordCount(), SampleRecords);
    for (int64_t r = 0; r < records && !sample.Full(); ++r) {
        const uint8_t* record = RecordBytes(r);
        for (const TPxField& f : FHeader.Fields) {
            const char* p = reinterpret_cast<const char*>(record + f.Offset);
            if (f.Type == ftAlpha) {
                sample.Add(std::string_view(p, strnlen(p, f.Width)));
            } else if (f.Type == ftMemoBlob && f.Width > 10) {
                // The leader holds the memo's first bytes.
                size_t leader = static_cast<size_t>(f.Width - 10);
                sample.Add(std::string_view(p, strnlen(p, leader)));
            }
        }
    }
}

} // namespace px
