#include "data/engine/EngineLog.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex SinkMutex;
TEngineLogSink Sink;

} // namespace

void EngineLog(const std::string& line)
{
    std::lock_guard<std::mutex> guard(SinkMutex);
    if (Sink)
        Sink(line);
    else
        std::fprintf(stderr, "tablemaint engine: %s\n", line.c_str());
}

TEngineLogSink SetEngineLogSink(TEngineLogSink sink)
{
    std::lock_guard<std::mutex> guard(SinkMutex);
    TEngineLogSink previous = std::move(Sink);
    Sink = std::move(sink);
    return previous;
}
