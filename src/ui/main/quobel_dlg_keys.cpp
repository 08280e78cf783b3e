// The keyboard key assignment of the main window: a key cell clicked in key-function
// mode opens the function picker for the key, in the layer the picture shows. The Fn
// key's own cell holds and releases the Fn layer, as the key does on the keyboard.

#include <set>

#include "base/log.h"
#include "config/key_info.h"
#include "config/key_names.h"
#include "device/apply_flags.h"
#include "ui/key_layout.h"
#include "ui/main/quobel_dlg.h"
#include "ui/modals.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/pages/key_fun_pick_dlg.h"
#include "ui/pages/led_kb_dlg.h"
#include "ui/skin/png_btn.h"

namespace quobel {

namespace {

// The picked function written over the factory one: the function, its macro, the four
// key bytes and the parameter word; the key's place in the picture stays.
KeyFunction Assigned(const KeyFunction& factory, const KeyFunction& picked) {
    KeyFunction f = factory;
    f.FunID = picked.FunID;
    f.MacroID = picked.MacroID;
    f.byModifier = picked.byModifier;
    f.byVk = picked.byVk;
    f.byVk2 = picked.byVk2;
    f.byModVk = picked.byModVk;
    f.byCount = picked.byCount;
    f.bySpeed = picked.bySpeed;
    f.byFireVk = picked.byFireVk;
    f.byExtra = picked.byExtra;
    return f;
}

}  // namespace

void CQuobelDlg::OnKeyClick(int slot) {
    ProfileData* p = m_profiles.Current();
    if (!p || slot < 0 || slot >= kKbKeySlots) return;
    if (m_pKbColor && m_pKbColor->Mode() == CKBColorDlg::kModeLighting) {
        if (m_pLedKb) m_pLedKb->OnKeyClick(slot);
        return;
    }
    KeyInfo& key = p->Kb.Keys[slot];
    if (m_pKbColor && CKBColorDlg::IsFnKey(key)) {
        const bool to_fn = m_pKbColor->Layer() != CKBColorDlg::kLayerFn;
        m_pKbColor->SetLayer(to_fn ? CKBColorDlg::kLayerFn : CKBColorDlg::kLayerMain);
        update(m_rcKbHint);
        return;
    }
    const bool fn = m_pKbColor && m_pKbColor->Layer() == CKBColorDlg::kLayerFn;
    // In the Fn layer only the keys the keyboard gives an Fn place can take a function.
    if (fn && key.nFnInx == -1) return;

    const GVar& g = *m_ctx.gvar;
    KeyInfo shown = key;
    if (fn) SetFunction(shown, key.FnFun);
    PausePreview(true);
    CKeyFunPickDlg dlg(*this, this, shown, g.bComboRec != 0);
    // The keyboard plays macros from the keys' own codes only, not from the Fn layer.
    if (fn) {
        if (CPngBtn* macro = dlg.CategoryButton(CKeyFunPickDlg::kMacro)) macro->hide();
    }
    const int r = m_env.modals->Exec(dlg);
    PausePreview(false);
    if (r != 1) return;
    if (dlg.ResultType() == CKeyFunPickDlg::kColour) {
        if (fn) return;
        key = dlg.Picked();
        if (m_pKbColor) m_pKbColor->update();
        if (m_pLedKb) m_pLedKb->RefreshFromProfile();
        if (g.bApplyNow) RequestApply(DeviceKind::Keyboard, kKbApplyAllGroups);
        return;
    }
    if (dlg.ResultType() != CKeyFunPickDlg::kFunction) return;

    const KeyInfo& def = m_env.config->g_defKEY[static_cast<std::size_t>(slot)];
    const KeyFunction factory = fn ? def.FnFun : FunctionOf(def);
    // The picker's factory default is the key's own record; in the Fn layer it is the
    // key's factory Fn function.
    const KeyFunction picked = fn && dlg.CurrentCategory() == CKeyFunPickDlg::kDefault ? def.FnFun
                                                                                       : FunctionOf(dlg.Picked());
    if (FunType(picked.FunID) == kFunMacro) {
        if (fn) {
            LogPrint("Key[1][%d]: no macro in the Fn layer", slot);
            return;
        }
        // Distinct macros of the keyboard's keys that still exist; the device holds nMacroNum.
        std::set<std::uint32_t> used;
        bool already = false;
        for (int i = 0; i < kKbConfigKeys && used.size() < 50; ++i) {
            const KeyInfo& k = p->Kb.Keys[i];
            if (FunType(k.FunID) != kFunMacro) continue;
            already = already || k.MacroID == picked.MacroID;
            if (m_macros.Find(k.MacroID) != nullptr) used.insert(k.MacroID);
        }
        if (!already && static_cast<int>(used.size()) >= m_env.config->limits.nMacroNum) {
            Info(Text("tc_msg26"));
            return;
        }
    }
    const KeyFunction now = fn ? key.FnFun : FunctionOf(key);
    if (FunType(picked.FunID) == kFunKeyCombo && FunType(now.FunID) == kFunKeyCombo &&
        picked.byModifier == now.byModifier && picked.byVk == now.byVk) {
        return;
    }
    const KeyFunction next = Assigned(factory, picked);
    if (fn) {
        key.FnFun = next;
    } else {
        // The key starts again from its factory record; what it does with Fn held stays.
        const KeyFunction fn_fun = key.FnFun;
        key = def;
        SetFunction(key, next);
        key.FnFun = fn_fun;
    }
    KeyInfo logged;
    SetFunction(logged, next);
    const std::string caption = FunctionCaption(logged, m_ctx.Texts(), nullptr, nullptr, SessionKeyLayout());
    LogPrint("Key[%d][%d] set to %s (funid=0x%08x)", fn ? 1 : p->Kb.nKeyLayer, slot, caption.c_str(), next.FunID);
    if (m_pKbColor) {
        m_pKbColor->SetChanged(slot, CKBColorDlg::DiffersFromFactory(next, factory));
        m_pKbColor->update();
    }
    if (g.bApplyNow) RequestApply(DeviceKind::Keyboard, kKbApplyKeys);
}

}  // namespace quobel
