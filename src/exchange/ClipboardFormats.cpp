// Building a copy's clipboard contents from the exporters, and taking a
// paste's input from the clipboard's.

#include "exchange/ClipboardFormats.h"

#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"
#include "exchange/DBGridGxExportAsVCLDBIF.h"

#include <QMimeData>
#include <QString>

namespace {

// An exporter that reports every record it writes.
template <class TExporter>
class TReportingExport : public TExporter {
public:
    std::function<void()> OnRow;

protected:
    void PutDataRow(const TColumnsGxList& columns) override
    {
        TExporter::PutDataRow(columns);
        if (OnRow)
            OnRow();
    }
};

template <class TExporter>
QByteArray ExportedBytes(TCustomDBGridGx& grid, bool exportAll, const std::function<void()>& onRow)
{
    TReportingExport<TExporter> exporter;
    exporter.Grid = &grid;
    exporter.OnRow = onRow;
    return exporter.ExportIntoBytes(exportAll);
}

}  // namespace

void ExportSelectionToMimeData(TCustomDBGridGx& grid, bool exportAll, QMimeData& mime,
                               const std::function<void()>& onRow)
{
    mime.setText(QString::fromUtf8(ExportedBytes<TDBGridGxExportAsText>(grid, exportAll, onRow)));
    mime.setData(MimeTypeCSV, ExportedBytes<TDBGridGxExportAsCSV>(grid, exportAll, onRow));
    const QByteArray rtf = ExportedBytes<TDBGridGxExportAsRTF>(grid, exportAll, onRow);
    mime.setData(MimeTypeRTF, rtf);
    mime.setData(MimeTypeRTFApplication, rtf);
    mime.setData(MimeTypeVCLDBIF, ExportedBytes<TDBGridGxExportAsVCLDBIF>(grid, exportAll, onRow));
    // As bytes: the UTF-8 the exporter wrote is what text/html carries, and
    // a large export is not converted to a string and back.
    mime.setData(MimeTypeHTML, ExportedBytes<TDBGridGxExportAsHTML>(grid, exportAll, onRow));
}

TPasteData PasteDataOf(const QMimeData* mime)
{
    if (!mime)
        return {};
    if (mime->hasFormat(MimeTypeVCLDBIF))
        return {TPasteFormat::VCLDBIF, mime->data(MimeTypeVCLDBIF)};
    if (mime->hasText())
        return {TPasteFormat::Text, PastedTextBytes(mime->text().toUtf8())};
    return {};
}

bool HasPasteableData(const QMimeData* mime)
{
    return mime && (mime->hasFormat(MimeTypeVCLDBIF) || mime->hasText());
}

QByteArray PastedTextBytes(const QByteArray& text)
{
    const qsizetype end = text.indexOf('\0');
    QByteArray bytes = end < 0 ? text : text.left(end);
    if (!bytes.contains('\r'))
        bytes.replace("\n", "\r\n");
    return bytes;
}
