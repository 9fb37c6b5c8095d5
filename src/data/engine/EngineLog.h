#pragma once
// The engine's log: one line per event worth recording that is not an
// error (a table put back in order after an interrupted change).  Lines go
// to standard error unless a sink is set.

#include <functional>
#include <string>

using TEngineLogSink = std::function<void(const std::string& line)>;

void EngineLog(const std::string& line);
// Sends the log's lines to `sink` (an empty sink: standard error again);
// returns the sink it replaces.
TEngineLogSink SetEngineLogSink(TEngineLogSink sink);
