#pragma once
// The keyboard lighting preview: which preview an effect runs, and one frame state
// machine per preview type over the keyboard picture's 150 slots.

#include <memory>

#include "config/keyboard_desc.h"
#include "lighting/kb_keys.h"
#include "lighting/preview.h"

namespace quobel::lighting {

// The lighting page's controls as the preview takes them.
struct KbPreviewParams {
    int effect = 0;
    int speed = 1;      // S, the slider value
    int bright = 1;     // B, the slider value
    int dir = 1;        // D: 2 right, else 1
    Colour colour = 0;  // C
    bool multi = false; // M
    bool dirShown = true;
};

constexpr int kNoPreview = -1;

// The preview type of an effect: kNoPreview when ShowEffect does not preview it, 0 at
// the lowest brightness with MinLightEffectOFF, else the effect's device code.
int KbPreviewType(const KbDevCfg& kb, int effect, int bright);

// The preview of type t; null for types without a preview and when more keys are to
// be animated than the picture animates.
std::unique_ptr<Preview> MakeKbPreview(int type, const KbPreviewParams& params, const KbPreviewSetup& setup,
                                       RandomSource& random);

}  // namespace quobel::lighting
