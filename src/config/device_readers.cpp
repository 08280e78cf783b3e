// The device-description steps of data init live beside their records:
// sensor_table.cpp and mouse_desc.cpp (BuildSensorTable, ReadMouseDescription,
// LayoutButtonLists), keyboard_desc.cpp (ReadKeyboardDescription, ReadFnAndGestures) and
// pad_desc.cpp (ReadPadDescription).
#include "config/device_readers.h"
