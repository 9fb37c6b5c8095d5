#include "grid/paint/ImageList.h"

#include "ui/UnmirroredArea.h"

#include <QPainter>

#include <algorithm>

TImageList::TImageList(int width, int height, QObject* parent)
    : QObject(parent), FWidth(std::max(1, width)), FHeight(std::max(1, height))
{
}

int TImageList::Add(const QPixmap& image)
{
    if (image.width() == FWidth && image.height() == FHeight)
        FImages.push_back(image);
    else
        FImages.push_back(image.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    emit Changed();
    return Count() - 1;
}

void TImageList::Clear()
{
    FImages.clear();
    emit Changed();
}

QPixmap TImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return QPixmap();
    return FImages[static_cast<size_t>(index)];
}

void TImageList::Draw(QPainter& painter, int x, int y, int index) const
{
    if (index < 0 || index >= Count())
        return;
    const TUnmirroredArea device(painter, QRect(x, y, FWidth, FHeight));
    painter.drawPixmap(device.Rect().topLeft(), FImages[static_cast<size_t>(index)]);
}

void TImageList::DrawOriented(QPainter& painter, int x, int y, int index) const
{
    if (index < 0 || index >= Count())
        return;
    painter.drawPixmap(x, y, FImages[static_cast<size_t>(index)]);
}
