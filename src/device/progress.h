#pragma once
// Progress points of an apply.

#include "device/progress_sink.h"

namespace quobel {

inline void PostProgress(ProgressSink* sink, int pos) {
    if (sink != nullptr) sink->SetPos(pos);
}

}  // namespace quobel
