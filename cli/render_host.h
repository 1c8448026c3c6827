// A host for the plug-in inside this program: it builds the HostParams
// record, answers the callback codes as an animation editor would, keeps a
// copy of everything a build hands over, and logs every call.
//
//   RenderHost host;
//   host.showProgress = isatty(2);
//   runBuild(dialog, host.params(), 0);
//   writeGif(host.animation(), "out.gif", &error);
//
// Only one RenderHost can answer at a time: the callback has no user data,
// so the live host is registered while it exists.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/received_animation.h"

namespace gw::cli {

struct HostCallRecord {
  int32_t code = 0;
  int32_t a = 0;
  bool hadTask = false;
  std::string text;                // codes 3, 9, 10, 17, 19, 20, and the name code 16 asked for
  int64_t p = 0;                   // integer arguments (code 13's total, code 15's value)
  std::vector<uint8_t> record;     // the record passed with codes 1, 2, 5
};

class RenderHost {
 public:
  RenderHost();
  ~RenderHost();
  RenderHost(const RenderHost&) = delete;
  RenderHost& operator=(const RenderHost&) = delete;

  // The HostParams record handed to the plug-in (interface 0x1000).
  const uint8_t* params() const { return params_; }
  void setBackgroundAsIndex(bool asIndex);

  const ReceivedAnimation& animation() const { return animation_; }
  const std::vector<HostCallRecord>& calls() const { return calls_; }
  void clear();

  // Refusals a test can ask for: 0 from code 1/5, or from code 2 at this frame index.
  bool refuseTask = false;
  int refuseImageAt = -1;
  // Whether frames are copied as they arrive. Without copies, `onTaskDone`
  // must use them: it runs when the task ends well (code 4 with a = 1), the
  // last moment the plug-in's images are there; afterwards no frame holds
  // an image. A build's frames are then kept once, by the plug-in, not twice.
  bool copyFrames = true;
  std::function<void(const ReceivedAnimation&)> onTaskDone;
  // A progress bar on stderr from codes 10 and 13.
  bool showProgress = false;
  // The animation file this host picks when the plug-in asks for one (code
  // 16) without a name, as a user would in the host's file dialog; empty:
  // the user cancels. A request that names a file loads that file.
  std::string animationChoice;
  std::string animationError;  // why the last requested animation could not be decoded

 private:
  static int32_t callback(void* task, int32_t code, int32_t a, void* p);
  int32_t answer(void* task, int32_t code, int32_t a, void* p);
  void drawProgress(int32_t step, int64_t total);

  uint8_t params_[64] = {};
  ReceivedAnimation animation_;
  std::vector<HostCallRecord> calls_;
  std::vector<uint8_t> task_;
  std::string stage_;
  bool progressShown_ = false;
};

}  // namespace gw::cli
