#pragma once
// TDBNavigator: a bar of ten buttons that move through, edit, post, cancel
// and refresh the dataset of a data source.  The buttons enable themselves
// from the dataset's state through the bar's own data link; the bar is no
// tab stop and never takes the keyboard focus.

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class TDataSource;
class TNavButton;
class TNavDataLink;
class TRepeatTimer;

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
inline constexpr int NavigateBtnCount = 10;

class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    // Holding prior or next repeats the move: the first repeat this long
    // after the press, then one per RepeatPause.
    static constexpr int InitRepeatPause = 400;
    static constexpr int RepeatPause = 100;

    explicit TDBNavigator(QWidget* parent = nullptr);
    ~TDBNavigator() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);

    // One hint per button in button order; missing entries keep the default.
    QStringList Hints() const;
    void SetHints(const QStringList& hints);
    static QStringList DefaultHints();

    // Whether nbDelete asks "Delete record?" first (default true).
    bool ConfirmDelete() const { return FConfirmDelete; }
    void SetConfirmDelete(bool value) { FConfirmDelete = value; }

    TNavButton* Button(TNavigateBtn button) const { return FButtons[button]; }

    // Performs a button's action as a click does.  Does nothing to the
    // dataset without a data source or while the source is inactive.
    void BtnClick(TNavigateBtn button);

    // Replaces the clock behind the auto-repeat (tests use a manual one).
    void SetRepeatTimer(std::unique_ptr<TRepeatTimer> timer);
    TRepeatTimer& RepeatTimer() const { return *FRepeatTimer; }

    // Runs before a button's action (not when it does nothing).
    std::function<void(TDBNavigator& sender, TNavigateBtn button)> BeforeAction;
    // Runs after every click of a button.
    std::function<void(TDBNavigator& sender, TNavigateBtn button)> OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TNavDataLink;

    // Recomputing the buttons' enabled states.
    void ActiveChanged();      // all ten: open, close, bar enabled or disabled
    void DataChanged();        // move buttons and delete: position or content
    void EditingChanged();     // insert, edit, post, cancel, refresh: editing state
    bool DataActive() const;

    void LayoutButtons();
    void ButtonPressed(TNavigateBtn button);
    void ButtonReleased();
    void RepeatTick();
    void ClickFromButton(TNavigateBtn button);

    std::array<TNavButton*, NavigateBtnCount> FButtons{};
    std::unique_ptr<TNavDataLink> FDataLink;
    std::unique_ptr<TRepeatTimer> FRepeatTimer;
    TNavButton* FRepeatingButton = nullptr;
    bool FConfirmDelete = true;
};
