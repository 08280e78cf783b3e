#pragma once
// Where an apply reports its progress: the progress window, or quobelctl's trace.
// Called from the apply thread; implementations hand the calls to their own thread.

namespace quobel {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Position 0..100.
    virtual void SetPos(int pos) = 0;
    // The apply has ended (successfully or not); the window closes.
    virtual void Close() = 0;
};

}  // namespace quobel
