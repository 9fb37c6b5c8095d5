// Dragging the selection away under automatic drag mode: a press inside the
// selection waits for the mouse to move beyond the drag distance, then
// drags what the clipboard actions give for the selection; a release
// without such a move selects anew; manual drag mode, Shift and presses
// outside the selection keep the ordinary clicks; the press runs under
// manual drag mode and gets its automatic mode back on every way out.

#include "MouseTestSupport.h"

#include "grid/input/GridClipboardActionsGx.h"

#include <QApplication>
#include <QDrag>

#include <stdexcept>
#include <gtest/gtest.h>

namespace {

// A mouse that records the drags it is asked to run instead of running
// them (QDrag::exec would wait for a drop).
class TDragRecordingMouse : public TDBGridGxMouse {
public:
    using TDBGridGxMouse::TDBGridGxMouse;
    std::vector<QString> Dragged;   // the text each drag carried

protected:
    void ExecDrag(QDrag& drag) override { Dragged.push_back(drag.mimeData()->text()); }
};

class TDragRecordingGrid : public TDBGridGx {
public:
    TDragRecordingGrid()
    {
        auto mouse = std::make_unique<TDragRecordingMouse>(*this);
        Drags = mouse.get();
        SetMouse(std::move(mouse));
    }
    TDragRecordingMouse* Drags;
};

// Drag data naming how many records the selection held when it was asked for.
class TDragDataActions : public TGridClipboardActionsGx {
public:
    void CopySelectionToClipboard(TCustomDBGridGx&) override {}
    void CutSelectionToClipboard(TCustomDBGridGx&) override {}
    void PasteIntoSelection(TCustomDBGridGx&) override {}
    void DeleteSelectedData(TCustomDBGridGx&) override {}
    bool ClipboardHasPasteableData() const override { return false; }
    std::unique_ptr<QMimeData> SelectionDragData(TCustomDBGridGx& grid) override
    {
        auto data = std::make_unique<QMimeData>();
        data->setText(QStringLiteral("selection %1").arg(static_cast<int>(grid.Selection().SelectionType())));
        return data;
    }
};

// A multi-select grid over numbered records under automatic drag mode.
struct TAutoDragGrid : TNumberedGrid {
    TDragRecordingGrid* DragGrid;
    int MouseDowns = 0;

    TAutoDragGrid() : TNumberedGrid(50, true, 480, 240, std::make_unique<TDragRecordingGrid>())
    {
        DragGrid = static_cast<TDragRecordingGrid*>(Grid.get());
        G().SetOptions(G().Options() + dgMultiSelect);
        G().SetDragMode(dmAutomatic);
        G().SetClipboardActions(std::make_unique<TDragDataActions>());
        G().OnMouseDown = [this](Qt::MouseButton, TShiftState, int, int) { ++MouseDowns; };
    }
    const std::vector<QString>& Dragged() const { return DragGrid->Drags->Dragged; }
    TDBGridGxMouse& Mouse() { return G().Mouse(); }
    int Top() { return G().TitleRows(); }
    QPoint Cell(int col, int dataRow) { return CellCentre(G(), col, Top() + dataRow); }
    void Press(QPoint at, Qt::KeyboardModifiers mods = {}) { QTest::mousePress(Client(G()), Qt::LeftButton, mods, at); }
    void Move(QPoint to) { QTest::mouseMove(Client(G()), to); }
    void Release(QPoint at, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseRelease(Client(G()), Qt::LeftButton, mods, at);
    }
    // Selects the rectangle of data columns 0 and 1 over data rows 1 to 3.
    void SelectRectangle()
    {
        G().SelectionModel().ClearSelection();
        DragTo(G(), Cell(1, 1), Cell(2, 3));
        ASSERT_EQ(G().Selection().SelectionType(), gstRectangle);
    }
};

const QString RectangleDragText = QStringLiteral("selection %1").arg(static_cast<int>(gstRectangle));

TEST(MouseDrag, APressInsideTheSelectionDragsItOnceTheMouseMovesBeyondTheDragDistance)
{
    TAutoDragGrid t;
    t.SelectRectangle();
    const int downsBefore = t.MouseDowns;
    const QPoint inside = t.Cell(1, 2);

    t.Press(inside);
    EXPECT_TRUE(t.Mouse().DragPending());
    EXPECT_EQ(t.MouseDowns, downsBefore) << "a press that pends a drag fires no event";
    EXPECT_EQ(t.IdAtRow(t.Top() + 2), t.Id()) << "the pressed record became current";
    EXPECT_FALSE(t.Mouse().Tracking()) << "no selecting drag starts";

    const int distance = QApplication::startDragDistance();
    t.Move(inside + QPoint(distance - 1, 0));
    EXPECT_TRUE(t.Dragged().empty()) << "within the drag distance";
    EXPECT_TRUE(t.Mouse().DragPending());

    t.Move(inside + QPoint(distance, 0));
    ASSERT_EQ(t.Dragged().size(), 1u);
    EXPECT_EQ(t.Dragged()[0], RectangleDragText) << "the drag carries the selection's data";
    EXPECT_FALSE(t.Mouse().DragPending());

    t.Move(inside + QPoint(3 * distance, 0));
    t.Release(inside + QPoint(3 * distance, 0));
    EXPECT_EQ(t.Dragged().size(), 1u) << "one drag per press";
    EXPECT_EQ(t.G().Selection().SelectionType(), gstRectangle) << "dragging keeps the selection";
    EXPECT_EQ(t.G().UpdateLock(), 0);
}

TEST(MouseDrag, AReleaseWithoutADragSelectsAnew)
{
    TAutoDragGrid t;
    t.SelectRectangle();
    Click(t.G(), t.Cell(1, 2));
    EXPECT_TRUE(t.Dragged().empty());
    EXPECT_FALSE(t.Mouse().DragPending());
    EXPECT_EQ(t.G().Selection().SelectionType(), gstNon) << "a plain click inside the selection clears it";
    EXPECT_EQ(t.IdAtRow(t.Top() + 2), t.Id());

    // Selected rows: Ctrl+click on one of them takes it out, the others stay.
    t.G().SetOptions(t.G().Options() + dgRowSelect);
    DragTo(t.G(), t.Cell(1, 1), t.Cell(1, 3));
    ASSERT_EQ(t.G().SelectedRecords().Count(), 3);
    t.Press(t.Cell(1, 2), Qt::ControlModifier);
    EXPECT_TRUE(t.Mouse().DragPending());
    t.Release(t.Cell(1, 2), Qt::ControlModifier);
    EXPECT_EQ(t.G().SelectedRecords().Count(), 2);
    EXPECT_FALSE(t.G().SelectedRecords().CurrentRowSelected());
}

TEST(MouseDrag, OnlyAnUnshiftedLeftPressInsideTheSelectionUnderAutomaticModePendsADrag)
{
    TAutoDragGrid t;
    t.SelectRectangle();

    // Outside the selection: a new rectangle, dragged out as usual.
    DragTo(t.G(), t.Cell(2, 5), t.Cell(2, 6));
    EXPECT_TRUE(t.Dragged().empty());
    EXPECT_EQ(t.G().Selection().Rect().LeftCol(), 1);
    EXPECT_EQ(t.G().Selection().Rect().RightCol(), 1);

    // Shift inside the selection extends it.
    t.SelectRectangle();
    t.Press(t.Cell(1, 2), Qt::ShiftModifier);
    EXPECT_FALSE(t.Mouse().DragPending());
    t.Release(t.Cell(1, 2), Qt::ShiftModifier);

    // A right press keeps the selection for a context menu, and drags nothing.
    t.SelectRectangle();
    QTest::mousePress(Client(t.G()), Qt::RightButton, {}, t.Cell(1, 2));
    EXPECT_FALSE(t.Mouse().DragPending());
    QTest::mouseRelease(Client(t.G()), Qt::RightButton, {}, t.Cell(1, 2));
    EXPECT_EQ(t.G().Selection().SelectionType(), gstRectangle);

    // Manual drag mode, and automatic mode without multi-selection: the
    // press starts a new rectangle.
    const QPoint away = t.Cell(1, 2) + QPoint(0, 2 * t.G().DefaultRowHeight());
    for (const bool manual : {true, false}) {
        t.SelectRectangle();
        t.G().SetDragMode(manual ? dmManual : dmAutomatic);
        if (!manual)
            t.G().SetOptions(t.G().Options() - dgMultiSelect);
        t.Press(t.Cell(1, 2));
        EXPECT_FALSE(t.Mouse().DragPending()) << manual;
        t.Move(away);
        t.Release(away);
        EXPECT_TRUE(t.Dragged().empty()) << manual;
        if (manual) {
            EXPECT_EQ(t.G().Selection().Rect().LeftCol(), 0);
        }
        EXPECT_EQ(t.IdAtRow(t.Top() + 4), t.Id()) << manual << ": the rectangle was dragged down";
        t.G().SetOptions(t.G().Options() + dgMultiSelect);
        t.G().SetDragMode(dmAutomatic);
    }
}

TEST(MouseDrag, WithoutDragDataNothingIsDraggedAndTheMouseGoesOn)
{
    TAutoDragGrid t;
    t.G().SetClipboardActions(nullptr);
    t.SelectRectangle();
    t.Press(t.Cell(1, 2));
    ASSERT_TRUE(t.Mouse().DragPending());
    t.Move(t.Cell(1, 2) + QPoint(3 * QApplication::startDragDistance(), 0));
    EXPECT_TRUE(t.Dragged().empty());
    EXPECT_FALSE(t.Mouse().DragPending());
    t.Release(t.Cell(1, 2) + QPoint(3 * QApplication::startDragDistance(), 0));
    EXPECT_FALSE(t.Mouse().Tracking());
}

TEST(MouseDrag, ThePressRunsUnderManualModeAndGetsAutomaticModeBackOnEveryWayOut)
{
    TAutoDragGrid t;
    std::vector<std::pair<TDragMode, bool>> seen;
    t.G().OnMouseDown = [&](Qt::MouseButton, TShiftState, int, int) {
        seen.emplace_back(t.G().DragMode(), t.Mouse().DragAllowed());
    };
    Click(t.G(), t.Cell(1, 4));
    QTest::mouseDClick(Client(t.G()), Qt::LeftButton, {}, t.Cell(1, 4));
    ASSERT_GE(seen.size(), 2u) << "the click and the double click";
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].first, dmManual) << i;
        EXPECT_TRUE(seen[i].second) << i;
    }
    seen.clear();
    QTest::mouseClick(Client(t.G()), Qt::RightButton, {}, t.Cell(1, 4));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, dmAutomatic) << "a right press is processed as it stands";
    EXPECT_FALSE(seen[0].second);
    EXPECT_EQ(t.G().DragMode(), dmAutomatic);
    EXPECT_FALSE(t.Mouse().DragAllowed());

    EXPECT_THROW(t.Mouse().ProcessLeftPress([&]() -> bool {
        EXPECT_EQ(t.G().DragMode(), dmManual);
        throw std::runtime_error("refused");
    }),
                 std::runtime_error);
    EXPECT_EQ(t.G().DragMode(), dmAutomatic);
    EXPECT_FALSE(t.Mouse().DragAllowed());

    // Without multi-selection the press keeps automatic mode and allows no drag.
    t.G().SetOptions(t.G().Options() - dgMultiSelect);
    seen.clear();
    Click(t.G(), t.Cell(1, 4));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, dmAutomatic);
    EXPECT_FALSE(seen[0].second);
}

}  // namespace
