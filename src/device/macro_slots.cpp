#include "device/macro_slots.h"

#include <algorithm>
#include <string>

#include "base/log.h"
#include "base/utf16.h"
#include "device/function_codes.h"
#include "device/macro_packing.h"

namespace quobel {

void ResetMacroBufferIDs(MacroList& macros) {
    for (MacroRecord& r : macros) r.Macro_Buffer_ID = 0;
}

MacroSlotAssigner::MacroSlotAssigner(MacroDevice device, MacroList& macros, const MacroLimits& limits,
                                     std::span<std::uint8_t> memory, int mac_protocol)
    : device_(device), macros_(macros), limits_(limits), memory_(memory), mac_protocol_(mac_protocol) {
    ResetMacroBufferIDs(macros_);
    const int device_slots = device == MacroDevice::Keyboard ? kKbMacroSlots : kMsMacroSlots;
    // Never more slots than the memory given can hold.
    std::size_t fit = 0;
    if (limits.nMacroBufSize > 0) fit = memory.size() / static_cast<std::size_t>(limits.nMacroBufSize);
    const auto fit_slots =
        static_cast<int>(std::min<std::size_t>(fit, static_cast<std::size_t>(device_slots)));
    slots_ = std::max(0, std::min({device_slots, limits.nMacroNum, fit_slots}));
}

MacroSlotAssigner::~MacroSlotAssigner() { ResetMacroBufferIDs(macros_); }

MacroSlotResult MacroSlotAssigner::Assign(const KeyFunction& key, int layer, int index, std::uint32_t& code) {
    const bool keyboard = device_ == MacroDevice::Keyboard;
    // A mouse keeps the button index some models carry in the low nibble.
    const std::uint32_t disabled = keyboard ? 0 : kMsCodeDisabled | (code & 0xFu);
    if (ended_) {
        code = disabled;
        return MacroSlotResult::kNoSlot;
    }
    MacroRecord* macro = macros_.Find(key.MacroID);
    if (macro == nullptr) {
        LogPrint("Key[%d][%d] Set To Macro NULL", layer, index);
        return MacroSlotResult::kNoMacro;
    }
    const std::string name = FieldToUtf8(macro->szName);
    if (keyboard) {
        LogPrint("Key[%d][%d] Set To Macro %s(0x%08x), Macro_Buffer_ID=%d", layer, index, name.c_str(),
                 macro->MacroID, static_cast<int>(macro->Macro_Buffer_ID));
    } else {
        LogPrint("Key[%d][%d] Set To Macro 0x%08x, Macro_Buffer_ID=%d", layer, index, macro->MacroID,
                 static_cast<int>(macro->Macro_Buffer_ID));
        LogPrint("Macro Name= %s", name.c_str());
    }

    // Every number was cleared at the start, so a number in range means the macro was
    // already packed for an earlier key of this matrix.
    const auto in_range = [this](std::int64_t id) { return id >= 1 && id <= slots_; };
    if (!in_range(macro->Macro_Buffer_ID)) {
        const int id = FreeBufferID(macros_, limits_.nMacroNum);
        if (!in_range(id)) {
            // A key without a slot would run whatever macro sits in slot 0 (keyboard) or
            // none the device knows (mouse): send it disabled instead.
            LogPrint("Key[%d][%d] gets no macro slot", layer, index);
            if (keyboard) ended_ = true;
            code = disabled;
            return MacroSlotResult::kNoSlot;
        }
        const auto stride = static_cast<std::size_t>(limits_.nMacroBufSize);
        const std::span<std::uint8_t> slot =
            memory_.subspan(static_cast<std::size_t>(id - 1) * stride, stride);
        const std::size_t packed = keyboard ? keyboard::StMacro_To_HdMacro(*macro, slot, limits_)
                                            : mouse::StMacro_To_HdMacro(*macro, slot, limits_, mac_protocol_);
        if (packed == 0) {
            // Only an unknown macro protocol gets here; an empty slot would play nothing.
            LogPrint("Key[%d][%d] gets no macro slot: macro protocol %d", layer, index, mac_protocol_);
            code = disabled;
            return MacroSlotResult::kNoSlot;
        }
        macro->Macro_Buffer_ID = static_cast<std::uint32_t>(id);
        LogPrint("New Assign Buffer_ID= %d", id);
        if (!keyboard) LogHexDump(slot, 0, "HdData: ");  // one line per macro
        ++macros_packed_;
    }

    const std::uint32_t id = macro->Macro_Buffer_ID;
    code = keyboard ? keyboard::MergeMacroSlot(code, id) : mouse::MergeMacroSlot(code, id);
    LogPrint("Matrix[%d][%d] = 0x%08x", layer, index, code);
    ++keys_with_slot_;
    return MacroSlotResult::kAssigned;
}

MacroList MacrosOf(const ProfileData& profile, const MacroList& all) {
    MacroList out;
    auto take = [&](std::uint32_t fun_id, std::uint32_t macro_id) {
        if (FunType(fun_id) != kFunMacro || out.Find(macro_id) != nullptr) return;
        if (const MacroRecord* m = all.Find(macro_id)) out.Add(*m)->Macro_Buffer_ID = 0;
    };
    auto key = [&](const KeyInfo& k) {
        take(k.FunID, k.MacroID);
        take(k.FnFun.FunID, k.FnFun.MacroID);
    };
    for (const auto& mode : profile.Ms.Keys)
        for (const KeyInfo& k : mode) key(k);
    for (const KeyInfo& k : profile.Kb.Keys) key(k);
    for (const KeyInfo& k : profile.Kb.Gest) key(k);
    return out;
}

}  // namespace quobel
