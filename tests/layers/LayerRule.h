#pragma once
// The include rule between the source folders: a file may include headers
// of its own layer and of the layers below it, never of a layer above.
// Bottom to top:
//   platform            no Qt: variants, exceptions, streams, formatting
//   data/engine         the table engine's core (no Qt)
//   data                datasets, fields, sources and links (no Qt)
//   data/engine/<drv>   the engine's drivers: dbf, paradox, ascii, drivers
//   ui                  the Qt base layer
//   grid, editors       one layer: the grid hosts the editors' controls
//   exchange            exporters, importers, clipboard actions
//   app, tools          the programs
// The lowest three layers use no Qt header at all.

#include <optional>
#include <string>
#include <vector>

namespace layers {

// The layer of a path inside src/ ("grid/columns/ColumnGx.h"), bottom 0;
// nothing for a path outside every known folder.
std::optional<int> LayerOf(const std::string& srcRelativePath);
// The folder name of a layer, for messages.
std::string LayerName(int layer);
// Whether files of the layer may include Qt headers.
bool LayerMayUseQt(int layer);

// One include that breaks the rule.
struct TViolation {
    std::string File;      // relative to src/
    int Line = 0;
    std::string Include;   // as written between the quotes or brackets
    std::string Reason;
};

// Checks the include lines of one file's text.
std::vector<TViolation> CheckFile(const std::string& srcRelativePath, const std::string& text);

}   // namespace layers
