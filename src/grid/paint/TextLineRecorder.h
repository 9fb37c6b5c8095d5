#pragma once
// Where a drawing puts its text, without drawing it: a paint device whose
// engine keeps, for each line of text drawn on it, the left end of its
// baseline and how many characters it holds.  Drawing a text through the
// same code onto it tells where that code laid each line.

#include <QPaintDevice>
#include <QPointF>

#include <memory>
#include <vector>

class TTextItemRecordingEngine;

struct TRecordedLineGx {
    QPointF Origin;   // the left end of the line's baseline
    int Length = 0;   // characters drawn on the line
};

class TTextLineRecorder : public QPaintDevice {
public:
    // Fonts resolve as on `like`: its resolution and pixel ratio.
    explicit TTextLineRecorder(const QPaintDevice& like);
    ~TTextLineRecorder() override;
    TTextLineRecorder(const TTextLineRecorder&) = delete;
    TTextLineRecorder& operator=(const TTextLineRecorder&) = delete;

    QPaintEngine* paintEngine() const override;

    // The lines drawn, from top to bottom.
    std::vector<TRecordedLineGx> Lines() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<TTextItemRecordingEngine> FEngine;
    int FDpiX;
    int FDpiY;
    int FPhysicalDpiX;
    int FPhysicalDpiY;
    qreal FPixelRatio;
};
