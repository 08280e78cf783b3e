#include "device/apply_thread.h"

#include "base/log.h"

namespace quobel {

namespace {

std::size_t Index(DeviceKind kind) { return static_cast<std::size_t>(kind) - 1; }

std::uint32_t AllFlags(DeviceKind kind) {
    return kind == DeviceKind::Mouse ? kMouseApplyAll : kind == DeviceKind::Keyboard ? kKeyboardApplyAll
                                                                                     : kPadApplyAll;
}

}  // namespace

ApplyThreadCtx* ApplyThreads::Ctx(DeviceKind kind) const {
    const std::size_t i = Index(kind);
    return i < ctx_.size() ? ctx_[i].get() : nullptr;
}

bool ApplyThreads::StartApplyThread(DeviceKind kind, ApplyTarget& dev) {
    const std::size_t i = Index(kind);
    if (i >= ctx_.size() || ctx_[i]) return false;
    auto c = std::make_unique<ApplyThreadCtx>();
    c->pDev = &dev;
    c->kind = kind;
    ApplyThreadCtx& ref = *c;
    ctx_[i] = std::move(c);
    ref.thread = std::jthread([this, &ref](std::stop_token st) { Loop(st, ref); });
    return true;
}

// The semaphore must never pass its maximum: a request beyond it is refused, as the
// system semaphore refuses it.
bool ApplyThreads::Release(ApplyThreadCtx& c) {
    int n = c.nPending.load();
    do {
        if (n >= ApplyThreadCtx::kMaxRequests) return false;
    } while (!c.nPending.compare_exchange_weak(n, n + 1));
    c.hRequest.release();
    return true;
}

bool ApplyThreads::RequestApply(DeviceKind kind, std::uint32_t flags) {
    ApplyThreadCtx* c = Ctx(kind);
    if (c == nullptr) return false;
    c->nFlag = flags & ~kApplyProgress;
    return Release(*c);
}

bool ApplyThreads::RequestApplyWithProgress(DeviceKind kind, ProgressSink& sink) {
    ApplyThreadCtx* c = Ctx(kind);
    if (c == nullptr) return false;
    if (kind == DeviceKind::Pad && c->bBusy) return false;
    // A window still waiting for an earlier request is closed: only one can be shown.
    if (ProgressSink* old = c->pProgress.exchange(&sink); old != nullptr && old != &sink) old->Close();
    c->nFlag = kApplyProgress | AllFlags(kind);
    if (!Release(*c)) {
        if (c->pProgress.exchange(nullptr) != nullptr) sink.Close();
        return false;
    }
    return true;
}

bool ApplyThreads::Busy(DeviceKind kind) const {
    const ApplyThreadCtx* c = Ctx(kind);
    return c != nullptr && c->bBusy;
}

void ApplyThreads::RequestStop() {
    for (auto& c : ctx_) {
        if (!c || c->thread.get_stop_token().stop_requested()) continue;
        c->thread.request_stop();
        // Wake the thread; if the count is full it wakes on a waiting request instead.
        if (c->nPending.fetch_add(1) < ApplyThreadCtx::kMaxRequests) c->hRequest.release();
    }
}

void ApplyThreads::StopApplyThreads() {
    RequestStop();
    for (auto& c : ctx_) {
        if (!c) continue;
        if (c->thread.joinable()) c->thread.join();
        if (ProgressSink* s = c->pProgress.exchange(nullptr)) s->Close();
        c.reset();
    }
}

void ApplyThreads::Loop(std::stop_token st, ApplyThreadCtx& c) {
    LogPrint("ApplyThread Start");
    for (;;) {
        c.hRequest.acquire();
        if (st.stop_requested()) {
            LogPrint("thread exit");
            return;
        }
        c.nPending.fetch_sub(1);
        const std::uint32_t flags = c.nFlag;
        const bool present = c.pDev != nullptr && c.pDev->Present();
        LogPrint("Start Apply: hDevice=0x%x, nFlag=0x%x", present ? 1u : 0u, flags);
        // A waiting progress window belongs to this apply even when a plain request
        // came after it: it is closed at the end either way.
        ProgressSink* window = c.pProgress.exchange(nullptr);
        ProgressSink* sink = (flags & kApplyProgress) ? window : nullptr;
        if (c.pDev == nullptr || (!present && !go_with_no_dev_)) {
            if (window != nullptr) window->Close();
            continue;
        }
        c.bBusy = true;
        const std::unique_ptr<ProfileData> snapshot = profile_.Snapshot();  // the thread's own copy
        if (c.pDev->ApplySetting(*snapshot, sink, flags) == 0) reporter_.Report("Error", kApplyFailedText);
        if (window != nullptr) window->Close();
        LogPrint("Apply Over");
        c.bBusy = false;
    }
}

}  // namespace quobel
