#include "config/options.h"

#include <string_view>

#include "base/int_math.h"
#include "base/utf16.h"
#include "config/device_readers.h"
#include "config/value_parsers.h"

namespace quobel {
namespace {

constexpr std::string_view kOpt = "OPT";

// Buffer sizes of the string options, in wide characters with the terminator.
constexpr std::size_t kTitleChars = 100;
constexpr std::size_t kVerChars = 10;
constexpr std::size_t kAppDirChars = 30;
constexpr std::size_t kFontNameChars = 30;
constexpr std::size_t kListEntryChars = 260;
constexpr std::size_t kListFieldChars = 29;

struct ColourOption {
    std::string_view key;
    Colour GVar::*field;
    Colour def;
};

constexpr ColourOption kColours[] = {
    {"Txt_clr", &GVar::clrTxt, Rgb(200, 200, 200)},
    {"Btn_txt_clr_nr", &GVar::clrBtnTxtNr, Rgb(200, 200, 200)},
    {"Btn_txt_clr_ov", &GVar::clrBtnTxtOv, Rgb(255, 255, 255)},
    {"Btn_txt_clr_dn", &GVar::clrBtnTxtDn, Rgb(67, 156, 200)},
    {"Menu_txt_clr_nr", &GVar::clrMenuTxtNr, Rgb(200, 200, 200)},
    {"Menu_txt_clr_ov", &GVar::clrMenuTxtOv, Rgb(255, 255, 255)},
    {"Menu_txt_clr_dn", &GVar::clrMenuTxtDn, Rgb(67, 156, 200)},
    {"LstBox_txt_clr_nr", &GVar::clrLstBoxTxtNr, Rgb(200, 200, 200)},
    {"LstBox_txt_clr_dn", &GVar::clrLstBoxTxtDn, Rgb(0, 0, 0)},
    {"LstBox_bkg_clr", &GVar::clrLstBoxBkg, Rgb(0, 0, 0)},
    {"LstBox_item_clr", &GVar::clrLstBoxItem, Rgb(0, 0, 0)},
    {"ClrMask", &GVar::clrMask, Rgb(0, 0, 0)},
    {"clrMaskMsg", &GVar::clrMaskMsg, Rgb(0, 0, 0)},
};

void ClearKeyTable(Config& config) {
    for (KeyInfo& k : config.g_defKEY) {
        k = KeyInfo{};
        k.nMatrixInx = -1;
    }
}

// Reads Skins%d or Lang%d into table; returns the count, or -1 when an entry is
// malformed (already reported).
int ReadNamedFolders(const IniFile& cfg, std::string_view stem, std::span<NamedFolder> table,
                     Reporter& reporter) {
    int count = 0;
    for (std::size_t n = 1; n <= table.size(); ++n) {
        const std::string key = std::string(stem) + std::to_string(n);
        const std::string v = cfg.GetString(kOpt, key, "", kListEntryChars);
        if (v.empty()) break;
        const auto comma = v.find(',');
        if (comma == std::string::npos || comma + 1 >= v.size()) {
            reporter.Report("Error", key + " is invalidate");
            return -1;
        }
        table[n - 1].szName = CutToUtf16Units(std::string_view(v).substr(0, comma), kListFieldChars);
        table[n - 1].szFolder = CutToUtf16Units(std::string_view(v).substr(comma + 1), kListFieldChars);
        ++count;
    }
    return count;
}

void CheckIndex(std::int32_t& index, int count, std::string_view key, Reporter& reporter) {
    if (count > 0 && (index < 0 || index >= count)) {
        reporter.Report("Error", std::string(key) + " is invalidate");
        index = 0;
    }
}

}  // namespace

void ReadOptions(const IniFile& cfg, Config& config, Reporter& reporter, Log& log,
                 const std::string& desktop_dir) {
    GVar& g = config.gVar;
    g = GVar{};

    config.nDebugLevel = cfg.GetInt(kOpt, "Debug", 0);
    g.szTitle = cfg.GetString(kOpt, "Title", "", kTitleChars);
    g.szVer = cfg.GetString(kOpt, "Ver", "", kVerChars);
    log.Start(config.nDebugLevel, desktop_dir);

    g.nSuwnd = cfg.GetInt(kOpt, "Suwnd", 0);
    g.bMatchStr = cfg.GetInt(kOpt, "MatchStr", 0);
    g.bBtnTips = cfg.GetInt(kOpt, "BtnTips", 0);
    g.bApplyNow = cfg.GetInt(kOpt, "ApplyNow", 0);
    g.szFontName = cfg.GetString(kOpt, "FontName", "", kFontNameChars);
    g.szAppDir = cfg.GetString(kOpt, "appdir", "", kAppDirChars);
    if (g.szAppDir.empty()) reporter.Report("Error", "APPDATA=NULL");
    g.nTrayIcon = cfg.GetInt(kOpt, "TrayIcon", 2);
    g.bGoWithNoDev = cfg.GetInt(kOpt, "GoWithNoDev", 0);
    g.bFrameDebug = cfg.GetInt(kOpt, "FrameDebug", 0);
    g.bExitOnPlugOut = cfg.GetInt(kOpt, "ExitOnPlugOut", 0);
    g.bShowDevList = cfg.GetInt(kOpt, "ShowDevList", 1);
    g.bComboRec = cfg.GetInt(kOpt, "ComboRec", 1);
    g.nPopWndTrans = cfg.GetInt(kOpt, "PopWndTrans", 255);
    g.clrPopWndBkg = ReadColour(cfg, kOpt, "ClrPopWndBkg", Rgb(6, 6, 7));
    g.clrPopWndFrame = ReadColour(cfg, kOpt, "ClrPopWndFrame", Rgb(35, 35, 35));
    g.nFontSize = cfg.GetInt(kOpt, "FontSize", 14);
    g.nProfileGpY = cfg.GetInt(kOpt, "ProfileGpY", 410);
    g.nDevListGpY = cfg.GetInt(kOpt, "DevListGpY", 500);
    g.nDrvGpY = cfg.GetInt(kOpt, "DrvGpY", 0);
    ReadPoint(cfg, "ptKeyMsDlg", g.ptKeyMsDlg, 30, 40, kOpt, reporter);
    ReadPoint(cfg, "ptMsMarkDlg", g.ptMsMarkDlg, 340, 63, kOpt, reporter);
    ReadPoint(cfg, "ptMinBtn", g.ptMinBtn, 960, 12, kOpt, reporter);
    ReadPoint(cfg, "ptDpiDlg", g.ptDpiDlg, 743, 41, kOpt, reporter);
    ReadPoint(cfg, "ptResetBtn", g.ptResetBtn, 795, 600, kOpt, reporter);
    ReadRect(cfg, "rcHomePageBtn", g.rcHomePageBtn, kOpt, reporter);
    g.nMsFw = cfg.GetInt(kOpt, "MsFw", 0);
    g.nKbFw = cfg.GetInt(kOpt, "KbFw", 0);
    g.nPadFw = cfg.GetInt(kOpt, "PadFw", 0);
    for (const ColourOption& c : kColours) g.*c.field = ReadColour(cfg, kOpt, c.key, c.def);
    g.nMacroDir = cfg.GetInt(kOpt, "MacroDir", 0);
    g.bMacroHasMsKey = cfg.GetInt(kOpt, "MacroHasMsKey", 0);
    g.nListTrans = static_cast<std::uint16_t>(cfg.GetInt(kOpt, "ListTrans", 0));
    g.bMacOperBtn = cfg.GetInt(kOpt, "MacOperBtn", 0);
    g.bAutoSaveMacro = cfg.GetInt(kOpt, "AutoSaveMacro", 1);
    g.rcMacroList = {40, 46, 230, 356};
    ReadRect(cfg, "rcMacroList", g.rcMacroList, kOpt, reporter);
    // The key list and the option column follow a configured macro list.
    const Rect& m = g.rcMacroList;
    g.rcKeyList = {SumClamped(m.right, 20), m.top, SumClamped(m.right, 210), m.bottom};
    ReadRect(cfg, "rcKeyList", g.rcKeyList, kOpt, reporter);
    g.nMacroOptX = cfg.GetInt(kOpt, "Macro_Opt_X", SumClamped(g.rcKeyList.right, 50));
    g.nMacProtocol = cfg.GetInt(kOpt, "MacProtocol", 0);
    if (g.nMacProtocol != 1 && g.nMacProtocol != 2) reporter.Report("Error", "Macro Protocol is unknown");
    g.nProfileNum = cfg.GetInt(kOpt, "ProfileNum", 3);
    g.bShowDrvOpt = cfg.GetInt(kOpt, "ShowDrvOpt", 0);

    ClearKeyTable(config);
    if (g.nMsFw != 0) ReadMouseDescription(cfg, config, reporter);
    if (g.nKbFw != 0) ReadKeyboardDescription(cfg, config, reporter);
    if (g.nPadFw != 0) ReadPadDescription(cfg, config, reporter);
}

void ReadLanguagesAndSkins(const IniFile& cfg, const IniFile& lang, GVar& gvar, Reporter& reporter) {
    gvar.bPlaySound = lang.GetInt(kOpt, "PlaySound", 0);
    gvar.bShowDrvOpt = cfg.GetInt(kOpt, "ShowDrvOpt", 0);
    if (gvar.bShowDrvOpt == 0) return;

    const int skins = ReadNamedFolders(cfg, "Skins", gvar.SkinsTable, reporter);
    if (skins < 0) return;
    gvar.nSkinsIndex = lang.GetInt(kOpt, "SkinsIndex", 0);
    CheckIndex(gvar.nSkinsIndex, skins, "SkinsIndex", reporter);
    gvar.nSkinsNum = skins;

    const int langs = ReadNamedFolders(cfg, "Lang", gvar.LangTable, reporter);
    if (langs < 0) return;
    gvar.nLangIndex = lang.GetInt(kOpt, "LangIndex", 0);
    CheckIndex(gvar.nLangIndex, langs, "LangIndex", reporter);
    gvar.nLangNum = langs;
}

}  // namespace quobel
