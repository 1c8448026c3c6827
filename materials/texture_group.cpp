#include "materials/texture_group.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "materials/texture_group_keys.h"
#include "platform/file_replace.h"
#include "platform/system_state.h"
#include "settings/settings_file.h"

namespace gw {
namespace {

const char* const kCommentLines[] = {
    ";This is a machine-generated text file. If you edit it by hand, you",
    ";run the very real and tangible risk of causing all time and space to",
    ";implode upon itself and bring about the extinction of reality as we",
    ";know it. Think carefully...",
};
constexpr char kItemsBegin[] = ";Items begin";
constexpr char kItemsEnd[] = ";Items end -- beyond this point be dragons.";
constexpr char kUnknownName[] = "UNKNOWN NAME";

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool equalsIgnoringCase(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// Hands out the lines of a text one at a time, each without its line end and
// cut at kTextureGroupMaxLine characters.
class LineCursor {
 public:
  LineCursor(const char* text, size_t size) : p_(text), end_(text + size) {}
  bool next(std::string* line) {
    if (p_ >= end_) return false;
    const char* stop = static_cast<const char*>(std::memchr(p_, '\n', size_t(end_ - p_)));
    if (!stop) stop = end_;
    size_t length = size_t(stop - p_);
    line->assign(p_, length < kTextureGroupMaxLine ? length : kTextureGroupMaxLine);
    p_ = stop < end_ ? stop + 1 : end_;
    return true;
  }

 private:
  const char* p_;
  const char* end_;
};

// Inside an item every trailing character below '!' goes (blanks, CR, tabs).
void cutTrailingBelowBang(std::string* line) {
  size_t n = line->size();
  while (n > 0 && static_cast<unsigned char>((*line)[n - 1]) < '!') --n;
  line->resize(n);
}

// Splits "key = value": the value starts after the '=' run and any blanks;
// trailing blanks of both go.
bool splitKeyValue(const std::string& line, std::string* key, std::string* value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  size_t keyEnd = eq;
  while (keyEnd > 0 && isBlank(line[keyEnd - 1])) --keyEnd;
  size_t v = eq;
  while (v < line.size() && (line[v] == '=' || isBlank(line[v]))) ++v;
  size_t valueEnd = line.size();
  while (valueEnd > v && isBlank(line[valueEnd - 1])) --valueEnd;
  key->assign(line, 0, keyEnd);
  value->assign(line, v, valueEnd - v);
  return true;
}

void applyItemLine(const std::string& line, TextureItem* item, bool* named) {
  if (line.empty() || line[0] == ';') return;
  std::string key, value;
  if (!splitKeyValue(line, &key, &value)) return;
  const TextureGroupKey* k = findTextureGroupKey(key.data(), key.size());
  if (!k) return;
  uint8_t* s = item->settings.data();
  switch (k->kind) {
    case TextureKeyKind::kName:
      item->name = value.substr(0, kTextureNameMax);
      *named = true;
      return;
    case TextureKeyKind::kReal: {
      double v = std::strtod(value.c_str(), nullptr);
      // Infinities and NaN keep the field's default rather than reach a
      // generator.
      if (v - v == 0) textureKeySet(*k, v, s);
      return;
    }
    case TextureKeyKind::kSigned:
      textureKeySet(*k, double(atolWrapping(value.c_str())), s);
      return;
    case TextureKeyKind::kWhole:
    case TextureKeyKind::kColour:
      textureKeySet(*k, double(uint32_t(atolWrapping(value.c_str()))), s);
      return;
  }
}

void appendLine(std::string* out, const char* text) {
  out->append(text);
  out->push_back('\n');
}

// Names are single lines; characters that would end or shorten the line on
// reading back are replaced.
std::string singleLine(const std::string& text) {
  std::string s = text.substr(0, kTextureNameMax);
  for (char& c : s)
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string nameForWriting(const std::string& name) {
  std::string s = singleLine(name);
  return s.empty() ? std::string(kUnknownName) : s;
}

void appendItem(std::string* out, const TextureItem& item) {
  size_t count;
  const TextureGroupKey* keys = textureGroupKeys(&count);
  appendLine(out, ":BEGINITEM");
  char buffer[128];
  for (size_t i = 0; i < count; ++i) {
    const TextureGroupKey& k = keys[i];
    if (k.kind == TextureKeyKind::kName) {
      out->append(k.key).append("=").append(nameForWriting(item.name)).push_back('\n');
      continue;
    }
    const double v = textureKeyValue(k, item.settings.data());
    if (k.kind == TextureKeyKind::kReal)
      std::snprintf(buffer, sizeof buffer, "%s=%f\n", k.key, v);
    else if (k.kind == TextureKeyKind::kSigned)
      std::snprintf(buffer, sizeof buffer, "%s=%ld\n", k.key, long(int32_t(v)));
    else
      std::snprintf(buffer, sizeof buffer, "%s=%lu\n", k.key, static_cast<unsigned long>(uint32_t(v)));
    out->append(buffer);
  }
  appendLine(out, ":ENDITEM");
}

bool copyWhole(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  std::FILE* out = std::fopen(to.c_str(), "wb");
  bool ok = out != nullptr;
  char buffer[16384];
  size_t n;
  while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = std::fwrite(buffer, 1, n, out) == n;
  ok = ok && !std::ferror(in);
  std::fclose(in);
  if (out) ok = std::fclose(out) == 0 && ok;
  if (!ok) std::remove(to.c_str());
  return ok;
}

}  // namespace

TextureGroupStamp textureGroupStampNow() {
  return {ctimeText(wallClockSeconds()), registeredOwner(), registeredOrganization()};
}

bool textureGroupParse(const char* text, size_t size, TextureGroup* group) {
  if (size > kTextureGroupMaxBytes) return false;
  LineCursor lines(text, size);
  std::string line;
  if (!lines.next(&line)) return false;
  size_t n = line.size();
  while (n > 0 && static_cast<unsigned char>(line[n - 1]) <= ' ') --n;
  if (line.compare(0, n, kTextureGroupFirstLine) != 0 || n != std::strlen(kTextureGroupFirstLine)) return false;

  bool writeable = group->writeable;
  std::vector<TextureItem> items;
  std::string previousName;
  while (lines.next(&line)) {
    std::string bare = line;
    cutTrailingBelowBang(&bare);
    if (!equalsIgnoringCase(bare, ":BEGINITEM")) {
      std::string key, value;
      if (!line.empty() && line[0] != ';' && splitKeyValue(bare, &key, &value) &&
          equalsIgnoringCase(key, "Writeable"))
        writeable = atolWrapping(value.c_str()) != 0;
      continue;
    }
    TextureItem item;
    textureSettingsDefaults(item.settings.data());
    item.name = previousName;
    bool named = false, ended = false;
    while (!ended && lines.next(&line)) {
      cutTrailingBelowBang(&line);
      if (equalsIgnoringCase(line, ":ENDITEM")) ended = true;
      else applyItemLine(line, &item, &named);
    }
    if (!ended) break;  // the end of the text inside an item drops that item
    if (items.size() >= kTextureGroupMaxItems) return false;
    previousName = item.name;
    items.push_back(std::move(item));
  }
  group->writeable = writeable;
  group->items = std::move(items);
  return true;
}

bool textureGroupRead(const std::string& path, TextureGroup* group) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::string text;
  char buffer[16384];
  size_t n;
  bool ok = true;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (text.size() + n > kTextureGroupMaxBytes) {
      ok = false;
      break;
    }
    text.append(buffer, n);
  }
  ok = ok && !std::ferror(f);
  std::fclose(f);
  return ok && textureGroupParse(text.data(), text.size(), group);
}

std::string textureGroupFormat(const TextureGroup& group, const TextureGroupStamp& stamp) {
  std::string out;
  appendLine(&out, kTextureGroupFirstLine);
  for (const char* c : kCommentLines) appendLine(&out, c);
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "Version=%d.%d%c\n", 16, 0, 'a');
  out.append(buffer);
  std::snprintf(buffer, sizeof buffer, "Itemcount=%d\n", int(group.items.size()));
  out.append(buffer);
  std::snprintf(buffer, sizeof buffer, "Writeable=%d\n", group.writeable ? 1 : 0);
  out.append(buffer);
  std::snprintf(buffer, sizeof buffer, "UpdateTimeDate=%24.24s\n", stamp.timeText.c_str());
  out.append(buffer);
  out.append("MachineName=").append(singleLine(stamp.owner)).push_back('\n');
  out.append("MachineOrganization=").append(singleLine(stamp.organization)).push_back('\n');
  appendLine(&out, kItemsBegin);
  for (const TextureItem& item : group.items) appendItem(&out, item);
  appendLine(&out, kItemsEnd);
  return out;
}

bool writeFileAtomically(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  const std::string temp = temporaryBeside(path);
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok || !replaceFile(temp, path)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool textureGroupWrite(const std::string& path, const TextureGroup& group, bool backup) {
  if (!group.writeable || path.empty() || group.items.size() > kTextureGroupMaxItems) return false;
  if (backup) {
    const std::string bak = path + ".bak";
    std::remove(bak.c_str());
    std::FILE* existing = std::fopen(path.c_str(), "rb");
    if (existing) {
      std::fclose(existing);
      if (!copyWhole(path, bak)) return false;
    }
  }
  return writeFileAtomically(path, textureGroupFormat(group, textureGroupStampNow()));
}

bool textureGroupFind(const TextureGroup& group, const std::string& nameOrIndex, size_t* index) {
  for (size_t i = 0; i < group.items.size(); ++i)
    if (equalsIgnoringCase(group.items[i].name, nameOrIndex.c_str())) {
      *index = i;
      return true;
    }
  if (nameOrIndex.empty() || nameOrIndex.size() > 9 ||
      nameOrIndex.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const size_t i = size_t(std::strtoul(nameOrIndex.c_str(), nullptr, 10));
  if (i >= group.items.size()) return false;
  *index = i;
  return true;
}

}  // namespace gw
