// What skingen draws, one entry per group of pictures; each saves its pictures through
// the output into every skin folder.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

#include "skin_kit.h"

namespace quobel {

struct Config;

void DrawControls(Output& out, const Theme& t);     // controls.cpp
void DrawIcons(Output& out, const Theme& t);        // icons.cpp
void DrawWindows(Output& out, const Theme& t);      // windows.cpp
void DrawGunPictures(Output& out, const Theme& t);  // gun_pictures.cpp

// The device pictures' geometry, from the configuration.
struct KeyRect {
    QRect r;
    int vk = 0;
};
struct DeviceLayout {
    QSize keyboard;
    std::vector<KeyRect> keys;
    std::vector<QRect> marks;  // the 21 button marks of the first sensor that has any; none: empty
    QPoint eft1, eft2;         // the pad's lighting strip
    int eftW = 0;
};
// device_pictures.cpp: a configuration without key table gets a full-size keyboard.
DeviceLayout DeviceLayoutFrom(const Config& config);
void DrawMouse(Output& out, const Theme& t, const DeviceLayout& l);
void DrawPad(Output& out, const Theme& t, const DeviceLayout& l);
void DrawKeyboard(Output& out, const DeviceLayout& l);

// program_files.cpp
QImage AppIcon(const Theme& t, int size);
bool WriteWav(const QString& path);

}  // namespace quobel
