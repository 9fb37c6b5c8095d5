#include "ui/DialogService.h"

#include "platform/Exceptions.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

// The captions of a box's buttons from left to right as they show.
std::vector<QString> ButtonsLeftToRight(QMessageBox& box)
{
    box.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    QList<QAbstractButton*> buttons = box.buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint(0, 0)).x() < b->mapToGlobal(QPoint(0, 0)).x();
    });
    std::vector<QString> captions;
    for (QAbstractButton* button : buttons)
        captions.push_back(button->text());
    box.hide();
    return captions;
}

// Runs a built box while `act` drives it from the event loop.
TModalResult RunWhile(QMessageBox& box, std::function<void(QMessageBox&)> act)
{
    QTimer::singleShot(0, &box, [&box, act] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
        act(box);
    });
    return RunMessageDialog(box);
}

QAbstractButton* ButtonWithText(QMessageBox& box, const QString& text)
{
    for (QAbstractButton* button : box.buttons())
        if (button->text() == text)
            return button;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

} // namespace

TEST(DialogService, AnswererAnswersAndRecordsEveryBox)
{
    TMessageAnswerer answerer(mrYes);
    EXPECT_EQ(MessageDlg("Delete record?", mtConfirmation, mbYesNo), mrYes);
    EXPECT_EQ(MessageDlg("Delete all selected records?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrYes);
    ASSERT_EQ(answerer.Count(), 2);
    EXPECT_EQ(answerer.Requests()[0].Text, "Delete record?");
    EXPECT_EQ(answerer.Requests()[0].Type, mtConfirmation);
    EXPECT_EQ(answerer.Requests()[0].Buttons, mbYesNo);
    EXPECT_EQ(answerer.Last().Buttons, mbYesNoCancel);
}

TEST(DialogService, AnswerersNestAndAnswerInTurn)
{
    TMessageAnswerer outer(mrNo);
    {
        auto inner = TMessageAnswerer::InTurn({mrYes, mrCancel});
        EXPECT_EQ(MessageDlg("first", mtConfirmation, mbYesNoCancel), mrYes);
        EXPECT_EQ(MessageDlg("second", mtConfirmation, mbYesNoCancel), mrCancel);
        EXPECT_THROW(MessageDlg("third", mtConfirmation, mbYesNoCancel), std::logic_error);
        EXPECT_EQ(TMessageAnswerer::Current(), &inner);
    }
    EXPECT_EQ(TMessageAnswerer::Current(), &outer);
    EXPECT_EQ(MessageDlg("fourth", mtWarning, mbYesNo), mrNo);
    EXPECT_EQ(outer.Count(), 1);
    EXPECT_EQ(outer.Last().Text, "fourth");
}

TEST(DialogService, AnswerThatNoButtonGivesIsAFaultOfTheTest)
{
    TMessageAnswerer answerer(mrYes);
    EXPECT_THROW(MessageDlg("Saved.", mtInformation, {mbOK}), std::logic_error);
    TMessageAnswerer closing(mrCancel);   // closing the box is always possible
    EXPECT_EQ(MessageDlg("Saved.", mtInformation, {mbOK}), mrCancel);
}

TEST(DialogService, ShowMessageAndShowException)
{
    TMessageAnswerer answerer(mrOk);
    ShowMessage("Done");
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Type, mtCustom);
    EXPECT_EQ(answerer.Last().Buttons, TMsgDlgButtons{mbOK});

    ShowException(EDatabaseError("Field 'X' not found"));
    ASSERT_EQ(answerer.Count(), 2);
    EXPECT_EQ(answerer.Last().Text, "Field 'X' not found");
    EXPECT_EQ(answerer.Last().Type, mtError);

    ShowException(std::runtime_error("disk full"));
    EXPECT_EQ(answerer.Last().Text, "disk full");

    ShowException(EAbort());
    EXPECT_EQ(answerer.Count(), 3);   // silent
}

TEST(DialogService, NoAnswererOnAHeadlessPlatformRaisesInsteadOfHanging)
{
    ASSERT_EQ(TMessageAnswerer::Current(), nullptr);
    EXPECT_THROW(MessageDlg("Delete record?", mtConfirmation, mbYesNo), std::logic_error);
    EXPECT_THROW(ShowMessage("x"), std::logic_error);
}

TEST(DialogService, BoxHasTheTypesCaptionIconAndButtonsInClassicOrder)
{
    std::unique_ptr<QMessageBox> box(CreateMessageDialog("Delete record?", mtConfirmation, mbYesNoCancel));
    EXPECT_EQ(box->windowTitle(), "Confirm");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->text(), "Delete record?");
    EXPECT_EQ(ButtonsLeftToRight(*box), (std::vector<QString>{"&Yes", "&No", "Cancel"}));
    EXPECT_EQ(box->defaultButton()->text(), "&Yes");
    EXPECT_EQ(box->escapeButton()->text(), "Cancel");

    std::unique_ptr<QMessageBox> all(CreateMessageDialog("x", mtWarning,
        {mbHelp, mbYesToAll, mbNoToAll, mbAll, mbIgnore, mbRetry, mbAbort, mbCancel, mbOK, mbNo, mbYes}));
    EXPECT_EQ(all->windowTitle(), "Warning");
    EXPECT_EQ(all->icon(), QMessageBox::Warning);
    EXPECT_EQ(ButtonsLeftToRight(*all),
              (std::vector<QString>{"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All",
                                    "N&o to All", "Yes to &All", "&Help"}));
    EXPECT_EQ(all->defaultButton()->text(), "OK");

    std::unique_ptr<QMessageBox> error(CreateMessageDialog("x", mtError, {}));
    EXPECT_EQ(error->windowTitle(), "Error");
    EXPECT_EQ(error->icon(), QMessageBox::Critical);
    EXPECT_EQ(ButtonsLeftToRight(*error), (std::vector<QString>{"OK"}));

    std::unique_ptr<QMessageBox> custom(CreateMessageDialog("x", mtCustom, {mbOK}));
    EXPECT_EQ(custom->windowTitle(), "tablemaint");
    EXPECT_EQ(custom->icon(), QMessageBox::NoIcon);
    std::unique_ptr<QMessageBox> info(CreateMessageDialog("x", mtInformation, {mbOK}));
    EXPECT_EQ(info->windowTitle(), "Information");
}

TEST(DialogService, RunningABoxGivesTheClickedButtonsResult)
{
    std::unique_ptr<QMessageBox> box(CreateMessageDialog("Delete record?", mtConfirmation, mbYesNoCancel));
    EXPECT_EQ(RunWhile(*box, [](QMessageBox& b) { QTest::mouseClick(ButtonWithText(b, "&No"), Qt::LeftButton); }), mrNo);

    box.reset(CreateMessageDialog("Delete record?", mtConfirmation, mbYesNoCancel));
    EXPECT_EQ(RunWhile(*box, [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }), mrCancel);

    box.reset(CreateMessageDialog("Delete record?", mtConfirmation, mbYesNo));
    EXPECT_EQ(RunWhile(*box, [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }), mrNo);

    box.reset(CreateMessageDialog("Delete record?", mtConfirmation, mbYesNo));
    EXPECT_EQ(RunWhile(*box, [](QMessageBox& b) { QTest::keyClick(b.focusWidget() ? b.focusWidget() : &b, Qt::Key_Return); }), mrYes);

    box.reset(CreateMessageDialog("Retry?", mtError, mbAbortRetryIgnore));
    EXPECT_EQ(RunWhile(*box, [](QMessageBox& b) { QTest::mouseClick(ButtonWithText(b, "&Ignore"), Qt::LeftButton); }), mrIgnore);

    box.reset(CreateMessageDialog("Apply?", mtConfirmation, mbYesAllNoAllCancel));
    EXPECT_EQ(RunWhile(*box, [](QMessageBox& b) { QTest::mouseClick(ButtonWithText(b, "Yes to &All"), Qt::LeftButton); }), mrYesToAll);
}

TEST(DialogService, ButtonSets)
{
    TMsgDlgButtons set{mbCancel, mbYes};
    EXPECT_EQ(set.List(), (std::vector<TMsgDlgBtn>{mbYes, mbCancel}));
    set.Include(mbNo);
    EXPECT_EQ(set, mbYesNoCancel);
    set.Exclude(mbCancel);
    EXPECT_EQ(set, mbYesNo);
    EXPECT_TRUE(TMsgDlgButtons{}.IsEmpty());
    EXPECT_EQ(ModalResultOf(mbOK), mrOk);
    EXPECT_EQ(ModalResultOf(mbNoToAll), mrNoToAll);
    EXPECT_EQ(ModalResultOf(mbHelp), mrNone);
}
