#pragma once
// Where an apply reports its progress: the progress window, or quobelctl's trace.
//
// API: a window hands its sink to an apply thread only through a ProgressLink, made
// with ProgressLink::Make(sink) and shared between the window and the thread. The
// window calls Withdraw() when it closes (at the latest in its destructor); from
// then on the thread's SetPos/Close calls go nowhere, so the window may be destroyed
// while an apply still runs. ProgressSink calls must not block (the window queues
// them to its own thread).

#include <memory>
#include <mutex>

namespace quobel {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Position 0..100.
    virtual void SetPos(int pos) = 0;
    // The apply has ended (successfully or not); the window closes.
    virtual void Close() = 0;
};

// A sink shared by its window and an apply thread; the window withdraws it.
class ProgressLink final : public ProgressSink {
public:
    explicit ProgressLink(ProgressSink& sink) : sink_(&sink) {}
    [[nodiscard]] static std::shared_ptr<ProgressLink> Make(ProgressSink& sink) {
        return std::make_shared<ProgressLink>(sink);
    }

    void SetPos(int pos) override {
        std::lock_guard lock(mutex_);
        if (sink_ != nullptr) sink_->SetPos(pos);
    }
    void Close() override {
        std::lock_guard lock(mutex_);
        if (sink_ != nullptr) sink_->Close();
    }
    // Returns once no call reaches the sink any more (a call in flight has returned).
    void Withdraw() {
        std::lock_guard lock(mutex_);
        sink_ = nullptr;
    }
    [[nodiscard]] bool Withdrawn() const {
        std::lock_guard lock(mutex_);
        return sink_ == nullptr;
    }

private:
    mutable std::mutex mutex_;
    ProgressSink* sink_;
};

}  // namespace quobel
