// The caption title tree: grouping runs of columns by their captions'
// outermost parts, then sizing the bands.

#include "exchange/CaptionTitleTree.h"

#include "grid/columns/DBGridColumnsGx.h"
#include "grid/DBGridGx.h"

#include <algorithm>

namespace {

// The parts of a caption: [begin, end) of its first part and where the part
// after the separators that follow it starts (size when there is none).
struct TCaptionParts {
    size_t Begin = 0;
    size_t End = 0;
    size_t Rest = 0;

    explicit TCaptionParts(const std::string& text)
    {
        Begin = text.find_first_not_of('|');
        if (Begin == std::string::npos)
            Begin = text.size();
        End = std::min(text.find('|', Begin), text.size());
        Rest = std::min(text.find_first_not_of('|', End), text.size());
    }
    std::string First(const std::string& text) const { return text.substr(Begin, End - Begin); }
    bool HasSecond(const std::string& text) const { return Rest < text.size(); }
};

std::vector<std::string> CaptionsOf(const TDBGridColumnsGx& columns)
{
    std::vector<std::string> captions;
    captions.reserve(static_cast<size_t>(columns.Count()));
    for (const auto& column : columns)
        captions.push_back(column->Title()->Caption());
    return captions;
}

}  // namespace

TCaptionTitleTreeGx::TCaptionTitleTreeGx(const TDBGridColumnsGx& columns)
{
    Build(CaptionsOf(columns));
    for (int i = 0; i < columns.Count(); ++i)
        FLeafOfColumn[columns[i]] = FLeaves[static_cast<size_t>(i)];
}

TCaptionTitleTreeGx::TCaptionTitleTreeGx(const std::vector<std::string>& captions)
{
    Build(captions);
}

TTitleTreeViewGx::TNode TCaptionTitleTreeGx::Leaf(const TColumnGx& column) const
{
    auto it = FLeafOfColumn.find(&column);
    return it == FLeafOfColumn.end() ? nullptr : it->second;
}

void TCaptionTitleTreeGx::Build(const std::vector<std::string>& captions)
{
    for (size_t i = 0; i < captions.size(); ++i) {
        FNodes.push_back(std::make_unique<TNodeData>());
        FLeaves.push_back(FNodes.back().get());
        FTopLevel.push_back(FNodes.back().get());
    }
    std::vector<std::string> texts = captions;
    while (GroupFirstRun(texts)) {
    }
    for (size_t i = 0; i < FLeaves.size(); ++i)
        FLeaves[i]->Text = texts[i];
    ComputeHeights(FTopLevel);
}

bool TCaptionTitleTreeGx::GroupFirstRun(std::vector<std::string>& texts)
{
    for (size_t first = 0; first < texts.size(); ++first) {
        const TCaptionParts parts(texts[first]);
        if (!parts.HasSecond(texts[first]))
            continue;
        const std::string group = parts.First(texts[first]);
        // The run stays among siblings: a leaf already grouped under another
        // node never joins it.
        size_t last = first;
        while (last + 1 < texts.size() && FLeaves[last + 1]->Host == FLeaves[first]->Host &&
               TCaptionParts(texts[last + 1]).First(texts[last + 1]) == group)
            ++last;
        // Each leaf loses its own first part with the separators around it
        // (leading separators may differ from leaf to leaf).
        for (size_t i = first; i <= last; ++i)
            texts[i].erase(0, TCaptionParts(texts[i]).Rest);
        Union(first, last, group);
        return true;
    }
    return false;
}

void TCaptionTitleTreeGx::Union(size_t first, size_t last, const std::string& text)
{
    TNodeData* host = FLeaves[first]->Host;
    std::vector<TNodeData*>& level = host ? host->Children : FTopLevel;
    auto from = std::find(level.begin(), level.end(), FLeaves[first]);
    auto to = std::next(from, static_cast<std::ptrdiff_t>(last - first + 1));

    FNodes.push_back(std::make_unique<TNodeData>());
    TNodeData* node = FNodes.back().get();
    node->Text = text;
    node->Host = host;
    node->Children.assign(from, to);
    for (TNodeData* child : node->Children)
        child->Host = node;
    *from = node;
    level.erase(std::next(from), to);
}

int TCaptionTitleTreeGx::ComputeHeights(const std::vector<TNodeData*>& children)
{
    std::vector<int> below(children.size(), 0);
    int levelHeight = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        if (!children[i]->Children.empty())
            below[i] = ComputeHeights(children[i]->Children);
        levelHeight = std::max(levelHeight, below[i] + 1);
    }
    for (size_t i = 0; i < children.size(); ++i)
        children[i]->Height = levelHeight - below[i];
    return levelHeight;
}

std::unique_ptr<TTitleTreeViewGx> GridTitleTree(const TCustomDBGridGx& grid)
{
    return std::make_unique<TCaptionTitleTreeGx>(grid.Columns());
}
