#include "cli/render_host.h"

#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "cli/animation_file.h"
#include "protocol/host_protocol.h"
#include "platform/memory.h"
#include "platform/wire_pointer.h"

namespace gw::cli {
namespace {
RenderHost* g_live = nullptr;  // the host answering the plug-in's callback
}

RenderHost::RenderHost() {
  g_live = this;
  writeU16(params_ + host_params::kHostVersion, 0x1000);
  // This host counts time in hundredths of a second, as GIF files do.
  params_[host_params::kHostFlags] = host_params::kFlagDelaysInHundredths;
  writeU32(params_ + host_params::kCallback, wireFromPointer(reinterpret_cast<void*>(&RenderHost::callback)));
}

RenderHost::~RenderHost() {
  if (g_live == this) g_live = nullptr;
}

void RenderHost::setBackgroundAsIndex(bool asIndex) {
  params_[host_params::kHostFlags] =
      uint8_t(host_params::kFlagDelaysInHundredths | (asIndex ? host_params::kFlagBackgroundAsIndex : 0));
}

void RenderHost::clear() {
  animation_ = ReceivedAnimation{};
  calls_.clear();
  task_.clear();
}

int32_t RenderHost::callback(void* task, int32_t code, int32_t a, void* p) {
  // The plug-in calls in through a C interface: a copy that runs out of
  // memory is a refusal, never an exception thrown back through the build.
  try {
    return g_live ? g_live->answer(task, code, a, p) : 0;
  } catch (...) {
    return 0;
  }
}

int32_t RenderHost::answer(void* task, int32_t code, int32_t a, void* p) {
  HostCallRecord call;
  call.code = code;
  call.a = a;
  call.hadTask = task != nullptr;
  switch (code) {
    case kHostComment:
    case kHostHelp:
    case kHostStage:
    case kHostSetting:
    case kHostBeforeFileDialog:
    case kHostAfterFileDialog:
      if (p) call.text = static_cast<const char*>(p);
      break;
    case kHostProgress:
    case kHostBackground:
      call.p = int64_t(reinterpret_cast<intptr_t>(p));
      break;
    default:
      break;
  }
  int32_t result = 0;
  switch (code) {
    case kHostNewTask:
    case kHostNewTestTask: {
      const auto* rec = static_cast<const uint8_t*>(p);
      call.record.assign(rec, rec + task_record::kSize);
      if (refuseTask) break;
      animation_ = ReceivedAnimation{};
      animation_.testTask = code == kHostNewTestTask;
      animation_.colourBits = readU32(rec + task_record::kColourBits);
      animation_.width = readI32(rec + task_record::kWidth);
      animation_.height = readI32(rec + task_record::kHeight);
      std::memcpy(animation_.palette, rec + task_record::kPalette, 768);
      animation_.frameCount = readU32(rec + task_record::kFrameCount);
      animation_.taskTransparentIndex = readI32(rec + task_record::kTransparentIndex);
      result = 1;
      break;
    }
    case kHostAddImage: {
      const auto* rec = static_cast<const uint8_t*>(p);
      call.record.assign(rec, rec + image_record::kSize);
      int32_t index = readI32(rec + image_record::kIndex);
      if (index == refuseImageAt) break;
      ReceivedFrame frame;
      frame.delay = readI32(rec + image_record::kDelay);
      frame.index = index;
      frame.transparentIndex = readI32(rec + image_record::kTransparentIndex);
      frame.transparent = readU32(rec + image_record::kTransparent) != 0;
      const MemHandle image = readU32(rec + image_record::kImage);
      MemLock lock(image);
      if (!lock || lock.size() < 16) break;
      frame.bits = lock.data()[14] | (lock.data()[15] << 8);
      if (copyFrames) frame.dib.assign(lock.data(), lock.data() + lock.size());
      else frame.image = image;
      animation_.frames.push_back(std::move(frame));
      result = 1;
      break;
    }
    case kHostComment:
      animation_.hasComment = true;
      animation_.comment = call.text;
      result = 1;
      break;
    case kHostEndTask:
      animation_.ended = true;
      animation_.succeeded = a == 1;
      if (animation_.succeeded && onTaskDone) onTaskDone(animation_);
      for (ReceivedFrame& f : animation_.frames) f.image = 0;  // the plug-in frees them now
      if (progressShown_) std::fprintf(stderr, "\r%-60s\r", "");
      progressShown_ = false;
      break;
    case kHostBackground:
      animation_.backgroundKind = a;
      animation_.background = uint32_t(call.p);
      break;
    case kHostStage:
      stage_ = call.text;
      if (showProgress) drawProgress(0, 0);
      break;
    case kHostProgress:
      if (showProgress && (a != 0 || call.p != 0)) drawProgress(a, call.p);
      break;
    case kHostAnimation: {
      auto* rec = static_cast<uint8_t*>(p);
      if (!rec) break;
      uint8_t* field = rec + animation_request::kName;
      std::string name(reinterpret_cast<const char*>(field), fixedTextLength(field, animation_request::kNameWidth));
      call.text = name;
      if (name.empty()) name = animationChoice;
      if (name.empty()) break;
      animationError.clear();
      MemHandle block = decodeAnimationFile(name, &animationError);
      if (!block) {
        animationError = name + ": " + animationError;
        break;
      }
      writeFixedText(field, animation_request::kNameWidth, name.c_str());
      result = int32_t(block);
      break;
    }
    case kHostFileDialogSize:
      if (p) {
        writeI32(static_cast<uint8_t*>(p), 800);
        writeI32(static_cast<uint8_t*>(p) + 4, 600);
      }
      result = 1;
      break;
    default:
      break;
  }
  calls_.push_back(std::move(call));
  return result;
}

void RenderHost::drawProgress(int32_t step, int64_t total) {
  const int width = 30;
  int filled = total > 0 ? int((int64_t(step) + 1) * width / total) : 0;
  if (filled > width) filled = width;
  std::string bar(size_t(filled), '#');
  bar.resize(width, '.');
  std::fprintf(stderr, "\r%-18s [%s] %d/%lld", stage_.c_str(), bar.c_str(), total > 0 ? step + 1 : 0,
               static_cast<long long>(total));
  std::fflush(stderr);
  progressShown_ = true;
}

}  // namespace gw::cli
