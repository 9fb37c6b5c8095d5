// Reading a few columns of every record for a search kept in memory: the
// records' bytes in the cursor's read-ahead window, only the wanted
// fields decoded (a memo only when it is wanted), the cursor left where
// it stood.

#include "data/engine/dbf/DbfCursor.h"

#include "data/engine/ByteOrder.h"

void TDbfCursor::ReadColumns(const std::vector<bool>& columns, const TColumnVisitor& visit)
{
    TEngineRecord values(FVisible.size());
    std::string bookmark(8, '\0');
    for (uint32_t i = 0; i < FCount; ++i) {
        const uint8_t* raw = CachedRecord(i, true);
        if (!raw)
            break;   // the file is shorter than its header says
        if (raw[0] == '*')
            continue;
        for (size_t column = 0; column < FVisible.size(); ++column) {
            values[column] = TVariant::Null();
            if (column >= columns.size() || !columns[column])
                continue;
            const TDbfField& field = FHeader.Fields[FVisible[column]];
            if (field.Memo)
                values[column] = DecodeMemo(field, raw);
            else
                FValues->Decode(field, raw, values[column]);
        }
        PutBe64(reinterpret_cast<uint8_t*>(bookmark.data()), static_cast<uint64_t>(i) + 1);
        visit(values, bookmark);
    }
}
