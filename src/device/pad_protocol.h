#pragma once
// The pad's general block (report 48, 26 data bytes): the selected lighting effect,
// its speed and brightness, and its colours.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/progress_sink.h"
#include "device/report_io.h"
#include "profile/profile_data.h"

namespace quobel {

constexpr std::uint8_t kPadGeneralId = 48;
constexpr std::size_t kPadGeneralLen = 26;
constexpr int kPadFwStd = 40;

// Sets P2..P25 over the block read from the device.
void EncodePadGeneral(std::span<std::uint8_t, kPadGeneralLen> g, const PadProfile& pad);

// Writes the pad part of a profile (the whole block, whatever the flags).
// Returns 1 on success, 0 on failure.
int ApplyPad(const ApplyEnv& env, int nPadFw, const ProfileData& p, ProgressSink* sink);

}  // namespace quobel
