#pragma once
// Numbers of the messages that pass between the windows and threads.
//
// Inside the GUI thread they travel as Qt signals carrying the same values; the
// numbers stay for the messages that cross threads and for logs that name them.

namespace quobel {

constexpr int UM_CAPTUREKEY = 0x40A;
constexpr int UM_SETPOS = 0x42B;
constexpr int UM_SETKEYFUN = 0x438;
constexpr int UM_COLORCHANGED = 0x43E;
constexpr int UM_COLORCLICK = 0x461;
constexpr int UM_TRAYICON = 0x46C;
constexpr int UM_MENUCMD = 0x477;
constexpr int UM_KEYCLICK = 0x481;
constexpr int UM_KEYRCLICK = 0x482;
constexpr int UM_TREEITEMDBLCLK = 0x591;
constexpr int UM_TREEITEMRCLICK = 0x592;
constexpr int UM_TREEITEMCLICK = 0x594;
constexpr int UM_TREEDELETEKEY = 0x595;
constexpr int UM_LEDMODE = 0x596;
constexpr int UM_COLORPICKING = 0x66D;
constexpr int UM_DEVICEBEHAVIOR = 0x7EB;
constexpr int UM_SLIDERPOS = 0x800;
constexpr int UM_SLIDERDRAG = 0x801;

}  // namespace quobel
