#pragma once
// TDBGridGxImportAsText: reads tab-separated text, the format the text
// exporter writes: a tab ends a cell, CR LF ends a cell and the row.  A CR
// not followed by LF is a format error; LF alone is an ordinary character
// (a paste of text that holds no CR at all turns its LFs into CR LF
// first, see ClipboardPaste).  UTF-8 is read as it stands.
//
// The parser always holds one character of look-ahead: ReadPrefix reads
// the first, every ReadRow ends having read the first of the next row.

#include "exchange/DBGridGxImport.h"

#include <cstdint>
#include <string>
#include <vector>

class TDBGridGxImportAsText : public TDBGridGxImport {
public:
    // What the character just read is.
    enum TParserState { psCharacter, psTab, psLineEnd, psEnd };

    void ImportOutOfStream(TStream& stream, bool importAll) override;

protected:
    void ReadPrefix() override;
    void ReadRow(const TColumnsGxList& columns) override;
    void StoreCell(TColumnGx* column) override;

    // Reads one character and classifies it; raises the format error for a
    // CR without its LF.
    TParserState CheckState();
    // The text of one cell from the last character on; returns the state
    // that ended it (after a tab, the state of the next cell's first
    // character).
    TParserState ReadCellText();

    char LastChar = 0;
    TParserState LastState = psEnd;
    std::string LastString;

private:
    bool ReadByte(char& byte);
    void StoreText(TColumnGx& column, TField& target);

    std::vector<char> FBuffer;
    size_t FBufferPos = 0;
    size_t FBufferEnd = 0;
};
