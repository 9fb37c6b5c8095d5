#include "editors/EditButtonGx.h"

#include "editors/EditButtonControlGx.h"

#include <algorithm>
#include <stdexcept>

// ---- TEditButtonGx

TEditButtonGx::TEditButtonGx(TEditButtonsGx* collection) : FCollection(collection) {}

TEditButtonGx::~TEditButtonGx() = default;

int TEditButtonGx::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TEditButtonGx::Changed()
{
    if (FChangeHandler)
        FChangeHandler(*this);
    else if (FCollection)
        FCollection->Changed(this);
}

void TEditButtonGx::Assign(const TEditButtonGx& source)
{
    if (&source == this)
        return;
    FGlyph = source.FGlyph;
    FNumGlyphs = source.FNumGlyphs;
    FStyle = source.FStyle;
    FShortCut = source.FShortCut;
    FVisible = source.FVisible;
    FWidth = source.FWidth;
    Changed();
}

void TEditButtonGx::SetGlyph(const QPixmap& value)
{
    FGlyph = value;
    Changed();
}

void TEditButtonGx::SetHint(const std::string& value)
{
    if (value == FHint)
        return;
    FHint = value;
    Changed();
}

void TEditButtonGx::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (value == FNumGlyphs)
        return;
    FNumGlyphs = value;
    Changed();
}

void TEditButtonGx::SetStyle(TEditButtonStyleGx value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TEditButtonGx::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed();
}

void TEditButtonGx::SetWidth(int value)
{
    if (value == FWidth)
        return;
    FWidth = value;
    Changed();
}

TEditButtonControlGx* TEditButtonGx::CreateEditButtonControl()
{
    if (FEditControl == nullptr)
        return nullptr;
    auto* control = new TEditButtonControlGx(FEditControl);
    control->resize(10, 17);
    control->show();
    return control;
}

// ---- TVisibleEditButtonGx

TVisibleEditButtonGx::TVisibleEditButtonGx(TEditButtonsGx* collection) : TEditButtonGx(collection)
{
    FVisible = true;
    FShortCut = QKeySequence(Qt::ALT | Qt::Key_Down);
}

// ---- TEditButtonsGx

TEditButtonsGx::TEditButtonsGx(TColumnGx* owner) : FOwner(owner) {}

TEditButtonsGx::~TEditButtonsGx()
{
    // Items must not announce changes to a collection that is going away.
    for (auto& item : FItems)
        item->FCollection = nullptr;
}

std::unique_ptr<TEditButtonGx> TEditButtonsGx::CreateItem() { return std::make_unique<TVisibleEditButtonGx>(this); }

TEditButtonGx* TEditButtonsGx::Add()
{
    auto item = CreateItem();
    item->FCollection = this;
    FItems.push_back(std::move(item));
    TEditButtonGx* added = FItems.back().get();
    Changed(nullptr);
    return added;
}

void TEditButtonsGx::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("Edit button index out of bounds (" + std::to_string(index) + ")");
    std::unique_ptr<TEditButtonGx> removed = std::move(FItems[static_cast<size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    removed->FCollection = nullptr;
    removed.reset();
    Changed(nullptr);
}

void TEditButtonsGx::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        Delete(Count() - 1);
    EndUpdate();
}

void TEditButtonsGx::Move(int fromIndex, int toIndex)
{
    if (fromIndex < 0 || fromIndex >= Count() || toIndex < 0 || toIndex >= Count())
        throw std::out_of_range("Edit button index out of bounds");
    if (fromIndex == toIndex)
        return;
    auto item = std::move(FItems[static_cast<size_t>(fromIndex)]);
    FItems.erase(FItems.begin() + fromIndex);
    FItems.insert(FItems.begin() + toIndex, std::move(item));
    Changed(nullptr);
}

void TEditButtonsGx::Assign(const TEditButtonsGx& source)
{
    if (&source == this)
        return;
    RunInUpdate(*this, [&] {
        Clear();
        AddCopiesOf(source, [this] { return Add(); });
    });
}

void TEditButtonsGx::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        Changed(nullptr);
}

void TEditButtonsGx::Changed(TEditButtonGx* item)
{
    if (FUpdateCount == 0)
        Update(item);
}

void TEditButtonsGx::Update(TEditButtonGx* item)
{
    if (FUpdateHandler)
        FUpdateHandler(item);
}
