#pragma once
// TDBGridGxExportAsRTF: the exported part of a grid as one RTF table that
// keeps the grid's look: column widths (in twips, from the grid's pixels
// per inch), cell, title and footer colours, fonts with size and style,
// alignment, and with multi-level titles the merged title cells.
//
// The body is built in a memory cache first, since the colour and font
// tables that precede it are known only once it is done.  The document is
// 7-bit: characters above 127 are written as \uN?.

#include "exchange/DBGridGxExport.h"
#include "exchange/CellMarkupCache.h"
#include "exchange/RtfText.h"

#include <memory>

class TTitleBandsGx;

class TDBGridGxExportAsRTF : public TDBGridGxExport {
public:
    TDBGridGxExportAsRTF();
    ~TDBGridGxExportAsRTF() override;

    void ExportIntoStream(TStream& stream, bool exportAll) override;
    QByteArray ExportIntoBytes(bool exportAll) override;

    // Bytes of the body, and of memory the body cache held, at the end of
    // the last export.
    int64_t LastBodyCacheSize() const { return FLastBodyCacheSize; }
    int64_t LastBodyCacheCapacity() const { return FLastBodyCacheCapacity; }

protected:
    void EndOutput() override;
    void PutTitleRow(const TColumnsGxList& columns) override;
    void PutDataRow(const TColumnsGxList& columns) override;
    void PutDataCell(TColumnGx& column, TColCellParamsGx& params) override;
    void PutFooterRow(const TColumnsGxList& columns, int footerRow) override;
    void PutFooterCell(int position, int footerRow, TColumnGx& column, const TFontGx& font, TColor background,
                       TAlignment alignment, const std::string& text) override;

private:
    // One cell's borders and shading in a row definition.
    struct TCellFrame {
        bool Left = true;
        bool Top = true;
        bool Right = true;
        bool Bottom = true;
        TColor Shading = clWindow;
        // The merge words of a cell in a merged title block (empty else).
        std::string Merge;
    };

    std::string RowDefinition(const TColumnsGxList& columns, const std::vector<TCellFrame>& frames);
    void PutRowDefinition(const TColumnsGxList& columns, const std::vector<TCellFrame>& frames);
    // "\pard\intbl{", the alignment word, the spacing and the look words.
    std::string CellOpening(TAlignment alignment, const char* spacing, const TFontGx& font, TColor background);
    // The font's size and style words, its font and colour numbers, the
    // background's number and the blank before the text.
    std::string LookWords(const TFontGx& font, TColor background);
    void PutCell(TAlignment alignment, const char* spacing, const TFontGx& font, const std::string& text,
                 TColor background);
    void PutRowEnd();
    const char* Spacing() const;
    void PutSingleLevelTitles(const TColumnsGxList& columns);
    void PutMultiLevelTitles(const TColumnsGxList& columns);
    void PutTitleLevel(const TColumnsGxList& columns, const TTitleBandsGx& bands, int level,
                       const std::string& spacing);
    void Flush();
    // Runs the driver into a body cache that starts with room for the head
    // (empty without a selection) and gives the head.
    QByteArray ExportBody(bool exportAll, std::string& head);

    std::unique_ptr<TRtfColorTableGx> FColors;
    std::unique_ptr<TRtfFontTableGx> FFonts;
    // The bytes of the row being built, written out at its end.
    std::string FOut;
    // The shading of the data row being written, and the last data row
    // definition written with the shading it was made for.
    std::vector<TColor> FRowShading;
    std::vector<TColor> FDataRowShading;
    std::string FDataRowDefinition;
    TCellMarkupCacheGx FDataCells;
    int FDataCellPosition = 0;
    int FPixelsPerInch = 96;
    int64_t FLastBodyCacheSize = 0;
    int64_t FLastBodyCacheCapacity = 0;
};
