#include "data/engine/dbf/DbfCursor.h"

#include <algorithm>

namespace {

// The guess looks at the first records only: enough text to judge, and
// the same few milliseconds however long the table is.
constexpr uint32_t SampleRecords = 300;
constexpr size_t SampleReadBytes = 1024 * 1024;
constexpr int SampleMemos = 60;
constexpr size_t SampleMemoBytes = 1024;

bool IsText(const TDbfField& f)
{
    return !f.Hidden && !f.Binary && f.Known && (f.DataType == ftString || f.DataType == ftMemo);
}

} // namespace

void TDbfCursor::SettleCodePage(int requested, const std::vector<uint8_t>& header, uint64_t fileSize)
{
    // The converter starts with the code page asked for or the header's;
    // the sample's memo pointers, read through it, hold no text.
    FCodePage = std::make_unique<TCodePage>(requested ? requested : FHeader.CodePage);
    FValues = std::make_unique<TDbfValues>(FHeader, *FCodePage);
    int marked = FHeader.CodePageMarked ? FHeader.CodePage : 0;
    FCodePageChoice = ChooseCodePage(requested, marked, [&](TCodePageSample& sample) { SampleTexts(sample); });
    if (FCodePageChoice.CodePage != FCodePage->Number())
        FCodePage->Assign(FCodePageChoice.CodePage);
    if (FCodePageChoice.CodePage == FHeader.CodePage)
        return;
    if (!header.empty()) {
        // Field names are text too: read them again in the code page in force.
        std::vector<std::string> reasons = FHeader.ReadOnlyReasons;
        FHeader = ParseDbfHeader(header, fileSize, FPath, FCodePageChoice.CodePage);
        FHeader.ReadOnlyReasons = std::move(reasons);
    } else {
        FHeader.CodePage = FCodePageChoice.CodePage;
    }
    FValues = std::make_unique<TDbfValues>(FHeader, *FCodePage);
}

void TDbfCursor::SampleTexts(TCodePageSample& sample)
{
    std::vector<const TDbfField*> texts;
    for (const TDbfField& f : FHeader.Fields)
        if (IsText(f))
            texts.push_back(&f);
    const uint32_t length = FHeader.RecordLength;
    if (texts.empty() || length == 0)
        return;
    uint32_t records = std::min({FCount, SampleRecords, static_cast<uint32_t>(std::max<size_t>(1, SampleReadBytes / length))});
    std::vector<uint8_t> raw(static_cast<size_t>(records) * length);
    size_t got = FFile.ReadAt(FHeader.RecordOffset(0), raw.data(), raw.size());
    records = static_cast<uint32_t>(got / length);
    int memos = 0;
    std::string memo;
    for (uint32_t r = 0; r < records && !sample.Full(); ++r) {
        const uint8_t* record = raw.data() + static_cast<size_t>(r) * length;
        for (const TDbfField* f : texts) {
            if (f->Offset < 0 || static_cast<uint32_t>(f->Offset + f->Length) > length)
                continue;
            if (!f->Memo) {
                sample.Add(std::string_view(reinterpret_cast<const char*>(record + f->Offset), f->Length));
                continue;
            }
            if (!FMemo || memos >= SampleMemos || FValues->IsNullFlagged(*f, record))
                continue;
            uint32_t block = FValues->MemoBlock(*f, record);
            if (block != 0 && FMemo->Read(block, memo)) {
                ++memos;
                sample.Add(std::string_view(memo).substr(0, SampleMemoBytes));
            }
        }
    }
}
