// The settings of edit buttons: defaults, clamping, Assign and the change
// notifications that reach a column.

#include "editors/EditButtonControlGx.h"
#include "editors/EditButtonGx.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

TEST(EditButtonSettings, DefaultsOfPlainAndVisibleButtons)
{
    TEditButtonGx plain;
    EXPECT_FALSE(plain.Visible());
    EXPECT_EQ(plain.Style(), ebsDropDownGx);
    EXPECT_EQ(plain.NumGlyphs(), 1);
    EXPECT_EQ(plain.Width(), 0);
    EXPECT_TRUE(plain.ShortCut().isEmpty());
    EXPECT_TRUE(plain.Glyph().isNull());
    EXPECT_EQ(plain.DropdownMenu(), nullptr);
    EXPECT_EQ(plain.Index(), -1);

    TVisibleEditButtonGx visible;
    EXPECT_TRUE(visible.Visible());
    EXPECT_EQ(visible.ShortCut(), QKeySequence(Qt::ALT | Qt::Key_Down));
    EXPECT_EQ(visible.Style(), ebsDropDownGx);
}

TEST(EditButtonSettings, NumGlyphsIsClampedToOneToFour)
{
    TEditButtonGx button;
    button.SetNumGlyphs(0);
    EXPECT_EQ(button.NumGlyphs(), 1);
    button.SetNumGlyphs(9);
    EXPECT_EQ(button.NumGlyphs(), 4);
    button.SetNumGlyphs(3);
    EXPECT_EQ(button.NumGlyphs(), 3);
}

TEST(EditButtonSettings, AssignCopiesTheLookButNotHintMenuOrEvents)
{
    QMenu menu;
    TEditButtonGx source;
    QPixmap glyph(8, 8);
    glyph.fill(Qt::red);
    source.SetGlyph(glyph);
    source.SetNumGlyphs(2);
    source.SetStyle(ebsPlusGx);
    source.SetShortCut(QKeySequence(Qt::CTRL | Qt::Key_E));
    source.SetVisible(true);
    source.SetWidth(21);
    source.SetHint("Add one");
    source.SetDropdownMenu(&menu);
    source.OnClick = [](TEditButtonGx&, bool&) {};

    TVisibleEditButtonGx target;
    target.Assign(source);
    EXPECT_EQ(target.Glyph().cacheKey(), glyph.cacheKey());
    EXPECT_EQ(target.NumGlyphs(), 2);
    EXPECT_EQ(target.Style(), ebsPlusGx);
    EXPECT_EQ(target.ShortCut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_TRUE(target.Visible());
    EXPECT_EQ(target.Width(), 21);
    EXPECT_EQ(target.Hint(), "");
    EXPECT_EQ(target.DropdownMenu(), nullptr);
    EXPECT_FALSE(target.OnClick);
}

TEST(EditButtonSettings, AFreedMenuIsForgotten)
{
    TEditButtonGx button;
    auto* menu = new QMenu;
    button.SetDropdownMenu(menu);
    EXPECT_EQ(button.DropdownMenu(), menu);
    delete menu;
    EXPECT_EQ(button.DropdownMenu(), nullptr);
}

TEST(EditButtonSettings, ChangesReachTheCollectionOnlyWhenSomethingChanged)
{
    TEditButtonsGx buttons;
    std::vector<TEditButtonGx*> updates;
    buttons.SetUpdateHandler([&](TEditButtonGx* item) { updates.push_back(item); });
    TEditButtonGx* button = buttons.Add();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates.back(), nullptr);   // adding changes the whole collection
    EXPECT_TRUE(button->Visible());        // items are visible buttons
    EXPECT_EQ(button->Index(), 0);
    EXPECT_EQ(button->Collection(), &buttons);

    updates.clear();
    button->SetStyle(ebsEllipsisGx);
    button->SetWidth(12);
    button->SetHint("More");
    button->SetNumGlyphs(2);
    button->SetVisible(false);
    button->SetGlyph(QPixmap(4, 4));
    EXPECT_EQ(updates, std::vector<TEditButtonGx*>(6, button));

    updates.clear();
    button->SetStyle(ebsEllipsisGx);
    button->SetWidth(12);
    button->SetNumGlyphs(7);
    button->SetNumGlyphs(4);   // 7 was clamped to 4 already
    button->SetShortCut(QKeySequence(Qt::Key_F4));
    EXPECT_EQ(updates, std::vector<TEditButtonGx*>{button});
}

TEST(EditButtonSettings, AnItemsChangeHandlerReplacesTheCollectionNotification)
{
    TEditButtonsGx buttons;
    int collectionUpdates = 0;
    buttons.SetUpdateHandler([&](TEditButtonGx*) { ++collectionUpdates; });
    TEditButtonGx* button = buttons.Add();
    collectionUpdates = 0;
    TEditButtonGx* changed = nullptr;
    button->SetChangeHandler([&](TEditButtonGx& sender) { changed = &sender; });
    button->SetStyle(ebsMinusGx);
    EXPECT_EQ(changed, button);
    EXPECT_EQ(collectionUpdates, 0);
}

TEST(EditButtonSettings, ABatchOfChangesIsAnnouncedOnce)
{
    TEditButtonsGx buttons;
    std::vector<TEditButtonGx*> updates;
    buttons.SetUpdateHandler([&](TEditButtonGx* item) { updates.push_back(item); });
    buttons.BeginUpdate();
    buttons.Add()->SetStyle(ebsPlusGx);
    buttons.Add()->SetStyle(ebsMinusGx);
    buttons.Move(1, 0);
    EXPECT_TRUE(updates.empty());
    buttons.EndUpdate();
    EXPECT_EQ(updates, std::vector<TEditButtonGx*>{nullptr});
    EXPECT_EQ(buttons[0]->Style(), ebsMinusGx);
    EXPECT_EQ(buttons[1]->Index(), 1);

    updates.clear();
    buttons.Clear();
    EXPECT_EQ(buttons.Count(), 0);
    EXPECT_EQ(updates, std::vector<TEditButtonGx*>{nullptr});
}

TEST(EditButtonSettings, CollectionAssignCopiesEveryItem)
{
    TEditButtonsGx source;
    source.Add()->SetStyle(ebsUpDownGx);
    source.Add()->SetWidth(30);
    source[1]->SetHint("not copied");
    TEditButtonsGx target;
    target.Add();
    target.Add();
    target.Add();
    int updates = 0;
    target.SetUpdateHandler([&](TEditButtonGx*) { ++updates; });
    target.Assign(source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target[0]->Style(), ebsUpDownGx);
    EXPECT_EQ(target[1]->Width(), 30);
    EXPECT_EQ(target[1]->Hint(), "");
    EXPECT_EQ(updates, 1);
}

TEST(EditButtonSettings, DeleteAndMoveCheckTheirIndexes)
{
    TEditButtonsGx buttons;
    buttons.Add();
    EXPECT_THROW(buttons.Delete(1), std::out_of_range);
    EXPECT_THROW(buttons.Move(0, 3), std::out_of_range);
    buttons.Delete(0);
    EXPECT_EQ(buttons.Count(), 0);
}

TEST(EditButtonSettings, CreatesItsControlInTheEditControl)
{
    TVisibleEditButtonGx button;
    EXPECT_EQ(button.CreateEditButtonControl(), nullptr);
    QWidget edit;
    button.SetEditControl(&edit);
    TEditButtonControlGx* control = button.CreateEditButtonControl();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), &edit);
    EXPECT_EQ(control->size(), QSize(10, 17));
    EXPECT_FALSE(control->isHidden());
}
