#pragma once
// gVar: the settings read from cfg.ini and lang.ini at start.
//
// Written by the configuration readers at start and by the driver settings dialog;
// read by everything else. Texts are UTF-8, already cut to the length of the
// wide-character buffer the option has.

#include <array>
#include <cstdint>
#include <string>

#include "base/geometry.h"
#include "config/keyboard_desc.h"
#include "config/mouse_desc.h"
#include "config/pad_desc.h"

namespace quobel {

struct NamedFolder {
    std::string szName;    // shown in the driver settings dialog
    std::string szFolder;  // folder under the program folder (skins) or under Text/ (languages)
};

constexpr int kMaxLangs = 10;
constexpr int kMaxSkins = 10;

struct GVar {
    // Appearance colours.
    Colour clrTxt = 0;
    Colour clrBtnTxtNr = 0;
    Colour clrBtnTxtOv = 0;
    Colour clrBtnTxtDn = 0;
    Colour clrMenuTxtNr = 0;
    Colour clrMenuTxtOv = 0;
    Colour clrMenuTxtDn = 0;
    Colour clrLstBoxBkg = 0;
    Colour clrLstBoxItem = 0;
    Colour clrLstBoxTxtNr = 0;
    Colour clrLstBoxTxtDn = 0;
    Colour clrMask = 0;
    Colour clrMaskMsg = 0;

    // Device descriptions.
    MsDevCfg MsDev;
    KbDevCfg KbDev;
    PadDevCfg PadDev;

    // Program options.
    std::string szTitle;    // at most 99 characters
    std::string pszTitle;   // the effective title: szTitle, or the text tc_title
    std::string szVer;      // at most 9 characters
    std::string szVersion;  // version caption, at most 49 characters
    std::int32_t bBtnTips = 0;
    std::int32_t bMatchStr = 0;
    std::string szAppDir;   // at most 29 characters
    std::string szFontName; // at most 29 characters
    std::int32_t nFontSize = 0;
    std::int32_t nPopWndTrans = 0;
    Colour clrPopWndBkg = 0;
    Colour clrPopWndFrame = 0;
    Rect rcHomePageBtn;
    std::int32_t nMsFw = 0;
    std::int32_t nKbFw = 0;
    std::int32_t nPadFw = 0;
    std::int32_t nTrayIcon = 0;
    std::int32_t bShowDevList = 0;
    std::int32_t bComboRec = 0;
    std::int32_t nSuwnd = 0;
    std::int32_t bGoWithNoDev = 0;
    std::int32_t bApplyNow = 0;
    std::int32_t bFrameDebug = 0;
    std::int32_t bExitOnPlugOut = 0;
    Point ptKeyMsDlg;
    Point ptMinBtn;
    Point ptDpiDlg;
    Point ptMsMarkDlg;
    Point ptResetBtn;
    std::int32_t nProfileGpY = 0;
    std::int32_t nDevListGpY = 0;
    std::int32_t nDrvGpY = 0;
    std::int32_t nProfileNum = 0;
    std::int32_t nMacroOptX = 0;
    std::int32_t bMacOperBtn = 0;
    std::int32_t nListTrans = 0;
    std::int32_t nMacroDir = 0;
    std::int32_t bMacroHasMsKey = 0;
    Rect rcMacroList;
    Rect rcKeyList;
    std::int32_t nMacProtocol = 0;
    std::int32_t bAutoSaveMacro = 0;
    std::int32_t bShowDrvOpt = 0;
    std::int32_t bPlaySound = 0;

    // Languages and skins.
    std::array<NamedFolder, kMaxLangs> LangTable;
    std::int32_t nLangIndex = 0;
    std::int32_t nLangNum = 0;
    std::array<NamedFolder, kMaxSkins> SkinsTable;
    std::int32_t nSkinsIndex = 0;
    std::int32_t nSkinsNum = 0;
};

}  // namespace quobel
