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
// The JSON text of a view; bytes that are not UTF-8 (a name from a foreign file) are
// printed as U+FFFD instead of ending the command.
std::string DumpJson(const nlohmann::ordered_json& view);
// Objects as "key: value" lines, nested ones indented below their key.
void PrintView(std::ostream& out, const nlohmann::ordered_json& view, int indent = 0);

}  // namespace quobel::ctl
