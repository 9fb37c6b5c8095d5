#pragma once
// TImageList: a row of images of one size, drawn by index (title images,
// the images of key image list columns).  Grids and columns keep QPointer
// references to it, which clear themselves when the list is destroyed.

#include <QObject>
#include <QPixmap>

#include <vector>

class QPainter;

class TImageList : public QObject {
    Q_OBJECT

public:
    TImageList(int width, int height, QObject* parent = nullptr);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }

    // Adds an image scaled to the list's size; returns its index.
    int Add(const QPixmap& image);
    void Clear();
    // The image at an index; a null pixmap outside 0 .. Count-1.
    QPixmap Image(int index) const;
    // Draws the image at (x, y) the right way round, also on a mirrored
    // painter; nothing for an index outside the list.
    void Draw(QPainter& painter, int x, int y, int index) const;
    // Draws the image following the painter's mirroring: a sign that points
    // along the reading order (the row indicator's arrows).
    void DrawOriented(QPainter& painter, int x, int y, int index) const;

signals:
    void Changed();

private:
    int FWidth;
    int FHeight;
    std::vector<QPixmap> FImages;
};
