// The library's own resources: string table, dialog templates, bitmaps.
//
// On Windows they come from the DLL's resource section; natively from the same
// compiled .res embedded in the program. Both give the raw resource bytes; the
// parsers (string_table.h, dialog_template.h) are shared.
//
//   auto bytes = gw::findResource(gw::kResDialog, gw::ResourceName::number(1000));
//   auto bytes = gw::findResource(gw::kResDialog, gw::ResourceName::text("MessageBox"));
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace gw {

constexpr uint16_t kResBitmap = 2;
constexpr uint16_t kResDialog = 5;
constexpr uint16_t kResString = 6;
constexpr uint16_t kResRcData = 10;

// A resource is named by a 16-bit number or by a text compared without regard
// to case.
struct ResourceName {
  bool isNumber = true;
  uint16_t id = 0;
  std::string name;
  static ResourceName number(uint16_t n) { return ResourceName{true, n, {}}; }
  static ResourceName text(std::string s) { return ResourceName{false, 0, std::move(s)}; }
};

struct ResourceBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

std::optional<ResourceBytes> findResource(uint16_t type, const ResourceName& name);

}  // namespace gw
