// pro.dct loader: any bytes as a whole file, and the same bytes laid over the start of
// a file of the right size so that the slot walk sees them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/utf16.h"
#include "profile/profile_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quobel;
    CProList list;
    const int whole = LoadProfilesFromImage(list, {data, size});
    if (size != kProDctSize && whole != -1) std::abort();

    // One image reused across runs: a fresh 635200-byte buffer per run would cost more
    // than the load itself.
    static std::vector<std::uint8_t> image(kProDctSize, 0);
    std::fill(image.begin(), image.end(), std::uint8_t{0});
    // 64-byte chunks go to the slots in turn, so that short inputs reach every slot header.
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t chunk = i / 64;
        const std::size_t offset = (chunk / kMaxProfiles) * 64 + i % 64;
        if (offset < kProfileSize) image[(chunk % kMaxProfiles) * kProfileSize + offset] = data[i];
    }
    const int count = LoadProfilesFromImage(list, image);
    if (count < 0 || count > static_cast<int>(kMaxProfiles) || static_cast<std::size_t>(count) != list.Count()) {
        std::abort();
    }
    for (const ProfileData& p : list) {
        if (!p.IsValid()) std::abort();
        (void)FieldToUtf8(p.szName);
        (void)FieldToUtf8(p.szSound);
    }
    // What was loaded saves to an image that loads to the same profiles.
    const std::vector<std::uint8_t> saved = BuildProDctImage(list);
    CProList again;
    if (LoadProfilesFromImage(again, saved) != count) std::abort();
    auto a = list.begin();
    for (const ProfileData& p : again) {
        if (std::memcmp(&p, &*a, kProfileSize) != 0) std::abort();
        ++a;
    }
    return 0;
}
