// The RTF table: document head with the colour and font tables, row
// definitions, cells, and the single- and multi-level title rows.

#include "exchange/DBGridGxExportAsRTF.h"

#include "exchange/ByteArrayStream.h"
#include "exchange/ExportLook.h"
#include "exchange/TitleBands.h"
#include "grid/titles/DBGridGxTitleTree.h"
#include "grid/DBGridGx.h"
#include "platform/Streams.h"

#include <cmath>
#include <cstdlib>
#include <tuple>

namespace {

const char* AlignmentWord(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return "\\qr";
    case taCenter:
        return "\\qc";
    default:
        return "\\ql";
    }
}

// The words that make readers merge the cells of a title block (besides
// leaving out the borders inside it): the first cell of a horizontal run
// and of a vertical run, and the cells merged into them.
std::string MergeWords(const TTitleBandCellGx& cell)
{
    std::string words;
    if (cell.ColSpan > 1)
        words += cell.BorderLeft ? "\\clmgf" : "\\clmrg";
    if (cell.RowSpan > 1)
        words += cell.BorderTop ? "\\clvmgf" : "\\clvmrg";
    return words.empty() ? words : words + "\r\n";
}

// Frees the tables of one export on every way out.
template <class... T>
struct TResetAll {
    std::tuple<std::unique_ptr<T>&...> Items;
    ~TResetAll()
    {
        std::apply([](auto&... item) { (item.reset(), ...); }, Items);
    }
};

// Bytes left free before the body for the document's head, which is known
// only once the body is done.  Enough for a head of some 150 colours.
constexpr qsizetype HeadRoom = 4096;

}  // namespace

TDBGridGxExportAsRTF::TDBGridGxExportAsRTF() = default;
TDBGridGxExportAsRTF::~TDBGridGxExportAsRTF() = default;

void TDBGridGxExportAsRTF::ExportIntoStream(TStream& stream, bool exportAll)
{
    std::string head;
    const QByteArray body = ExportBody(exportAll, head);
    if (body.isEmpty())
        return;
    stream.WriteBuffer(head.data(), static_cast<int64_t>(head.size()));
    stream.WriteBuffer(body.constData() + HeadRoom, body.size() - HeadRoom);
}

QByteArray TDBGridGxExportAsRTF::ExportIntoBytes(bool exportAll)
{
    std::string head;
    QByteArray document = ExportBody(exportAll, head);
    if (document.isEmpty())
        return document;
    // Bytes dropped at the front of a byte array only move its start, so a
    // head that fits the room goes in without moving the body.
    qsizetype room = HeadRoom;
    if (static_cast<qsizetype>(head.size()) < room) {
        document.remove(0, room - static_cast<qsizetype>(head.size()));
        room = static_cast<qsizetype>(head.size());
    }
    document.replace(0, room, QByteArrayView(head.data(), static_cast<qsizetype>(head.size())));
    return document;
}

QByteArray TDBGridGxExportAsRTF::ExportBody(bool exportAll, std::string& head)
{
    // Without a selection there is nothing to write, not even the head.
    if (!exportAll && Grid->Selection().SelectionType() == gstNon)
        return QByteArray();
    FColors = std::make_unique<TRtfColorTableGx>();
    FFonts = std::make_unique<TRtfFontTableGx>();
    TResetAll<TRtfColorTableGx, TRtfFontTableGx> reset{{FColors, FFonts}};
    FPixelsPerInch = PixelsPerInch();
    FColors->Number(clBlack);
    FColors->Number(clWhite);
    FColors->Number(clBtnFace);

    TByteArrayStream body;
    body.WriteBuffer(QByteArray(HeadRoom, ' ').constData(), HeadRoom);
    TDBGridGxExport::ExportIntoStream(body, exportAll);
    FLastBodyCacheSize = body.Size() - HeadRoom;
    FLastBodyCacheCapacity = body.Capacity();

    head = "{\\rtf0\\ansi\r\n" + FColors->Text() + "\r\n" + FFonts->Text() + "\r\n";
    return body.Take();
}

void TDBGridGxExportAsRTF::EndOutput()
{
    Write("}");
}

void TDBGridGxExportAsRTF::Flush()
{
    Write(FOut);
    FOut.clear();
}

const char* TDBGridGxExportAsRTF::Spacing() const
{
    return Grid->Flat() ? "12" : "24";
}

void TDBGridGxExportAsRTF::PutRowDefinition(const TColumnsGxList& columns, const std::vector<TCellFrame>& frames)
{
    FOut += "\\trowd\\trgaph40\r\n";
    int64_t right = 0;
    for (int i = 0; i < columns.Count(); ++i) {
        const TCellFrame& frame = frames[static_cast<size_t>(i)];
        FOut += frame.Merge;
        if (frame.Left)
            FOut += "\\clbrdrl\\brdrs\\brdrcf0\r\n";
        if (frame.Top)
            FOut += "\\clbrdrt\\brdrs\\brdrcf0\r\n";
        if (frame.Bottom)
            FOut += "\\clbrdrb\\brdrs\\brdrcf0\r\n";
        if (frame.Right)
            FOut += "\\clbrdrr\\brdrs\\brdrcf0\r\n";
        FOut += "\\clshdng10000\\clcfpat";
        FOut += std::to_string(FColors->Number(frame.Shading));
        right += static_cast<int64_t>(columns[i]->Width()) * 1440 / FPixelsPerInch;
        FOut += "\\cellx";
        FOut += std::to_string(right);
        FOut += "\r\n";
    }
    FOut += "{\\trrh0\r\n";
    Flush();
}

void TDBGridGxExportAsRTF::AppendCellText(const TFontGx& font, const std::string& text, TColor background)
{
    FOut += "\\fs";
    FOut += std::to_string(2 * FontPointSize(font, FPixelsPerInch));
    if (font.bold())
        FOut += "\\b";
    if (font.italic())
        FOut += "\\i";
    if (font.strikeOut())
        FOut += "\\strike";
    if (font.underline())
        FOut += "\\ul";
    FOut += "\\f";
    FOut += std::to_string(FFonts->Number(font));
    FOut += "\\cf";
    FOut += std::to_string(FColors->Number(font.Color()));
    FOut += "\\cb";
    FOut += std::to_string(FColors->Number(background));
    FOut += ' ';
    AppendRtfText(FOut, text);
}

void TDBGridGxExportAsRTF::PutCell(TAlignment alignment, const char* spacing, const TFontGx& font,
                                   const std::string& text, TColor background)
{
    FOut += "\\pard\\intbl{";
    FOut += AlignmentWord(alignment);
    FOut += "\\sb";
    FOut += spacing;
    FOut += "\\sa";
    FOut += spacing;
    AppendCellText(font, text, background);
    FOut += "\\cell}\r\n";
    Flush();
}

void TDBGridGxExportAsRTF::PutRowEnd()
{
    FOut += "\\pard\\intbl\\row}\r\n";
    Flush();
}

void TDBGridGxExportAsRTF::PutDataRow(const TColumnsGxList& columns)
{
    std::vector<TCellFrame> frames(static_cast<size_t>(columns.Count()));
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnGx& column = *columns[i];
        TColor shading = column.Color();
        if (Grid->OnGetCellParams) {
            TFontGx font = column.Font();
            Grid->OnGetCellParams(*Grid, column, font, shading, TGridDrawState());
        }
        frames[static_cast<size_t>(i)].Shading = shading;
    }
    PutRowDefinition(columns, frames);
    TDBGridGxExport::PutDataRow(columns);
    PutRowEnd();
}

void TDBGridGxExportAsRTF::PutDataCell(TColumnGx& column, TColCellParamsGx& params)
{
    PutCell(params.Alignment, Spacing(), params.Font, params.Text, params.Background);
}

void TDBGridGxExportAsRTF::PutFooterRow(const TColumnsGxList& columns, int footerRow)
{
    std::vector<TCellFrame> frames(static_cast<size_t>(columns.Count()));
    for (int i = 0; i < columns.Count(); ++i)
        frames[static_cast<size_t>(i)].Shading = FooterCell(*columns[i], i, footerRow).Background;
    PutRowDefinition(columns, frames);
    TDBGridGxExport::PutFooterRow(columns, footerRow);
    PutRowEnd();
}

void TDBGridGxExportAsRTF::PutFooterCell(int position, int footerRow, TColumnGx& column, const TFontGx& font,
                                         TColor background, TAlignment alignment, const std::string& text)
{
    PutCell(alignment, Spacing(), font, text, background);
}

void TDBGridGxExportAsRTF::PutTitleRow(const TColumnsGxList& columns)
{
    if (Grid->UseMultiTitle())
        PutMultiLevelTitles(columns);
    else
        PutSingleLevelTitles(columns);
}

void TDBGridGxExportAsRTF::PutSingleLevelTitles(const TColumnsGxList& columns)
{
    std::vector<TCellFrame> frames(static_cast<size_t>(columns.Count()));
    for (int i = 0; i < columns.Count(); ++i)
        frames[static_cast<size_t>(i)].Shading = columns[i]->Title()->Color();
    PutRowDefinition(columns, frames);
    for (TColumnGx* column : columns) {
        const TColumnTitleGx& title = *column->Title();
        PutCell(title.Alignment(), Spacing(), title.Font(), title.Caption(), title.Color());
    }
    PutRowEnd();
}

void TDBGridGxExportAsRTF::PutMultiLevelTitles(const TColumnsGxList& columns)
{
    const double twips = Grid->VTitleMargin() / 2.0 / FPixelsPerInch * 1440 - 20;
    const std::string spacing = std::to_string(std::llabs(static_cast<long long>(std::trunc(twips))));
    const TTitleBandsGx bands(columns, Grid->TitleTree().Tree());
    for (int level = bands.LevelCount() - 1; level >= 0; --level)
        PutTitleLevel(columns, bands, level, spacing);
}

void TDBGridGxExportAsRTF::PutTitleLevel(const TColumnsGxList& columns, const TTitleBandsGx& bands, int level,
                                         const std::string& spacing)
{
    std::vector<TCellFrame> frames(static_cast<size_t>(columns.Count()));
    for (int i = 0; i < columns.Count(); ++i) {
        const TTitleBandCellGx& cell = bands.Cell(level, i);
        frames[static_cast<size_t>(i)] = {cell.BorderLeft, cell.BorderTop, cell.BorderRight, cell.BorderBottom,
                                          level == 0 ? columns[i]->Title()->Color() : Grid->FixedColor(),
                                          MergeWords(cell)};
    }
    PutRowDefinition(columns, frames);
    for (int i = 0; i < columns.Count(); ++i) {
        const TColumnTitleGx& title = *columns[i]->Title();
        const TFontGx font = level == 0 ? title.Font() : Grid->TitleFont();
        const TColor background = level == 0 ? title.Color() : Grid->FixedColor();
        FOut += "\\pard\\intbl{\\qc";
        if (bands.Cell(level, i).Keeps) {
            FOut += "\\sb" + spacing + "\\sa" + spacing;
            AppendCellText(font, bands.Text(level, i), background);
        } else {
            AppendCellText(font, std::string(), background);
        }
        FOut += "\\cell}\r\n";
        Flush();
    }
    PutRowEnd();
}
