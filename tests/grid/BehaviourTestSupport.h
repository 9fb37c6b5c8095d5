#pragma once
// A grid whose behaviour objects are recording ones, to check that the grid
// hands its events to them (and still does its own work when they leave an
// event alone).

#include "grid/GridTestSupport.h"
#include "grid/footers/DBGridGxFooterSummaries.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/input/DBGridGxMouse.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <memory>
#include <vector>

class TRecordingKeyboard : public TDBGridGxKeyboard {
public:
    using TDBGridGxKeyboard::TDBGridGxKeyboard;
    std::vector<int> KeysDown;
    std::vector<QString> KeysPressed;
    // Keys the recorder takes itself (the grid must not move on them).
    std::vector<int> Taken;

    bool KeyDown(int& key, TShiftState shift) override
    {
        KeysDown.push_back(key);
        for (int taken : Taken)
            if (key == taken)
                return true;
        return TDBGridGxKeyboard::KeyDown(key, shift);
    }
    bool KeyPress(QString& key) override
    {
        KeysPressed.push_back(key);
        return TDBGridGxKeyboard::KeyPress(key);
    }
};

class TRecordingMouse : public TDBGridGxMouse {
public:
    using TDBGridGxMouse::TDBGridGxMouse;
    std::vector<QPoint> Downs;
    int Moves = 0;
    std::vector<QPoint> Ups;
    bool TakeDowns = false;

    bool MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) override
    {
        Downs.push_back(QPoint(x, y));
        return TakeDowns || TDBGridGxMouse::MouseDown(button, shift, x, y);
    }
    bool MouseMove(TShiftState shift, int x, int y) override
    {
        ++Moves;
        return TDBGridGxMouse::MouseMove(shift, x, y);
    }
    bool MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y) override
    {
        Ups.push_back(QPoint(x, y));
        return TDBGridGxMouse::MouseUp(button, shift, x, y);
    }
};

class TRecordingEditorHost : public TDBGridGxEditorHost {
public:
    using TDBGridGxEditorHost::TDBGridGxEditorHost;
    int EditorsAsked = 0;

    TInplaceEdit* CreateEditor() override
    {
        ++EditorsAsked;
        return TDBGridGxEditorHost::CreateEditor();
    }
};

class TRecordingTitleTree : public TDBGridGxTitleTree {
public:
    using TDBGridGxTitleTree::TDBGridGxTitleTree;
    std::vector<int> HeightsSeen;
    // The height the tree answers with (0: leaves it).
    int TreeHeight = 0;

    void ColumnsLaidOut(int& titleRowHeight) override
    {
        HeightsSeen.push_back(titleRowHeight);
        if (TreeHeight > 0)
            titleRowHeight = TreeHeight;
    }
};

class TRecordingFooterSummaries : public TDBGridGxFooterSummaries {
public:
    using TDBGridGxFooterSummaries::TDBGridGxFooterSummaries;
    std::vector<const TColumnFooterGx*> Changed;
    int Destroyed = 0;
    int DataChanges = 0;
    int64_t Answer = 0;
    bool HasAnswer = false;

    void FooterChanged(TColumnFooterGx& footer) override { Changed.push_back(&footer); }
    void FooterDestroying(TColumnFooterGx& /*footer*/) override { ++Destroyed; }
    void DataChanged() override { ++DataChanges; }
    bool Value(const TColumnFooterGx& /*footer*/, int64_t& scaledValue) const override
    {
        if (HasAnswer)
            scaledValue = Answer;
        return HasAnswer;
    }
};

// A data grid with every behaviour a recording one; the recorders stay
// reachable through the pointers below.
class TBehaviourGrid : public TDBGridGx {
public:
    TBehaviourGrid()
    {
        auto keyboard = std::make_unique<TRecordingKeyboard>(*this);
        Keys = keyboard.get();
        SetKeyboard(std::move(keyboard));
        auto mouse = std::make_unique<TRecordingMouse>(*this);
        Clicks = mouse.get();
        SetMouse(std::move(mouse));
        auto host = std::make_unique<TRecordingEditorHost>(*this);
        Editors = host.get();
        SetEditorHost(std::move(host));
        auto tree = std::make_unique<TRecordingTitleTree>(*this);
        Titles = tree.get();
        SetTitleTree(std::move(tree));
        auto summaries = std::make_unique<TRecordingFooterSummaries>(*this);
        Summaries = summaries.get();
        SetFooterSummaries(std::move(summaries));
    }

    TRecordingKeyboard* Keys;
    TRecordingMouse* Clicks;
    TRecordingEditorHost* Editors;
    TRecordingTitleTree* Titles;
    TRecordingFooterSummaries* Summaries;
};

// A behaviour grid bound to the sample table and shown with the focus.
struct TShownBehaviourGrid {
    std::unique_ptr<TMemTable> Table = SampleTable();
    std::unique_ptr<TDataSource> Source = std::make_unique<TDataSource>(Table.get());
    std::unique_ptr<TBehaviourGrid> Grid = std::make_unique<TBehaviourGrid>();

    TShownBehaviourGrid()
    {
        Grid->SetDataSource(Source.get());
        ShowActiveGrid(*Grid, 500, 300);
    }
};
