#pragma once
// A shown grid over numbered records (ID 1..n required, NAME "Rn") driven
// by key events, and a clipboard-actions double that records its calls.

#include "grid/RowWindowTestSupport.h"
#include "grid/input/GridClipboardActionsGx.h"

#include <QTest>

#include <string>
#include <vector>

class TKeyGrid : public TNumberedGrid {
public:
    explicit TKeyGrid(int records, bool sequenced = true) : TNumberedGrid(records, sequenced) {}

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Grid.get(), key, modifiers);
    }
    void Type(const char* text) { QTest::keyClicks(Grid.get(), text); }
    int RecordCount() { return Table->RecordCount(); }
    TDataSetState State() const { return Table->State(); }
    std::string Name() const { return Table->FieldByName("NAME")->AsString(); }
    // The data column of the current cell.
    int DataCol() const { return Grid->RawToDataColumn(Grid->Col()); }
};

// Records which clipboard operation the grid started.
class TRecordingClipboardActions : public TGridClipboardActionsGx {
public:
    std::vector<std::string>& Calls;
    bool Pasteable = true;

    explicit TRecordingClipboardActions(std::vector<std::string>& calls) : Calls(calls) {}
    void CopySelectionToClipboard(TCustomDBGridGx&) override { Calls.push_back("copy"); }
    void CutSelectionToClipboard(TCustomDBGridGx&) override { Calls.push_back("cut"); }
    void PasteIntoSelection(TCustomDBGridGx&) override { Calls.push_back("paste"); }
    void DeleteSelectedData(TCustomDBGridGx&) override { Calls.push_back("delete"); }
    bool ClipboardHasPasteableData() const override { return Pasteable; }
};
