// Private window messages the plug-in's controls share (decimal numbers, the
// same on Windows and in the in-memory dialog).
#pragma once

#include <cstdint>

namespace gw {

constexpr uint32_t kMsgDestroy = 0x0002;         // WM_DESTROY
constexpr uint32_t kMsgCommand = 0x0111;         // WM_COMMAND
constexpr uint32_t kMsgLeftButtonDown = 0x0201;  // WM_LBUTTONDOWN, lParam x | y << 16
constexpr uint32_t kMsgLeftButtonUp = 0x0202;    // WM_LBUTTONUP

constexpr uint32_t kMsgControlInit = 1324;       // pads: wParam initial value, lParam bound variable
constexpr uint32_t kMsgMaterialKindMenu = 1325;  // material button: show the kind menu
constexpr uint32_t kMsgPadFromText = 1326;       // pads: take the value from the window text
constexpr uint32_t kMsgSampleRepaint = 1327;     // to the main dialog: wParam kind, lParam the button
constexpr uint32_t kMsgWriteDocument = 1334;     // wParam 0: lParam the open FILE* of the document;
                                                 // wParam 1: lParam a std::string* that receives the line
constexpr uint32_t kMsgReadDocument = 1335;      // lParam: const char* line
constexpr uint32_t kMsgMaterialInit = 1424;      // lParam: the default colour
constexpr uint32_t kMsgMaterialDuplicate = 1425; // returns a new block with a copy of the record

}  // namespace gw
