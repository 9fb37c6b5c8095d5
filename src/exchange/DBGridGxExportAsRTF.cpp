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

const char* const CellClosing = "\\cell}\r\n";

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
    FDataRowDefinition.clear();
    FDataCells.Clear();

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

std::string TDBGridGxExportAsRTF::RowDefinition(const TColumnsGxList& columns,
                                                const std::vector<TCellFrame>& frames)
{
    std::string definition = "\\trowd\\trgaph40\r\n";
    int64_t right = 0;
    for (int i = 0; i < columns.Count(); ++i) {
        const TCellFrame& frame = frames[static_cast<size_t>(i)];
        definition += frame.Merge;
        if (frame.Left)
            definition += "\\clbrdrl\\brdrs\\brdrcf0\r\n";
        if (frame.Top)
            definition += "\\clbrdrt\\brdrs\\brdrcf0\r\n";
        if (frame.Bottom)
            definition += "\\clbrdrb\\brdrs\\brdrcf0\r\n";
        if (frame.Right)
            definition += "\\clbrdrr\\brdrs\\brdrcf0\r\n";
        definition += "\\clshdng10000\\clcfpat";
        definition += std::to_string(FColors->Number(frame.Shading));
        right += static_cast<int64_t>(columns[i]->Width()) * 1440 / FPixelsPerInch;
        definition += "\\cellx";
        definition += std::to_string(right);
        definition += "\r\n";
    }
    definition += "{\\trrh0\r\n";
    return definition;
}

void TDBGridGxExportAsRTF::PutRowDefinition(const TColumnsGxList& columns, const std::vector<TCellFrame>& frames)
{
    FOut += RowDefinition(columns, frames);
}

std::string TDBGridGxExportAsRTF::LookWords(const TFontGx& font, TColor background)
{
    std::string words = "\\fs";
    words += std::to_string(2 * FontPointSize(font, FPixelsPerInch));
    if (font.bold())
        words += "\\b";
    if (font.italic())
        words += "\\i";
    if (font.strikeOut())
        words += "\\strike";
    if (font.underline())
        words += "\\ul";
    words += "\\f";
    words += std::to_string(FFonts->Number(font));
    words += "\\cf";
    words += std::to_string(FColors->Number(font.Color()));
    words += "\\cb";
    words += std::to_string(FColors->Number(background));
    words += ' ';
    return words;
}

std::string TDBGridGxExportAsRTF::CellOpening(TAlignment alignment, const char* spacing, const TFontGx& font,
                                              TColor background)
{
    std::string opening = "\\pard\\intbl{";
    opening += AlignmentWord(alignment);
    opening += "\\sb";
    opening += spacing;
    opening += "\\sa";
    opening += spacing;
    opening += LookWords(font, background);
    return opening;
}

void TDBGridGxExportAsRTF::PutCell(TAlignment alignment, const char* spacing, const TFontGx& font,
                                   const std::string& text, TColor background)
{
    FOut += CellOpening(alignment, spacing, font, background);
    AppendRtfText(FOut, text);
    FOut += CellClosing;
}

void TDBGridGxExportAsRTF::PutRowEnd()
{
    FOut += "\\pard\\intbl\\row}\r\n";
    Flush();
}

void TDBGridGxExportAsRTF::PutDataRow(const TColumnsGxList& columns)
{
    FRowShading.resize(static_cast<size_t>(columns.Count()));
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnGx& column = *columns[i];
        TColor shading = column.Color();
        if (Grid->OnGetCellParams) {
            TFontGx font = column.Font();
            Grid->OnGetCellParams(*Grid, column, font, shading, TGridDrawState());
        }
        FRowShading[static_cast<size_t>(i)] = shading;
    }
    // Column widths stay as they are while an export runs, so a row shaded
    // as the row before has the same definition.
    if (FDataRowDefinition.empty() || FRowShading != FDataRowShading) {
        std::vector<TCellFrame> frames(FRowShading.size());
        for (size_t i = 0; i < frames.size(); ++i)
            frames[i].Shading = FRowShading[i];
        FDataRowDefinition = RowDefinition(columns, frames);
        FDataRowShading = FRowShading;
    }
    FOut += FDataRowDefinition;
    FDataCellPosition = 0;
    TDBGridGxExport::PutDataRow(columns);
    PutRowEnd();
}

void TDBGridGxExportAsRTF::PutDataCell(TColumnGx& column, TColCellParamsGx& params)
{
    const TCellMarkupGx& markup =
        FDataCells.Markup(FDataCellPosition++, params.Font, params.Background, params.Alignment, [&] {
            return TCellMarkupGx{CellOpening(params.Alignment, Spacing(), params.Font, params.Background),
                                 CellClosing};
        });
    FOut += markup.Open;
    AppendRtfText(FOut, params.Text);
    FOut += markup.Close;
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
            FOut += LookWords(font, background);
            AppendRtfText(FOut, bands.Text(level, i));
        } else {
            FOut += LookWords(font, background);
        }
        FOut += CellClosing;
    }
    PutRowEnd();
}
