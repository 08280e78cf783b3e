#pragma once
// Device data objects: one per configured device kind, turning a profile into that
// device's blocks and writing them over its transport.

#include <atomic>
#include <cstdint>

#include "device/hid_drv.h"
#include "device/progress_sink.h"
#include "macro/macro_list.h"
#include "platform/pointer.h"
#include "profile/profile_data.h"

namespace quobel {

// Device type codes of the data objects (the keyboard's and the pad's are fixed).
constexpr std::int32_t kKbTypeCode = 20;
constexpr std::int32_t kPadTypeCode = 40;

class CHidDev {
public:
    // nType: nMsFw, 20 or 40. drv and macros outlive the object.
    CHidDev(std::int32_t nType, CHidDrv* pDrv, MacroList* macros) : m_nType(nType), m_pDrv(pDrv), m_pMacros(macros) {}
    virtual ~CHidDev() = default;
    CHidDev(const CHidDev&) = delete;
    CHidDev& operator=(const CHidDev&) = delete;

    // Resets this device's part of profile to the configured defaults.
    virtual void FillDefaults(ProfileData& profile) = 0;
    // Encodes this device's part of profile (a snapshot owned by the caller) and writes
    // it to the device. flags select the blocks; progress may be null. Returns 1 when
    // the apply succeeded, 0 otherwise; clears bReset at the end of every apply.
    [[nodiscard]] virtual int ApplySetting(ProfileData& profile, ProgressSink* progress, std::uint32_t flags) = 0;

    [[nodiscard]] CHidDrv* Drv() const { return m_pDrv; }
    [[nodiscard]] MacroList* Macros() const { return m_pMacros; }

    const std::int32_t m_nType;
    CHidDrv* const m_pDrv;
    // Set by the window after it restored this device's defaults, consumed by the next
    // apply (on the apply thread).
    std::atomic<std::int32_t> bReset{0};

protected:
    MacroList* const m_pMacros;
};

class CDev5307 final : public CHidDev {
public:
    CDev5307(std::int32_t nMsFw, CDrv5307* pDrv, MacroList* macros) : CHidDev(nMsFw, pDrv, macros), m_pMs(pDrv) {}
    void FillDefaults(ProfileData& profile) override;
    [[nodiscard]] int ApplySetting(ProfileData& profile, ProgressSink* progress, std::uint32_t flags) override;
    [[nodiscard]] CDrv5307* MsDrv() const { return m_pMs; }
    // Where flag 8 writes the pointer settings; null leaves the system's alone.
    void SetSystemPointer(SystemPointer* pointer) { m_pPointer = pointer; }

private:
    CDrv5307* const m_pMs;
    SystemPointer* m_pPointer = nullptr;
};

class CDev642 final : public CHidDev {
public:
    CDev642(CDrv642* pDrv, MacroList* macros) : CHidDev(kKbTypeCode, pDrv, macros), m_pKb(pDrv) {}
    void FillDefaults(ProfileData& profile) override;
    [[nodiscard]] int ApplySetting(ProfileData& profile, ProgressSink* progress, std::uint32_t flags) override;
    [[nodiscard]] CDrv642* KbDrv() const { return m_pKb; }

private:
    CDrv642* const m_pKb;
};

class CDevPad final : public CHidDev {
public:
    CDevPad(CDrvPad* pDrv, MacroList* macros) : CHidDev(kPadTypeCode, pDrv, macros), m_pPad(pDrv) {}
    void FillDefaults(ProfileData& profile) override;
    [[nodiscard]] int ApplySetting(ProfileData& profile, ProgressSink* progress, std::uint32_t flags) override;
    [[nodiscard]] CDrvPad* PadDrv() const { return m_pPad; }

private:
    CDrvPad* const m_pPad;
};

}  // namespace quobel
