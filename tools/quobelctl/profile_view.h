#pragma once
// Readable views of a profile and a macro, as JSON and as indented text.

#include <iosfwd>
#include <string>

#include <nlohmann/json.hpp>

#include "ctl_store.h"
#include "macro/macro_record.h"
#include "profile/profile_data.h"

namespace quobel::ctl {

nlohmann::ordered_json ProfileView(const ProfileData& profile, const Store& store);
nlohmann::ordered_json MacroView(const MacroRecord& macro, const TextTable& texts);
// Objects as "key: value" lines, nested ones indented below their key.
void PrintView(std::ostream& out, const nlohmann::ordered_json& view, int indent = 0);

}  // namespace quobel::ctl
