// References to objects that can be destroyed elsewhere: popup menus, image
// lists, data sources and fields.

#include "GridTestSupport.h"

#include <QCoreApplication>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

TEST(FreeNotification, AFreedPopupMenuLeavesEveryColumn)
{
    TBoundGrid bound;
    auto menu = std::make_unique<QMenu>();
    bound.Columns()[0]->SetPopupMenu(menu.get());
    bound.Columns()[2]->SetPopupMenu(menu.get());
    EXPECT_EQ(bound.Columns()[2]->PopupMenu(), menu.get());
    menu.reset();
    EXPECT_EQ(bound.Columns()[0]->PopupMenu(), nullptr);
    EXPECT_EQ(bound.Columns()[2]->PopupMenu(), nullptr);
}

TEST(FreeNotification, AFreedImageListLeavesTheColumnsAndTheTitles)
{
    TBoundGrid bound;
    auto images = std::make_unique<TImageList>(8, 8);
    TColumnGx* code = bound.Column("CODE");
    code->SetKeyList({"Y"});
    code->SetImageList(images.get());
    bound.Grid->SetTitleImages(images.get());
    ASSERT_EQ(code->ColumnKind(), ckKeyImageList);
    images.reset();
    EXPECT_EQ(code->ImageList(), nullptr);
    EXPECT_EQ(bound.Grid->TitleImages(), nullptr);
    EXPECT_EQ(code->ColumnKind(), ckCommon);
}

TEST(FreeNotification, AColumnCopiedFromAnotherSharesItsReferencesSafely)
{
    TBoundGrid bound;
    auto menu = std::make_unique<QMenu>();
    TColumnGx* first = bound.Columns().Add();
    first->SetPopupMenu(menu.get());
    TColumnGx* second = bound.Columns().Add();
    second->Assign(*first);
    EXPECT_EQ(second->PopupMenu(), menu.get());
    menu.reset();
    EXPECT_EQ(second->PopupMenu(), nullptr);
}

TEST(FreeNotification, FreedFieldsAreDroppedAndTheColumnsRebuiltLater)
{
    TBoundGrid bound;
    TColumnGx* user = bound.Columns().Add();
    user->SetFieldName("NAME");
    ASSERT_EQ(user->Field(), bound.Field("NAME"));
    // With the controls disabled the grid hears of the close only later,
    // but the fields are destroyed at once, while the column holds one.
    bound.Table->DisableControls();
    bound.Table->Close();
    EXPECT_EQ(user->Field(), nullptr);
    EXPECT_EQ(user->FieldName(), "NAME");
    EXPECT_EQ(user->DisplayText(), "");
    EXPECT_TRUE(bound.Grid->DeferredLayoutPosted());
    int passes = bound.Grid->LayoutPassCount();
    QCoreApplication::sendPostedEvents(bound.Grid.get());
    EXPECT_EQ(bound.Grid->LayoutPassCount(), passes + 1);
    EXPECT_FALSE(bound.Grid->DeferredLayoutPosted());
    bound.Table->EnableControls();
    bound.Table->Open();
    EXPECT_EQ(user->Field(), bound.Field("NAME"));
}

TEST(FreeNotification, FreeingTheDatasetWhileBoundLeavesTheGridEmpty)
{
    TBoundGrid bound;
    bound.Table.reset();
    EXPECT_EQ(bound.Grid->DataLink()->DataSet(), nullptr);
    ASSERT_EQ(bound.Columns().Count(), 1);
    EXPECT_EQ(bound.Columns()[0]->Field(), nullptr);
    QCoreApplication::sendPostedEvents(bound.Grid.get());
    EXPECT_EQ(bound.Columns().Count(), 1);
}

}  // namespace
