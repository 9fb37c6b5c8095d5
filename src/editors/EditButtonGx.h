#pragma once
// The settings of edit buttons: TEditButtonGx describes one button at the
// right edge of an edited cell (its face, width, picture, menu and events);
// TEditButtonsGx is the collection a grid column keeps of them.  The button
// controls themselves are TEditButtonControlGx (EditButtonControlGx.h).
//
// Changing a setting that affects the look (Style, Visible, Width,
// NumGlyphs, Glyph, Hint) calls the item's change handler when one is set,
// otherwise it tells the collection, whose update handler (set by the
// owner) then runs.

#include "platform/OwningCollection.h"

#include <QKeySequence>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TColumnGx;
class TEditButtonControlGx;
class TEditButtonsGx;

enum TEditButtonStyleGx { ebsDropDownGx, ebsEllipsisGx, ebsGlyphGx, ebsUpDownGx, ebsPlusGx, ebsMinusGx };

class TEditButtonGx {
public:
    using TButtonClickEventGx = std::function<void(TEditButtonGx& sender, bool& handled)>;
    using TButtonDownEventGx =
        std::function<void(TEditButtonGx& sender, bool topButton, bool& autoRepeat, bool& handled)>;
    using TChangeHandler = std::function<void(TEditButtonGx& sender)>;

    // Items are normally made by their collection (TEditButtonsGx::Add); an
    // item without a collection stands alone.
    explicit TEditButtonGx(TEditButtonsGx* collection = nullptr);
    virtual ~TEditButtonGx();
    TEditButtonGx(const TEditButtonGx&) = delete;
    TEditButtonGx& operator=(const TEditButtonGx&) = delete;

    TEditButtonsGx* Collection() const { return FCollection; }
    int Index() const;

    // Copies Glyph, NumGlyphs, Style, ShortCut, Visible and Width; not the
    // hint, the menu or the events.
    virtual void Assign(const TEditButtonGx& source);

    QMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(QMenu* value) { FDropdownMenu = value; }
    const QPixmap& Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    // Images side by side in Glyph, 1 .. 4 (other values are clamped).
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    // Kept and copied; the grid's editor does not act on it.
    const QKeySequence& ShortCut() const { return FShortCut; }
    void SetShortCut(const QKeySequence& value) { FShortCut = value; }
    TEditButtonStyleGx Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleGx value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Pixels; 0 or less means the default button width.
    int Width() const { return FWidth; }
    void SetWidth(int value);

    // The edit control the item's button controls are placed in (none until
    // set); cleared by itself when that control is freed.
    QWidget* EditControl() const { return FEditControl; }
    void SetEditControl(QWidget* value) { FEditControl = value; }
    // Replaces the collection notification for changes of this item.
    void SetChangeHandler(TChangeHandler handler) { FChangeHandler = std::move(handler); }

    // A new button control owned by and placed in EditControl (width 10,
    // height 17, shown), or null when no edit control is set.
    virtual TEditButtonControlGx* CreateEditButtonControl();

    TButtonClickEventGx OnClick;
    TButtonDownEventGx OnDown;

protected:
    // Announces a change of this item (change handler, else collection).
    void Changed();

    bool FVisible = false;
    QKeySequence FShortCut;

private:
    friend class TEditButtonsGx;

    TEditButtonsGx* FCollection;
    QPointer<QMenu> FDropdownMenu;
    QPixmap FGlyph;
    std::string FHint;
    int FNumGlyphs = 1;
    TEditButtonStyleGx FStyle = ebsDropDownGx;
    int FWidth = 0;
    QPointer<QWidget> FEditControl;
    TChangeHandler FChangeHandler;
};

// The kind of item a column's EditButtons holds: shown, with Alt+Down.
class TVisibleEditButtonGx : public TEditButtonGx {
public:
    explicit TVisibleEditButtonGx(TEditButtonsGx* collection = nullptr);
};

class TEditButtonsGx : public TOwningCollection<TEditButtonGx> {
public:
    // item is the changed button, or null when the whole collection changed.
    using TUpdateHandler = std::function<void(TEditButtonGx* item)>;

    explicit TEditButtonsGx(TColumnGx* owner = nullptr);
    virtual ~TEditButtonsGx();
    TEditButtonsGx(const TEditButtonsGx&) = delete;
    TEditButtonsGx& operator=(const TEditButtonsGx&) = delete;

    TColumnGx* Owner() const { return FOwner; }

    // Adds a TVisibleEditButtonGx at the end.
    TEditButtonGx* Add();
    void Delete(int index);
    void Clear();
    void Move(int fromIndex, int toIndex);
    // Makes this collection a copy of another one, item by item.
    void Assign(const TEditButtonsGx& source);

    void BeginUpdate() { ++FUpdateCount; }
    // Ends a batch; the last EndUpdate announces one change of everything.
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // A change of an item (or of all, item null): runs Update unless a batch
    // is open.
    void Changed(TEditButtonGx* item);
    void SetUpdateHandler(TUpdateHandler handler) { FUpdateHandler = std::move(handler); }

protected:
    // The collection's own reaction to a change, then the update handler.
    virtual void Update(TEditButtonGx* item);
    // Makes an item of the collection's class.
    virtual std::unique_ptr<TEditButtonGx> CreateItem();

private:
    TColumnGx* FOwner;
    int FUpdateCount = 0;
    TUpdateHandler FUpdateHandler;
};
