#include "device/apply_thread.h"

#include <utility>

#include "base/log.h"

namespace quobel {

namespace {

std::size_t Index(DeviceKind kind) { return static_cast<std::size_t>(kind) - 1; }

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
    {
        std::lock_guard lock(c->request);
        c->nFlag = flags & ~kApplyProgress;
    }
    return Release(*c);
}

bool ApplyThreads::RequestApplyJoining(DeviceKind kind, std::uint32_t flags) {
    ApplyThreadCtx* c = Ctx(kind);
    if (c == nullptr) return false;
    // Under the lock the thread takes a request with: a waiting request seen here is
    // still waiting when its flags are taken. It keeps the blocks it was asked for.
    std::lock_guard lock(c->request);
    if (c->nPending.load() > 0) {
        c->nFlag |= flags & ~kApplyProgress;
        return true;
    }
    c->nFlag = flags & ~kApplyProgress;
    return Release(*c);
}

bool ApplyThreads::RequestApplyWithProgress(DeviceKind kind, std::shared_ptr<ProgressLink> link) {
    ApplyThreadCtx* c = Ctx(kind);
    if (c == nullptr || !link) return false;
    if (kind == DeviceKind::Pad && c->bBusy) return false;
    std::shared_ptr<ProgressLink> old;
    {
        std::lock_guard lock(c->request);
        old = std::exchange(c->pProgress, link);
        c->nFlag = kApplyProgress | ApplyAllFlags(kind);
    }
    // A window still waiting for an earlier request is closed: only one can be shown.
    if (old && old != link) old->Close();
    if (!Release(*c)) {
        std::shared_ptr<ProgressLink> mine;
        {
            std::lock_guard lock(c->request);
            if (c->pProgress == link) mine = std::exchange(c->pProgress, nullptr);
        }
        if (mine) mine->Close();
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
        std::shared_ptr<ProgressLink> waiting;
        {
            std::lock_guard lock(c->request);
            waiting = std::exchange(c->pProgress, nullptr);
        }
        if (waiting) waiting->Close();
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
        // The flags and the window of the latest request are taken together, after the
        // apply started: a window never goes to an apply that ran before its request.
        std::uint32_t flags = 0;
        std::shared_ptr<ProgressLink> window;
        {
            std::lock_guard lock(c.request);
            c.nPending.fetch_sub(1);
            flags = c.nFlag;
            window = std::exchange(c.pProgress, nullptr);
        }
        const unsigned long long handle = c.pDev != nullptr ? c.pDev->Handle() : 0;
        LogPrint("Start Apply: hDevice=0x%llx, nFlag=0x%x", handle, flags);
        // A waiting progress window belongs to this apply even when a plain request
        // came after it: it is closed at the end either way.
        ProgressSink* sink = (flags & kApplyProgress) ? window.get() : nullptr;
        if (c.pDev == nullptr || (handle == 0 && !go_with_no_dev_)) {
            if (window) window->Close();
            continue;
        }
        c.bBusy = true;
        ApplyInput in = profile_.Snapshot();  // the thread's own copies
        const std::uint32_t id = in.profile->dwProfileID;
        if (c.pDev->ApplySetting(*in.profile, in.macros, sink, flags) == 0) reporter_.Report("Error", kApplyFailedText);
        if (ProfileChange change = c.pDev->Amendment(flags)) profile_.Amend(id, change);
        if (window) window->Close();
        LogPrint("Apply Over");
        c.bBusy = false;
    }
}

}  // namespace quobel
