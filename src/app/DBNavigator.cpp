#include "app/DBNavigator.h"

#include "app/NavButton.h"
#include "app/RepeatTimer.h"
#include "data/DataLink.h"
#include "data/DataSource.h"
#include "ui/DialogService.h"
#include "ui/ExceptionReport.h"

#include <QEvent>
#include <QPixmap>

// The glyph resources live in a static library: register them explicitly.
static void InitNavigatorResources()
{
    Q_INIT_RESOURCE(Navigator);
}

namespace {

constexpr const char* GlyphResourceNames[NavigateBtnCount] = {
    ":/DBN_FIRST", ":/DBN_PRIOR", ":/DBN_NEXT",   ":/DBN_LAST",   ":/DBN_INSERT",
    ":/DBN_DELETE", ":/DBN_EDIT", ":/DBN_POST",   ":/DBN_CANCEL", ":/DBN_REFRESH",
};

constexpr const char* ButtonObjectNames[NavigateBtnCount] = {
    "nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh",
};

bool Repeats(TNavigateBtn button)
{
    return button == nbPrior || button == nbNext;
}

// The move buttons' glyphs point along the reading order.
bool PointsAlongTheReadingOrder(TNavigateBtn button)
{
    return button == nbFirst || button == nbPrior || button == nbNext || button == nbLast;
}

} // namespace

// The navigator's link to its data source: every notification that can
// change a button's state recomputes the states concerned.
class TNavDataLink final : public TDataLink {
public:
    explicit TNavDataLink(TDBNavigator& navigator) : FNavigator(navigator) {}

protected:
    void ActiveChanged() override { FNavigator.ActiveChanged(); }
    void DataSetChanged() override
    {
        FNavigator.DataChanged();
        FNavigator.EditingChanged();
    }
    void DataSetScrolled(int) override { FNavigator.DataChanged(); }
    void EditingChanged() override { FNavigator.EditingChanged(); }

private:
    TDBNavigator& FNavigator;
};

TDBNavigator::TDBNavigator(QWidget* parent)
    : QWidget(parent), FDataLink(std::make_unique<TNavDataLink>(*this)), FRepeatTimer(CreateRepeatTimer())
{
    InitNavigatorResources();
    setFocusPolicy(Qt::NoFocus);
    const QStringList hints = DefaultHints();
    for (int i = 0; i < NavigateBtnCount; ++i) {
        const auto id = static_cast<TNavigateBtn>(i);
        auto* button = new TNavButton(this);
        button->setObjectName(QString::fromLatin1(ButtonObjectNames[i]));
        button->SetGlyphStrip(QPixmap(QString::fromLatin1(GlyphResourceNames[i])));
        button->SetMirroredGlyph(PointsAlongTheReadingOrder(id));
        button->setToolTip(hints[i]);
        connect(button, &TNavButton::clicked, this, [this, id] { ClickFromButton(id); });
        if (Repeats(id)) {
            connect(button, &TNavButton::pressed, this, [this, id] { ButtonPressed(id); });
            connect(button, &TNavButton::released, this, [this] { ButtonReleased(); });
        }
        FButtons[i] = button;
    }
    FRepeatTimer->OnTimer = [this] { RepeatTick(); };
    ActiveChanged();
}

TDBNavigator::~TDBNavigator()
{
    FRepeatTimer->Stop();
}

TDataSource* TDBNavigator::DataSource() const
{
    return FDataLink->DataSource();
}

void TDBNavigator::SetDataSource(TDataSource* source)
{
    FDataLink->SetDataSource(source);
    ActiveChanged();
}

QStringList TDBNavigator::DefaultHints()
{
    return {QStringLiteral("First record"), QStringLiteral("Prior record"), QStringLiteral("Next record"),
            QStringLiteral("Last record"),  QStringLiteral("Insert record"), QStringLiteral("Delete record"),
            QStringLiteral("Edit record"),  QStringLiteral("Post edit"),     QStringLiteral("Cancel edit"),
            QStringLiteral("Refresh data")};
}

QStringList TDBNavigator::Hints() const
{
    QStringList hints;
    for (TNavButton* button : FButtons)
        hints << button->toolTip();
    return hints;
}

void TDBNavigator::SetHints(const QStringList& hints)
{
    const QStringList defaults = DefaultHints();
    for (int i = 0; i < NavigateBtnCount; ++i)
        FButtons[i]->setToolTip(i < hints.size() && !hints[i].isEmpty() ? hints[i] : defaults[i]);
}

void TDBNavigator::SetRepeatTimer(std::unique_ptr<TRepeatTimer> timer)
{
    FRepeatTimer->Stop();
    FRepeatTimer = std::move(timer);
    FRepeatTimer->OnTimer = [this] { RepeatTick(); };
}

// ---- enabling

bool TDBNavigator::DataActive() const
{
    return isEnabled() && FDataLink->Active() && FDataLink->DataSet();
}

void TDBNavigator::ActiveChanged()
{
    if (!DataActive()) {
        for (TNavButton* button : FButtons)
            button->setEnabled(false);
        return;
    }
    DataChanged();
    EditingChanged();
}

void TDBNavigator::DataChanged()
{
    const bool active = DataActive();
    TDataSet* dataSet = active ? FDataLink->DataSet() : nullptr;
    const bool upEnable = active && !dataSet->Bof();
    const bool downEnable = active && !dataSet->Eof();
    FButtons[nbFirst]->setEnabled(upEnable);
    FButtons[nbPrior]->setEnabled(upEnable);
    FButtons[nbNext]->setEnabled(downEnable);
    FButtons[nbLast]->setEnabled(downEnable);
    FButtons[nbDelete]->setEnabled(active && dataSet->CanModify() && !(dataSet->Bof() && dataSet->Eof()));
}

void TDBNavigator::EditingChanged()
{
    const bool canModify = DataActive() && FDataLink->DataSet()->CanModify();
    const bool editing = canModify && FDataLink->Editing();
    FButtons[nbInsert]->setEnabled(canModify);
    FButtons[nbEdit]->setEnabled(canModify && !editing);
    FButtons[nbPost]->setEnabled(editing);
    FButtons[nbCancel]->setEnabled(editing);
    FButtons[nbRefresh]->setEnabled(canModify);
}

void TDBNavigator::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        ActiveChanged();
    else if (event->type() == QEvent::LayoutDirectionChange)
        LayoutButtons();
}

// ---- layout: ten buttons side by side across the whole width

void TDBNavigator::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutButtons();
}

void TDBNavigator::LayoutButtons()
{
    // Button i spans [i*W/10, (i+1)*W/10) from the bar's leading edge:
    // equal widths to within a pixel, the row ending exactly at the other
    // edge.  Under right-to-left reading the order starts at the right.
    const int totalWidth = width();
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        int left = i * totalWidth / NavigateBtnCount;
        int right = (i + 1) * totalWidth / NavigateBtnCount;
        if (rightToLeft) {
            left = totalWidth - right;
            right = totalWidth - i * totalWidth / NavigateBtnCount;
        }
        FButtons[i]->setGeometry(left, 0, right - left, height());
    }
}

// ---- actions

void TDBNavigator::ClickFromButton(TNavigateBtn button)
{
    RunHandler([&] { BtnClick(button); });
}

void TDBNavigator::BtnClick(TNavigateBtn button)
{
    TDataSource* source = DataSource();
    if (source && source->State() != dsInactive && source->DataSet()) {
        if (BeforeAction)
            BeforeAction(*this, button);
        TDataSet& dataSet = *source->DataSet();
        switch (button) {
        case nbFirst: dataSet.First(); break;
        case nbPrior: dataSet.Prior(); break;
        case nbNext: dataSet.Next(); break;
        case nbLast: dataSet.Last(); break;
        case nbInsert: dataSet.Insert(); break;
        case nbEdit: dataSet.Edit(); break;
        case nbPost: dataSet.Post(); break;
        case nbCancel: dataSet.Cancel(); break;
        case nbRefresh: dataSet.Refresh(); break;
        case nbDelete:
            if (!FConfirmDelete ||
                MessageDlg("Delete record?", mtConfirmation, mbOKCancel) != mrCancel)
                dataSet.Delete();
            break;
        }
    }
    if (OnClick)
        OnClick(*this, button);
}

// ---- auto-repeat of prior and next

void TDBNavigator::ButtonPressed(TNavigateBtn button)
{
    FRepeatingButton = FButtons[button];
    FRepeatTimer->Start(InitRepeatPause);
}

void TDBNavigator::ButtonReleased()
{
    FRepeatTimer->Stop();
    FRepeatingButton = nullptr;
}

void TDBNavigator::RepeatTick()
{
    TNavButton* button = FRepeatingButton;
    if (!button) {
        FRepeatTimer->Stop();
        return;
    }
    FRepeatTimer->Start(RepeatPause);
    // The move repeats only while the mouse still holds the button down over it.
    if (!button->isDown())
        return;
    const auto id = button == FButtons[nbPrior] ? nbPrior : nbNext;
    try {
        BtnClick(id);
    } catch (...) {
        // A failing move ends the repetition, and the button comes up so that
        // releasing the mouse does not try the move once more.
        FRepeatTimer->Stop();
        FRepeatingButton = nullptr;
        button->CancelPress();
        ReportException(std::current_exception());
    }
}
