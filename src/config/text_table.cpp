#include "config/text_table.h"

#include <algorithm>
#include <utility>

#include "base/log.h"
#include "config/xml_reader.h"

namespace quobel {
namespace {

constexpr std::array<std::string_view, kTextCount> kIds{
    // Program
    "tc_title", "tc_mutex", "tc_config", "tc_exit", "tc_version", "tc_web", "tc_restore", "tc_ok",
    "tc_cancel", "tc_apply", "tc_protitle", "tc_proname",
    // Mouse functions, report rate unit
    "tc_click", "tc_menu", "tc_middle", "tc_forward", "tc_back", "tc_scrollup", "tc_scrolldown",
    "tc_dclick", "tc_mac_def", "tc_key_off", "tc_combokey", "tc_media", "tc_snipe", "tc_reportsw",
    "tc_three", "tc_rgb", "tc_rgbsw", "tc_stroke", "tc_mdsw", "tc_titlt1", "tc_titlt2", "tc_dpi",
    "tc_dpiadd", "tc_dpisub", "tc_dpiloop", "tc_hz",
    // Gun page
    "tc_chiji1", "tc_chiji2", "tc_chiji3", "tc_chiji4", "tc_chiji5", "tc_chiji6", "tc_chiji7",
    "tc_chiji8", "tc_chiji9", "tc_chiji10", "tc_chiji11", "tc_chiji12", "tc_chiji13", "tc_chiji14",
    "tc_chiji15", "tc_chiji16", "tc_chiji17", "tc_chiji18", "tc_chiji19", "tc_chiji20",
    // Fire key and media
    "tc_fire", "tc_fire1", "tc_fire2", "tc_fire3", "tc_PL", "tc_stop", "tc_pre_media", "tc_next_media",
    "tc_vol_up", "tc_vol_dw", "tc_mute", "tc_kbmedia_stop", "tc_kbmedia_search", "tc_kbmedia_mail",
    "tc_kbmedia_main", "tc_kbmedia_explore", "tc_kbmedia_cal", "tc_kbmedia_refresh", "tc_kbmedia_favor",
    "tc_kbmedia_msel",
    // Macro editor
    "tc_macro", "tc_macro_stop", "tc_macro_start", "tc_macro_list", "tc_macro_key_list",
    "tc_macro_auto", "tc_macro_loop", "tc_macro_loop1", "tc_macro_loop2", "tc_macro_loop3",
    "tc_macro_msg1", "tc_macro_msg2", "tc_macro_msg3", "tc_macro_msg4", "tc_macro_msg5",
    "tc_macro_msg6", "tc_macro_msg7", "tc_macro_msg8", "tc_macro_msg9", "tc_macro_msg10",
    "tc_macro_msg11", "tc_macro_msg12", "tc_macro_msg13", "tc_macro_msg14", "tc_macro_msg15",
    "tc_macro_msg16", "tc_macro_msg17", "tc_macro_msg18", "tc_macro_msg19", "tc_macro_msg20",
    "tc_macro_msg21", "tc_macro_msg22", "tc_macro_msg23",
    // Messages
    "tc_msg1", "tc_msg2", "tc_msg3", "tc_msg4", "tc_msg5", "tc_msg6", "tc_msg7", "tc_msg8", "tc_msg9",
    "tc_msg10", "tc_msg11", "tc_msg12", "tc_msg13", "tc_msg14", "tc_msg15", "tc_msg16", "tc_msg17",
    "tc_msg18", "tc_msg19", "tc_msg20", "tc_msg21", "tc_msg22", "tc_msg23", "tc_msg24", "tc_msg25",
    "tc_msg26", "tc_msg27", "tc_msg28", "tc_msg29", "tc_msg30",
    // Mouse pages
    "tc_ms1", "tc_ms2", "tc_ms3", "tc_ms4", "tc_ms5", "tc_ms6", "tc_ms7", "tc_ms8", "tc_ms9", "tc_ms10",
    "tc_ms11", "tc_ms12", "tc_ms13", "tc_ms14", "tc_ms15", "tc_ms16", "tc_ms17", "tc_ms18",
    // Keyboard pages
    "tc_kb1", "tc_kb2", "tc_kb3", "tc_kb4", "tc_kb5", "tc_kb6", "tc_kb7",
    // Lighting effects
    "tc_ms_led1", "tc_ms_led2", "tc_ms_led3", "tc_ms_led4", "tc_ms_led5", "tc_ms_led6", "tc_ms_led7",
    "tc_ms_led8", "tc_ms_led9", "tc_ms_led10", "tc_ms_led11", "tc_ms_led12", "tc_ms_led13",
    "tc_ms_led14", "tc_ms_led15", "tc_kb_led1", "tc_kb_led2", "tc_kb_led3", "tc_kb_led4", "tc_kb_led5",
    "tc_kb_led6", "tc_kb_led7", "tc_kb_led8", "tc_kb_led9", "tc_kb_led10", "tc_kb_led11", "tc_kb_led12",
    "tc_kb_led13", "tc_kb_led14", "tc_kb_led15", "tc_kb_led16", "tc_kb_led17", "tc_pad_led1",
    "tc_pad_led2", "tc_pad_led3", "tc_pad_led4", "tc_pad_led5", "tc_pad_led6", "tc_pad_led7",
    "tc_pad_led8", "tc_pad_led9", "tc_pad_led10", "tc_pad_led11", "tc_pad_led12", "tc_pad_led13",
    "tc_pad_led14", "tc_pad_led15",
    // Key colour groups
    "tc_game_mode1", "tc_game_mode2", "tc_game_mode3", "tc_game_mode4", "tc_game_mode5",
    "tc_game_mode6", "tc_game_mode7", "tc_game_mode8", "tc_game_mode9", "tc_game_mode10",
    // Lighting controls
    "tc_brightness", "tc_speed", "tc_direct",
    // Keyboard lighting and system pages
    "tc_adv_str1", "tc_adv_str2", "tc_adv_str3", "tc_adv_str4", "tc_adv_str5", "tc_adv_str6",
    "tc_adv_str7", "tc_adv_str8", "tc_adv_str9", "tc_adv_str10", "tc_sys_str1", "tc_sys_str2",
    "tc_sys_str3", "tc_sys_str4", "tc_sys_str5",
    // Extra keys
    "tc_ex1", "tc_ex2", "tc_ex3",
    // Driver settings: the program whose running selects the profile
    "tc_link",
};

using IdIndex = std::pair<std::string_view, int>;

constexpr std::array<IdIndex, kTextCount> MakeSortedIds() {
    std::array<IdIndex, kTextCount> sorted{};
    for (std::size_t i = 0; i < kTextCount; ++i) sorted[i] = {kIds[i], static_cast<int>(i)};
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

constexpr std::array<IdIndex, kTextCount> kSortedIds = MakeSortedIds();

constexpr bool IdsUnique() {
    for (std::size_t i = 1; i < kTextCount; ++i) {
        if (kSortedIds[i - 1].first == kSortedIds[i].first || kSortedIds[i].first.empty()) return false;
    }
    return true;
}
static_assert(IdsUnique());

constexpr std::size_t kHz = 37;
static_assert(kIds[kHz] == "tc_hz");

}  // namespace

std::span<const std::string_view, kTextCount> TextTable::Ids() { return kIds; }

int TextTable::IndexOf(std::string_view id) {
    const auto it = std::lower_bound(kSortedIds.begin(), kSortedIds.end(), id,
                                     [](const IdIndex& e, std::string_view k) { return e.first < k; });
    return it != kSortedIds.end() && it->first == id ? it->second : -1;
}

void TextTable::Load(const std::string& path) {
    XmlReader xml;
    const bool read = xml.Load(path);
    xml.Parse();
    Load(xml);
    LogPrint("Texts %s: %s%s", path.c_str(), read ? "" : "cannot read: ", status_.c_str());
}

void TextTable::Load(XmlReader& xml) {
    texts_ = {};
    status_ = xml.LoadStatus() + (xml.ParseStatus().empty() ? "" : "; " + xml.ParseStatus());
    // One pass over the children of config; the first element of each name counts,
    // as a search from the start for every identifier would find.
    std::array<bool, kTextCount> seen{};
    xml.ResetPos();
    if (xml.FindChildElem("config") && xml.IntoElem()) {
        while (xml.FindChildElem()) {
            const int i = IndexOf(xml.GetChildTagName());
            if (i < 0 || seen[static_cast<std::size_t>(i)]) continue;
            seen[static_cast<std::size_t>(i)] = true;
            texts_[static_cast<std::size_t>(i)] = xml.GetChildData();
        }
    }
    if (texts_[kHz].empty()) texts_[kHz] = "Hz";
}

std::string TextTable::Get(std::string_view id) const {
    const int i = IndexOf(id);
    return i < 0 ? std::string() : texts_[static_cast<std::size_t>(i)];
}

}  // namespace quobel
