#include "data/engine/dbf/CdxCheck.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <sstream>

namespace cdx {

namespace {

constexpr size_t MaxDepth = 32;
constexpr size_t MaxFindingsPerTag = 5;

std::string Pair(const TEntry& e) { return "record " + std::to_string(e.RecNo); }

// Walks one tree level by level.
class TTreeWalk {
public:
    TTreeWalk(TPages& pages, const std::string& name, uint16_t keyLength, uint8_t fill, std::set<uint32_t>& used,
              TCheckReport& report)
        : FPages(pages), FName(name), FKeyLength(keyLength), FFill(fill), FUsed(used), FReport(report)
    {
    }

    // The tree's pairs in order; empty after damage (reported).
    std::vector<TEntry> Walk(uint32_t root)
    {
        std::vector<TEntry> pairs;
        std::vector<uint32_t> level{root};
        std::vector<TNode> nodes;
        for (size_t depth = 0; !level.empty(); ++depth) {
            if (depth >= MaxDepth)
                return Fail("the tree is deeper than any index tree can be");
            nodes.clear();
            for (uint32_t page : level) {
                TNode node;
                if (!Load(page, node))
                    return {};
                if (node.IsRoot() != (depth == 0))
                    return Fail("page " + std::to_string(page) + " has a wrong root mark");
                nodes.push_back(std::move(node));
            }
            if (!CheckSiblings(level, nodes))
                return {};
            bool leaves = nodes.front().IsLeaf();
            std::vector<uint32_t> next;
            for (const TNode& node : nodes) {
                if (node.IsLeaf() != leaves)
                    return Fail("leaves stand at different depths");
                if (leaves) {
                    for (size_t i = 0; i < node.Count(); ++i)
                        pairs.push_back(node.Entry(i));
                    continue;
                }
                for (size_t i = 0; i < node.Children.size(); ++i) {
                    TNode child;
                    if (!Load(node.Children[i], child))
                        return {};
                    if (child.Empty() || !node.Holds(i, child.LastKey(), child.LastRecNo()))
                        return Fail("an interior entry differs from its child's last key");
                    next.push_back(node.Children[i]);
                }
            }
            if (leaves)
                break;
            level = std::move(next);
        }
        for (size_t i = 1; i < pairs.size(); ++i)
            if (CompareEntries(pairs[i - 1].Key, pairs[i - 1].RecNo, pairs[i].Key, pairs[i].RecNo) >= 0)
                return Fail("the keys are out of order at " + Pair(pairs[i]));
        return pairs;
    }

private:
    std::vector<TEntry> Fail(const std::string& what)
    {
        FReport.Damage.push_back(FName + ": " + what + ".");
        return {};
    }

    bool Load(uint32_t page, TNode& node)
    {
        if (page % PageSize != 0 || page < HeaderSize || static_cast<uint64_t>(page) + PageSize > FPages.Size()) {
            Fail("a node offset lies outside the file");
            return false;
        }
        std::string error;
        if (!DecodeNode(FPages.Read(page), FKeyLength, FFill, node, error)) {
            Fail("page " + std::to_string(page) + ": " + error);
            return false;
        }
        return true;
    }

    bool CheckSiblings(const std::vector<uint32_t>& level, const std::vector<TNode>& nodes)
    {
        for (size_t i = 0; i < level.size(); ++i) {
            if (!FUsed.insert(level[i]).second) {
                Fail("page " + std::to_string(level[i]) + " is used twice");
                return false;
            }
            uint32_t left = i == 0 ? NoPage : level[i - 1];
            uint32_t right = i + 1 == level.size() ? NoPage : level[i + 1];
            if (nodes[i].Left != left || nodes[i].Right != right) {
                Fail("the sibling links of page " + std::to_string(level[i]) + " are broken");
                return false;
            }
        }
        return true;
    }

    TPages& FPages;
    const std::string& FName;
    uint16_t FKeyLength;
    uint8_t FFill;
    std::set<uint32_t>& FUsed;
    TCheckReport& FReport;
};

void CompareContent(const TTag& tag, const std::vector<TEntry>& found, const std::vector<TEntry>& expected,
                    uint32_t recordCount, TCheckReport& report)
{
    size_t findings = 0;
    auto note = [&](const std::string& what) {
        if (findings++ < MaxFindingsPerTag)
            report.Stale.push_back("Tag " + tag.Name + ": " + what + ".");
    };
    for (const TEntry& e : found)
        if (e.RecNo < 1 || e.RecNo > recordCount)
            note("record " + std::to_string(e.RecNo) + " lies beyond the table");
    size_t i = 0, j = 0;
    while (i < found.size() || j < expected.size()) {
        int c = i == found.size() ? 1 : j == expected.size() ? -1
              : CompareEntries(found[i].Key, found[i].RecNo, expected[j].Key, expected[j].RecNo);
        if (c == 0) {
            ++i;
            ++j;
        } else if (c < 0) {
            note(Pair(found[i]) + " is filed under a key its values do not make");
            ++i;
        } else {
            note(Pair(expected[j]) + " is missing");
            ++j;
        }
    }
    if (tag.Candidate()) {
        for (size_t k = 1; k < expected.size(); ++k)
            if (expected[k].Key == expected[k - 1].Key) {
                report.Notes.push_back("Tag " + tag.Name + ": records " + std::to_string(expected[k - 1].RecNo) +
                                       " and " + std::to_string(expected[k].RecNo) +
                                       " share a key the candidate tag allows once.");
                break;
            }
    }
}

void CheckFreeList(TPages& pages, const std::set<uint32_t>& used, TCheckReport& report)
{
    std::set<uint32_t> free;
    uint32_t page = Le32(pages.Read(0) + 4);
    while (page != 0 && page != NoPage) {
        if (page % PageSize != 0 || page < HeaderSize || static_cast<uint64_t>(page) + PageSize > pages.Size()) {
            report.Damage.push_back("The free-page list points outside the file.");
            return;
        }
        if (!free.insert(page).second) {
            report.Damage.push_back("The free-page list runs in a circle.");
            return;
        }
        if (used.count(page)) {
            report.Damage.push_back("Page " + std::to_string(page) + " is both free and in use.");
            return;
        }
        page = Le32(pages.Read(page));
    }
    report.FreePages = free.size();
    size_t total = static_cast<size_t>(pages.Size() / PageSize);
    report.UsedPages = used.size();
    report.UnreferencedPages = total - std::min(total, used.size() + free.size());
}

} // namespace

std::string TCheckReport::Summary() const
{
    std::ostringstream out;
    for (const std::string& s : Damage)
        out << "damaged: " << s << "\n";
    for (const std::string& s : Stale)
        out << "out of date: " << s << "\n";
    for (const std::string& s : Notes)
        out << "note: " << s << "\n";
    return out.str();
}

TCheckReport CheckIndex(TIndex& index, uint32_t recordCount, const TRecordScan& scan, bool content)
{
    TCheckReport report;
    TPages& pages = index.Pages();
    pages.Reload();
    std::set<uint32_t> used{0, PageSize};
    TTree directory = index.Directory();
    const std::string directoryName = "tag directory";
    TTreeWalk(pages, directoryName, directory.KeyLength(), ' ', used, report).Walk(Le32(pages.Read(0)));
    for (const TTag& tag : index.Tags()) {
        ++report.Tags;
        used.insert(tag.HeaderOffset);
        used.insert(tag.HeaderOffset + PageSize);
        const std::string name = "Tag " + tag.Name;
        std::vector<TEntry> found =
            TTreeWalk(pages, name, tag.Header.KeyLength, tag.Fill, used, report).Walk(Le32(pages.Read(tag.HeaderOffset)));
        report.Keys += found.size();
        if (tag.Unique() && !tag.Candidate())
            for (size_t i = 1; i < found.size(); ++i)
                if (found[i].Key == found[i - 1].Key) {
                    report.Damage.push_back(name + ": the unique tag holds a key twice.");
                    break;
                }
        if (content && tag.Unsupported.empty() && report.Damage.empty())
            CompareContent(tag, found, ExpectedEntries(index, tag, scan), recordCount, report);
    }
    if (report.Damage.empty())
        CheckFreeList(pages, used, report);
    return report;
}

} // namespace cdx
