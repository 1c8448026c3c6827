#include "controls/bound_control.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "controls/pad_model.h"
#include "controls/spin_field.h"
#include "platform/rasteriser.h"
#include "resources/resource_ids.h"

namespace gw {
namespace {

constexpr uint32_t kFirstRefreshingId = 50;

int32_t* numberOf(const DialogFacade& dialog, uint32_t id) {
  return static_cast<int32_t*>(dialog.boundVariable(id));
}

char* textOf(const DialogFacade& dialog, uint32_t id) {
  return static_cast<char*>(dialog.boundVariable(id));
}

void storeText(char* buffer, const std::string& text) {
  if (!buffer) return;
  std::memset(buffer, 0, kBoundTextSize);
  std::memcpy(buffer, text.data(), std::min(text.size(), kBoundTextSize - 1));
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
  if (prefix.size() > s.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(prefix[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

// The first entry beginning with `name` (as a list searches), or -1.
int findEntryStarting(const DialogFacade& dialog, uint32_t id, const std::string& name) {
  int n = dialog.itemCount(id);
  for (int i = 0; i < n; ++i)
    if (startsWithNoCase(dialog.itemText(id, i), name)) return i;
  return -1;
}

bool equalNoCase(const std::string& a, const char* b) {
  return a.size() == std::strlen(b) && startsWithNoCase(a, b);
}

// The entry a font list shows for `face`: the first that starts with it,
// else the family the rasteriser draws in its place ("Impact" is drawn in
// another face where it is not installed, as under wine), else -1.
int fontListEntryFor(const DialogFacade& dialog, uint32_t id, const std::string& face) {
  int entry = findEntryStarting(dialog, id, face);
  if (entry >= 0 || face.empty()) return entry;
  const std::string drawn = rasteriserSubstituteFamily(face);
  const int n = drawn.empty() ? 0 : dialog.itemCount(id);
  for (int i = 0; i < n; ++i)
    if (equalNoCase(dialog.itemText(id, i), drawn.c_str())) return i;
  return -1;
}

std::string unsignedText(int32_t v) { return std::to_string(uint32_t(v)); }

long atolOf(const std::string& s) {
  // Documents carry 32-bit values; wrap like a 32-bit long would.
  const char* p = s.c_str();
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  uint32_t v = 0;
  while (*p >= '0' && *p <= '9') v = v * 10u + uint32_t(*p++ - '0');
  return long(int32_t(negative ? 0u - v : v));
}

}  // namespace

ControlKind boundKindOf(const DialogFacade& dialog, uint32_t id) {
  return static_cast<ControlKind>(dialog.boundKind(id));
}

void showBoundValue(DialogFacade& dialog, uint32_t id) {
  const ControlKind kind = boundKindOf(dialog, id);
  int32_t* number = numberOf(dialog, id);
  char* text = textOf(dialog, id);
  switch (kind) {
    case ControlKind::kCheckBox:
      if (number) dialog.setChecked(id, *number != 0);
      break;
    case ControlKind::kSpinField:
      if (number) dialog.setText(id, std::to_string(*number));
      break;
    case ControlKind::kColourButton:
      if (number) dialog.setText(id, unsignedText(*number));
      break;
    case ControlKind::kTextField:
      if (text) dialog.setText(id, std::string(text, strnlen(text, kBoundTextSize - 1)));
      break;
    case ControlKind::kDropDownList:
      if (number) dialog.setSelection(id, *number);
      break;
    case ControlKind::kFontList:
      // A face that is not installed shows the face drawn instead; the buffer
      // keeps the configured one until the user picks another.
      if (text) dialog.setSelection(id, fontListEntryFor(dialog, id, std::string(text, strnlen(text, kBoundTextSize - 1))));
      break;
    default:
      if (isPad(kind)) dialog.setText(id, unsignedText(number ? *number : 0));
      break;
  }
}

void bindControl(DialogFacade& dialog, uint32_t id, ControlKind kind, void* variable) {
  dialog.setBinding(id, uint8_t(kind), variable);
  showBoundValue(dialog, id);
  if (isPad(kind)) attachPadMessages(dialog, id);
}

void updateBuildButton(DialogFacade& dialog) {
  dialog.setEnabled(IDC_BUILD, !dialog.text(IDC_TEXT).empty());
}

CommandResult handleControlCommand(DialogFacade& dialog, uint32_t id, ControlEvent event,
                                   const ColourPicker& pickColour) {
  CommandResult r;
  if (id >= kSpinPartnerOffset && boundKindOf(dialog, id - kSpinPartnerOffset) == ControlKind::kSpinField)
    id -= kSpinPartnerOffset;
  const ControlKind kind = boundKindOf(dialog, id);
  int32_t* number = numberOf(dialog, id);
  bool refresh = false;
  switch (kind) {
    case ControlKind::kTextField:
      storeText(textOf(dialog, id), dialog.text(id));
      r.checkBuildButton = true;
      refresh = true;
      break;
    case ControlKind::kSpinField:
      if (number) *number = spinFieldValue(dialog, id);
      refresh = true;
      break;
    case ControlKind::kCheckBox:
      if (number) *number = dialog.checked(id) ? 1 : 0;
      refresh = true;
      break;
    case ControlKind::kDropDownList:
      r.checkBuildButton = true;
      if (event != ControlEvent::kCloseUp) break;
      if (number) *number = dialog.selection(id);
      refresh = true;
      break;
    case ControlKind::kFontList:
      if (event != ControlEvent::kCloseUp) break;
      storeText(textOf(dialog, id), dialog.text(id));
      refresh = true;
      break;
    case ControlKind::kColourButton: {
      if (event != ControlEvent::kClick || !pickColour) break;
      uint32_t colour = uint32_t(std::strtoul(dialog.text(id).c_str(), nullptr, 10));
      if (!pickColour(&colour)) break;
      if (number) *number = int32_t(colour);
      dialog.setText(id, std::to_string(colour));
      refresh = true;
      break;
    }
    case ControlKind::kNone:
    case ControlKind::kLabel:
    case ControlKind::kGroupBox:
    case ControlKind::kPushButton:
      return r;
    default:  // pads, material, gradient and animation controls write their own variables
      refresh = true;
      break;
  }
  // Pads and the record-holding buttons have written their own variables already.
  const bool writesOwn = isPad(kind) || kind == ControlKind::kMaterialButton ||
                         kind == ControlKind::kFountainButton || kind == ControlKind::kAnimationSelector;
  r.stored = refresh && !writesOwn;
  r.restartRefresh = refresh && id >= kFirstRefreshingId;
  return r;
}

bool documentLineValue(const std::string& line, std::string* value) {
  size_t at = line.find('=');
  if (at == std::string::npos) return false;
  // "=" and blanks in any order: a value read never begins with either, so
  // the line written for it reads back to the same value.
  while (at < line.size() && (line[at] == '=' || line[at] == ' ')) ++at;
  *value = line.substr(at);
  return true;
}

std::string controlDocumentLine(const DialogFacade& dialog, uint32_t id) {
  const ControlKind kind = boundKindOf(dialog, id);
  const char* tag = controlTag(kind);
  if (!tag) return {};
  std::string value;
  switch (kind) {
    case ControlKind::kCheckBox: value = dialog.checked(id) ? "1" : "0"; break;
    case ControlKind::kSpinField: value = std::to_string(spinFieldValue(dialog, id)); break;
    case ControlKind::kColourButton:
      value = unsignedText(int32_t(std::strtoul(dialog.text(id).c_str(), nullptr, 10)));
      break;
    case ControlKind::kTextField: value = dialog.text(id).substr(0, 1023); break;
    case ControlKind::kDropDownList: value = std::to_string(dialog.selection(id)); break;
    case ControlKind::kFontList:
      // A face that is not installed shows no selection; the name the list
      // stands for is then its bound one, which the text is drawn with.
      value = dialog.text(id);
      if (value.empty() && textOf(dialog, id)) value = std::string(textOf(dialog, id), strnlen(textOf(dialog, id), kBoundTextSize - 1));
      break;
    case ControlKind::kShadowPad:
    case ControlKind::kScroll4Pad:
    case ControlKind::kScroll2Pad:
    case ControlKind::kScrollHVPad: value = unsignedText(padValue(dialog, id)); break;
    default: return {};  // FOUNTB, MATLBT, ANMCTL: their own controls write them
  }
  return std::string(tag) + std::to_string(id) + "=" + value;
}

bool applyControlDocumentLine(DialogFacade& dialog, uint32_t id, const std::string& line) {
  const ControlKind kind = boundKindOf(dialog, id);
  const char* tag = controlTag(kind);
  if (!tag || line.size() < 6 || !equalNoCase(line.substr(0, 6), tag)) return false;
  std::string value;
  if (!documentLineValue(line, &value)) return false;
  int32_t* number = numberOf(dialog, id);
  switch (kind) {
    case ControlKind::kCheckBox:
      dialog.setChecked(id, atolOf(value) != 0);
      if (number) *number = dialog.checked(id) ? 1 : 0;
      return true;
    case ControlKind::kSpinField:
      dialog.setText(id, unsignedText(int32_t(atolOf(value))));
      if (number) *number = spinFieldValue(dialog, id);
      return true;
    case ControlKind::kColourButton:
      dialog.setText(id, unsignedText(int32_t(atolOf(value))));
      if (number) *number = int32_t(atolOf(value));
      return true;
    case ControlKind::kTextField:
      dialog.setText(id, value);
      storeText(textOf(dialog, id), value);
      return true;
    case ControlKind::kDropDownList:
      dialog.setSelection(id, int(atolOf(value)));
      if (number) *number = dialog.selection(id);
      return true;
    case ControlKind::kFontList: {
      // A face this system lacks (or none) shows no selection and stays the
      // bound name, as when the dialog opens with it: the letters are asked
      // for by that name and the rasteriser substitutes.
      int entry = value.empty() ? -1 : findEntryStarting(dialog, id, value);
      dialog.setSelection(id, entry);
      storeText(textOf(dialog, id), entry >= 0 ? dialog.text(id) : value);
      return true;
    }
    case ControlKind::kShadowPad:
    case ControlKind::kScroll4Pad:
    case ControlKind::kScroll2Pad:
    case ControlKind::kScrollHVPad:
      dialog.setText(id, unsignedText(int32_t(atolOf(value))));
      if (number) *number = int32_t(atolOf(value));
      return true;
    default:
      return false;  // FOUNTB, MATLBT, ANMCTL: their own controls read them
  }
}

}  // namespace gw
