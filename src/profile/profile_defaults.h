#pragma once
// The defaults of a new profile, part by part, from the device descriptions. The
// device objects' fill-defaults operations call these; CreateProfile makes a whole
// new record for the parts that exist.

#include <string_view>

#include "config/config.h"
#include "macro/new_id.h"
#include "profile/profile_data.h"

namespace quobel {

// Which device parts a profile is filled for.
enum DevicePart : unsigned {
    kPartMouse = 1,
    kPartKeyboard = 2,
    kPartPad = 4,
};

// The parts whose firmware type is configured (MsFw, KbFw, PadFw not 0).
unsigned PartsOf(const Config& config);

void FillMsDefaults(ProfileData& profile, const Config& config);
// The DPI table of a sensor's defaults (its levels on with their default DPI and
// colour, the others off) and the sensor's id.
void FillDpiDefaults(MsProfile& ms, const SensorCfg& sensor);
void FillKbDefaults(ProfileData& profile, const Config& config);
void FillPadDefaults(ProfileData& profile, const Config& config);

// Zeroes the record, sets the magic and a new id, fills the given parts (mouse,
// keyboard, pad, in that order) and stores the name cut to 19 characters. The id is
// one that in_use does not claim (give the ids of the profile list).
void CreateProfile(ProfileData& out, unsigned parts, std::string_view name, const Config& config,
                   IdGenerator& ids, const IdInUse& in_use = {});

}  // namespace quobel
