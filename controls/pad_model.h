// Direction pads (SDWDIR, SCRL4D, SCRL2D, SCRLHV): a 75 x 75-pixel square of
// 3 x 3 cells of 25 pixels, of which each pad uses some; the cell's number is
// the value. The centre cell is never used.
//
//   int v = gw::padCellAt(gw::ControlKind::kShadowPad, 60, 60);  // 7, lower right
//   if (v >= 0) value = v;                                        // else keep it
#pragma once

#include <cstdint>
#include <string>

#include "controls/control_kind.h"
#include "platform/dialog_facade.h"

namespace gw {

constexpr int kPadSize = 75;
constexpr int kPadCellSize = 25;
constexpr int kPadGlyphCell = 24;  // the glyph strips' cell width

struct PadCell {
  int left, top, right, bottom;
};

// How many values the pad has (its cells are values 0..count-1).
int padValueCount(ControlKind kind);
// The rectangle of cell `value`; false for a value the pad does not have.
bool padCell(ControlKind kind, int value, PadCell* out);
// The value of the cell under (x, y) in pad pixels, or -1 outside every cell.
int padCellAt(ControlKind kind, int x, int y);
// The bitmap resource of the pad's glyph strip (0 for other kinds).
uint16_t padGlyphStrip(ControlKind kind);

// The pad's value as its window text mirrors it (unsigned decimal); 0 when
// the text holds no number, as for a pad without its block.
int32_t padValue(const DialogFacade& dialog, uint32_t id);

// A pad's own messages: 1324 (wParam the initial value, lParam the address
// of the bound variable, may be null) shows the value and binds the
// variable; 1326 takes the value from the window text (unsigned decimal, 0
// for a text without digits) and stores it in the bound variable. True when
// the message was one of them; the view then repaints.
bool padMessage(DialogFacade& dialog, uint32_t id, uint32_t message, uintptr_t wParam, intptr_t lParam);

// In the in-memory dialog a pad answers its messages through a procedure;
// on Windows its view (pad_view_win32.cpp) does. Nothing for other dialogs.
void attachPadMessages(DialogFacade& dialog, uint32_t id);

}  // namespace gw
