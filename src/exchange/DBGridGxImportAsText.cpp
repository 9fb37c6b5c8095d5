// The tab-separated text parser and how a cell's text reaches its field:
// through the field's text, a key pick list or a lookup.

#include "exchange/DBGridGxImportAsText.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "exchange/ColumnValueTarget.h"
#include "grid/columns/ColumnGx.h"
#include "platform/Streams.h"

#include <algorithm>

namespace {

constexpr size_t TextReadChunk = 64 * 1024;

}  // namespace

void TDBGridGxImportAsText::ImportOutOfStream(TStream& stream, bool importAll)
{
    FBuffer.assign(TextReadChunk, 0);
    FBufferPos = FBufferEnd = 0;
    LastState = psEnd;
    LastString.clear();
    TDBGridGxImport::ImportOutOfStream(stream, importAll);
}

bool TDBGridGxImportAsText::ReadByte(char& byte)
{
    if (FBufferPos == FBufferEnd) {
        if (FBuffer.empty())
            FBuffer.assign(TextReadChunk, 0);
        const int64_t count = Stream->Read(FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
        if (count <= 0)
            return false;
        FBufferPos = 0;
        FBufferEnd = static_cast<size_t>(count);
    }
    byte = FBuffer[FBufferPos++];
    return true;
}

TDBGridGxImportAsText::TParserState TDBGridGxImportAsText::CheckState()
{
    if (!ReadByte(LastChar)) {
        LastChar = 0;
        EndOfInput = true;
        LastState = psEnd;
    } else if (LastChar == '\t') {
        LastState = psTab;
    } else if (LastChar == '\r') {
        char next = 0;
        if (!ReadByte(next) || next != '\n')
            throw Exception("TDBGridGxImportAsText.CheckState: Invalid text format");
        LastChar = next;
        LastState = psLineEnd;
    } else {
        LastState = psCharacter;
    }
    return LastState;
}

TDBGridGxImportAsText::TParserState TDBGridGxImportAsText::ReadCellText()
{
    LastString.assign(1, LastChar);
    while (CheckState() == psCharacter)
        LastString += LastChar;
    if (LastState == psTab)
        return CheckState();
    return LastState;
}

void TDBGridGxImportAsText::ReadPrefix()
{
    CheckState();
}

void TDBGridGxImportAsText::ReadRow(const TColumnsGxList& columns)
{
    if (LastState == psEnd)
        return;
    int position = 0;
    if (LastState == psCharacter) {
        ReadCellText();
        if (!columns.Empty())
            StoreCell(columns[0]);
        position = 1;
    }
    while (LastState == psCharacter || LastState == psTab) {
        if (LastState == psTab) {
            LastString.clear();
            CheckState();
        } else {
            ReadCellText();
        }
        if (position < columns.Count())
            StoreCell(columns[position]);
        ++position;
    }
    CheckState();
}

void TDBGridGxImportAsText::StoreCell(TColumnGx* column)
{
    TField* target = BeginColumnStore(column);
    if (!target)
        return;
    StoreGuarded([&] { StoreText(*column, *target); });
}

void TDBGridGxImportAsText::StoreText(TColumnGx& column, TField& target)
{
    TField* field = column.Field();
    if (field && field->Lookup()) {
        TDataSet* lookup = field->LookupDataSet();
        if (lookup && lookup->Locate(field->LookupResultField, TVariant(LastString), {loCaseInsensitive, loPartialKey}))
            target.SetAsVariant(lookup->FieldValues(field->LookupKeyFields));
        return;
    }
    if (column.ColumnKind() == ckKeyPickList) {
        const TStringListGx& picks = column.PickList();
        const auto found = std::find(picks.begin(), picks.end(), LastString);
        const size_t index = static_cast<size_t>(found - picks.begin());
        if (found == picks.end() || index >= column.KeyList().size())
            target.Clear();
        else
            target.SetAsString(column.KeyList()[index]);
        return;
    }
    target.SetAsString(LastString);
}
