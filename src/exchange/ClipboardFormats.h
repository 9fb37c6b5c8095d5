#pragma once
// What a copy puts on the clipboard and what a paste takes from it.
//
// A copy offers one QMimeData with every format, each from its own
// export of the selection: tab-separated text as text/plain (UTF-8), CSV
// as text/csv, RTF as text/rtf and application/rtf, the interchange
// format as application/x-vcldbif and HTML as text/html.  No block ends
// in a 0 byte.
//
// A paste prefers the interchange format and otherwise takes plain text.
// A text is read up to its first 0 byte; a text without any CR (as other
// programs here write it) has its LFs read as line ends, a text with CR LF
// is read as it stands.

#include <QByteArray>

#include <functional>

class QMimeData;
class TCustomDBGridGx;

inline constexpr const char* MimeTypeText = "text/plain";
inline constexpr const char* MimeTypeCSV = "text/csv";
inline constexpr const char* MimeTypeRTF = "text/rtf";
inline constexpr const char* MimeTypeRTFApplication = "application/rtf";
inline constexpr const char* MimeTypeVCLDBIF = "application/x-vcldbif";
inline constexpr const char* MimeTypeHTML = "text/html";

// Exports the grid's selection (or, with exportAll, the whole grid) into
// `mime` in every format, in the order above; onRow is called after every
// exported record of every format.  A failure leaves in `mime` the
// formats exported before it.
void ExportSelectionToMimeData(TCustomDBGridGx& grid, bool exportAll, QMimeData& mime,
                               const std::function<void()>& onRow = {});

enum class TPasteFormat { None, VCLDBIF, Text };

struct TPasteData {
    TPasteFormat Format = TPasteFormat::None;
    QByteArray Bytes;
};

// The block a paste reads from the clipboard's contents (null: nothing).
TPasteData PasteDataOf(const QMimeData* mime);
bool HasPasteableData(const QMimeData* mime);
// A pasted text as the text importer reads it: cut at its first 0 byte,
// and with CR LF for every LF when it holds no CR at all.
QByteArray PastedTextBytes(const QByteArray& text);
