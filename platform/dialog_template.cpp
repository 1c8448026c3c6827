#include "platform/dialog_template.h"

#include "base/le_bytes.h"

namespace gw {
namespace {

constexpr uint32_t kDsSetFont = 0x40;

std::string readUtf16Text(ByteReader& r) {
  std::string text;
  for (uint16_t c = r.u16(); c != 0 && r.ok(); c = r.u16()) text.push_back(c < 256 ? char(c) : '?');
  return text;
}

// A class, menu or title field: 0 (none), 0xFFFF + ordinal, or text.
std::string readSzOrOrd(ByteReader& r, bool isClass) {
  uint16_t first = r.u16();
  if (first == 0) return {};
  if (first == 0xFFFF) {
    uint16_t ord = r.u16();
    if (isClass) {
      switch (ord) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: break;
      }
    }
    return "#" + std::to_string(ord);
  }
  std::string text(1, first < 256 ? char(first) : '?');
  for (uint16_t c = r.u16(); c != 0 && r.ok(); c = r.u16()) text.push_back(c < 256 ? char(c) : '?');
  return text;
}

DialogRect readRect(ByteReader& r) {
  DialogRect rc;
  rc.x = r.i16();
  rc.y = r.i16();
  rc.cx = r.i16();
  rc.cy = r.i16();
  return rc;
}

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(const ResourceBytes& bytes) {
  ByteReader r(bytes.data, bytes.size);
  DialogTemplate t;
  uint16_t version = r.u16();
  uint16_t signature = r.u16();
  t.extended = version == 1 && signature == 0xFFFF;
  uint16_t count;
  if (t.extended) {
    r.u32();  // help id
    t.exStyle = r.u32();
    t.style = r.u32();
  } else {
    r.seek(0);
    t.style = r.u32();
    t.exStyle = r.u32();
  }
  count = r.u16();
  t.rect = readRect(r);
  readSzOrOrd(r, false);  // menu
  t.className = readSzOrOrd(r, true);
  t.title = readUtf16Text(r);
  if (t.style & kDsSetFont) {
    t.fontPoints = r.u16();
    if (t.extended) {
      r.u16();  // weight
      r.u8();   // italic
      r.u8();   // charset
    }
    t.fontName = readUtf16Text(r);
  }
  if (!r.ok()) return std::nullopt;
  for (uint16_t i = 0; i < count; ++i) {
    r.align(4);
    DialogItem item;
    if (t.extended) {
      r.u32();  // help id
      item.exStyle = r.u32();
      item.style = r.u32();
      item.rect = readRect(r);
      item.id = r.u32();
    } else {
      item.style = r.u32();
      item.exStyle = r.u32();
      item.rect = readRect(r);
      item.id = r.u16();
    }
    item.className = readSzOrOrd(r, true);
    item.text = readSzOrOrd(r, false);
    uint16_t extra = r.u16();
    r.skip(extra);
    if (!r.ok()) return std::nullopt;
    t.items.push_back(std::move(item));
  }
  return t;
}

std::optional<DialogTemplate> loadDialogTemplate(const ResourceName& name) {
  auto bytes = findResource(kResDialog, name);
  if (!bytes) return std::nullopt;
  return parseDialogTemplate(*bytes);
}

}  // namespace gw
