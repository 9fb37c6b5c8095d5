#include "grid/paint/TextLineRecorder.h"

#include <QPaintEngine>

#include <algorithm>
#include <map>

namespace {
// Large enough for any cell; the recorder draws nothing.
constexpr int RecorderExtent = 1 << 15;
}  // namespace

// Keeps the text items a painter hands over: one or more per line (a line
// of mixed directions or fonts comes in several runs), all on its baseline.
class TTextItemRecordingEngine : public QPaintEngine {
public:
    TTextItemRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawTextItem(const QPointF& position, const QTextItem& item) override
    {
        const int length = static_cast<int>(item.text().size());
        auto [line, added] = Lines.try_emplace(position.y(), TRecordedLineGx{position, length});
        if (!added) {
            line->second.Origin.setX(std::min(line->second.Origin.x(), position.x()));
            line->second.Length += length;
        }
    }

    std::map<qreal, TRecordedLineGx> Lines;   // by baseline
};

TTextLineRecorder::TTextLineRecorder(const QPaintDevice& like)
    : FEngine(std::make_unique<TTextItemRecordingEngine>()), FDpiX(like.logicalDpiX()), FDpiY(like.logicalDpiY()),
      FPhysicalDpiX(like.physicalDpiX()), FPhysicalDpiY(like.physicalDpiY()), FPixelRatio(like.devicePixelRatioF())
{
}

TTextLineRecorder::~TTextLineRecorder() = default;

QPaintEngine* TTextLineRecorder::paintEngine() const { return FEngine.get(); }

std::vector<TRecordedLineGx> TTextLineRecorder::Lines() const
{
    std::vector<TRecordedLineGx> lines;
    for (const auto& [baseline, line] : FEngine->Lines)
        lines.push_back(line);
    return lines;
}

int TTextLineRecorder::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
    case PdmHeight:
        return RecorderExtent;
    case PdmWidthMM:
        return RecorderExtent * 254 / (10 * std::max(1, FDpiX));
    case PdmHeightMM:
        return RecorderExtent * 254 / (10 * std::max(1, FDpiY));
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDpiX:
        return FDpiX;
    case PdmDpiY:
        return FDpiY;
    case PdmPhysicalDpiX:
        return FPhysicalDpiX;
    case PdmPhysicalDpiY:
        return FPhysicalDpiY;
    case PdmDevicePixelRatio:
        return static_cast<int>(FPixelRatio);
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(FPixelRatio * devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}
