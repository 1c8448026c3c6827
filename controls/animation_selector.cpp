#include "controls/animation_selector.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "controls/animation_block.h"
#include "controls/animation_placeholder.h"
#include "controls/bound_control.h"
#include "platform/wire_pointer.h"
#include "protocol/host_protocol.h"

namespace gw {

const char kAnimationOpenFailedMessage[] = "The animation you have selected could not be opened.";

namespace {

constexpr size_t kStateAnimation = 0;
constexpr size_t kStatePath = 4;
constexpr size_t kStateSize = 8;
constexpr uint32_t kWmCommand = 0x0111;
const char kTag[] = "ANMCTL";

AnimationSelectorServices& services() {
  static AnimationSelectorServices s;
  return s;
}

struct State {
  MemHandle animation = 0;
  char* path = nullptr;
  uint32_t pathWire = 0;
};

bool readState(MemHandle h, State* out) {
  MemLock lock(h);
  if (!lock || lock.size() < kStateSize) return false;
  out->animation = readU32(lock.data() + kStateAnimation);
  out->pathWire = readU32(lock.data() + kStatePath);
  out->path = static_cast<char*>(pointerFromWire(out->pathWire));
  return true;
}

void writeAnimation(MemHandle h, MemHandle animation) {
  MemLock lock(h);
  if (lock && lock.size() >= kStateSize) writeU32(lock.data() + kStateAnimation, animation);
}

void storePath(const State& s, const std::string& path) {
  if (s.path) writeFixedText(reinterpret_cast<uint8_t*>(s.path), kBoundTextSize, path.c_str());
}

bool fileExists(const std::string& path) {
  if (path.empty()) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

void tell(WindowId owner, const char* text) {
  if (services().showMessage) services().showMessage(owner, text);
}

// Adopts a block from the host: a valid one replaces the current animation
// (and the path becomes the chosen one); an invalid one is discarded with
// the message. True when adopted.
bool adopt(MemHandle state, MemHandle block, const std::string& chosen, WindowId owner) {
  State s;
  if (!readState(state, &s)) {
    memFree(block);
    return false;
  }
  if (!animationValidate(block, nullptr)) {
    memFree(block);
    tell(owner, kAnimationOpenFailedMessage);
    return false;
  }
  memFree(s.animation);
  writeAnimation(state, block);
  storePath(s, chosen);
  return true;
}

// Without any animation the control shows the placeholder. The path is left
// as it is: a document naming a file that is gone keeps naming it.
void ensureSomeAnimation(MemHandle state) {
  State s;
  if (!readState(state, &s) || s.animation) return;
  const uint8_t flags = hostParamsRead(services().hostParams).hostFlags;
  const bool hundredths = (flags & host_params::kFlagDelaysInHundredths) != 0;
  writeAnimation(state, placeholderAnimation(services().highlightColour, hundredths));
}

}  // namespace

void setAnimationSelectorServices(const AnimationSelectorServices& s) { services() = s; }
const AnimationSelectorServices& animationSelectorServices() { return services(); }

MemHandle requestAnimation(const uint8_t* hostParams, WindowId owner, std::string* path) {
  uint8_t record[animation_request::kSize];
  animationRequestEncode(*path, owner, record);
  const auto answer = uint32_t(hostCall(hostParams, nullptr, kHostAnimation, 0, record));
  if (!answer) return 0;
  const uint8_t* name = record + animation_request::kName;
  path->assign(reinterpret_cast<const char*>(name), fixedTextLength(name, animation_request::kNameWidth));
  return MemHandle(answer);
}

MemHandle animationSelectorCreate() { return memAlloc(kStateSize); }

void animationSelectorDestroy(MemHandle state) {
  State s;
  if (readState(state, &s)) {
    memFree(s.animation);
    wireForget(s.pathWire);
  }
  memFree(state);
}

bool animationSelectorBind(MemHandle state, char* pathBuffer, WindowId owner) {
  State s;
  if (!readState(state, &s)) return false;
  {
    MemLock lock(state);
    wireForget(s.pathWire);
    writeU32(lock.data() + kStatePath, wireFromPointer(pathBuffer));
  }
  const std::string path = pathBuffer ? std::string(pathBuffer, fixedTextLength(reinterpret_cast<uint8_t*>(pathBuffer), kBoundTextSize)) : std::string();
  animationSelectorLoadPath(state, path, owner);
  ensureSomeAnimation(state);
  return true;
}

MemHandle animationSelectorAnimation(MemHandle state) {
  State s;
  return readState(state, &s) ? s.animation : 0;
}

std::string animationSelectorPath(MemHandle state) {
  State s;
  if (!readState(state, &s) || !s.path) return {};
  return std::string(s.path, fixedTextLength(reinterpret_cast<uint8_t*>(s.path), kBoundTextSize));
}

int32_t animationSelectorFrameCount(MemHandle state) {
  AnimationInfo info;
  return animationValidate(animationSelectorAnimation(state), &info) ? info.frames : 0;
}

MemHandle animationSelectorFrame(MemHandle state, int32_t index, int32_t* delay) {
  return animationFrame(animationSelectorAnimation(state), index, true, delay);
}

bool animationSelectorSelect(MemHandle state, WindowId owner) {
  // The stored path changes only with the animation: a cancelled or failed
  // choice keeps both, so the path always names what is shown.
  std::string chosen;
  MemHandle block = requestAnimation(services().hostParams, owner, &chosen);
  if (!block) return false;
  return adopt(state, block, chosen, owner);
}

bool animationSelectorLoadPath(MemHandle state, const std::string& path, WindowId owner) {
  State s;
  if (!readState(state, &s)) return false;
  storePath(s, path);
  if (!fileExists(path)) return false;
  std::string chosen = path.substr(0, kBoundTextSize - 1);
  MemHandle block = requestAnimation(services().hostParams, owner, &chosen);
  if (!block) return false;
  // A host that leaves the name empty has loaded the file it was given.
  return adopt(state, block, chosen.empty() ? path : chosen, owner);
}

std::string animationSelectorDocumentLine(MemHandle state, uint32_t id) {
  return std::string(kTag) + std::to_string(id) + "=" + animationSelectorPath(state);
}

bool animationSelectorApplyLine(MemHandle state, const std::string& line, WindowId owner) {
  if (line.size() < 6) return false;
  for (int i = 0; i < 6; ++i)
    if (std::toupper(static_cast<unsigned char>(line[size_t(i)])) != kTag[i]) return false;
  std::string path;
  if (!documentLineValue(line, &path)) return false;
  animationSelectorLoadPath(state, path, owner);
  ensureSomeAnimation(state);
  return true;
}

bool animationSelectorMessage(MemHandle* state, WindowId self, uint32_t id, uint32_t message, uintptr_t wParam,
                              intptr_t lParam, intptr_t* result, bool* selected) {
  *result = 0;
  *selected = false;
  switch (message) {
    case kMsgAnimationSelector:
      if (wParam == 0) {
        if (!*state) *state = animationSelectorCreate();
        *result = *state != 0;
      } else {
        *result = animationSelectorBind(*state, reinterpret_cast<char*>(lParam), self);
      }
      return true;
    case kMsgAnimationFrame: {
      auto* out = reinterpret_cast<int32_t*>(lParam);
      if (int32_t(wParam) == -1) {
        if (out) *out = animationSelectorFrameCount(*state);
        *result = 1;
        return true;
      }
      int32_t delay = 0;
      const MemHandle frame = animationSelectorFrame(*state, int32_t(wParam), &delay);
      if (frame && out) *out = delay;
      *result = intptr_t(frame);
      return true;
    }
    case kMsgWriteDocument: {
      if (!*state || !lParam) return true;
      // The document code inside the plug-in asks for the line as text; a
      // stream writer gets it appended to its file.
      if (wParam == 1) {
        *reinterpret_cast<std::string*>(lParam) = animationSelectorDocumentLine(*state, id);
      } else {
        std::string line = animationSelectorDocumentLine(*state, id) + "\n";
        std::fputs(line.c_str(), reinterpret_cast<FILE*>(lParam));
      }
      return true;
    }
    case kMsgReadDocument: {
      const char* line = reinterpret_cast<const char*>(lParam);
      *result = (line && *state && animationSelectorApplyLine(*state, line, self)) ? 1 : 0;
      return true;
    }
    case kWmCommand:
      if ((wParam & 0xFFFF) != kSelectButtonId || (wParam >> 16) != 0) return false;
      *selected = *state && animationSelectorSelect(*state, self);
      return true;
    case kMsgDestroy:
      animationSelectorDestroy(*state);
      *state = 0;
      return false;  // the standard procedure sees it too
    default:
      return false;
  }
}

}  // namespace gw
