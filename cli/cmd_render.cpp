// `glyphwright render`: builds an animation with the plug-in's own pipeline
// from the in-memory dialog and writes what the host receives as a GIF, an
// animated WebP or numbered PNG files.
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/animation_file.h"
#include "cli/command.h"
#include "cli/dialog_session.h"
#include "cli/gif_writer.h"
#include "cli/output_file.h"
#include "cli/render_host.h"
#include "cli/render_options.h"
#include "cli/truecolour_writers.h"
#include "effects/effect_table.h"
#include "host/build_pipeline.h"
#include "platform/message_dialog.h"
#include "resource_ids.h"
#include "settings/settings_record.h"
#include "settings/settings_table.h"

namespace gw::cli {
namespace {

enum class Target { kGif, kWebp, kPng, kUnknown };

Target targetOf(const std::string& path) {
  auto endsWith = [&](const char* ext) {
    std::string e = ext;
    if (path.size() < e.size()) return false;
    std::string tail = path.substr(path.size() - e.size());
    for (char& c : tail) c = char(std::tolower(static_cast<unsigned char>(c)));
    return tail == e;
  };
  if (endsWith(".gif")) return Target::kGif;
  if (endsWith(".webp")) return Target::kWebp;
  if (endsWith(".png")) return Target::kPng;
  return Target::kUnknown;
}

long fileBytes(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  std::fseek(f, 0, SEEK_END);
  long n = std::ftell(f);
  std::fclose(f);
  return n;
}

// An effect may make fewer frames than its frame count asks for ("Simple"
// makes at most two for each pixel its text travels); asked for on the
// command line, the user hears what was made.
void warnFewerFrames(const RenderOptions& options, size_t made) {
  const EffectRow& row = effectRow(clampEffectIndex(settings().MainEffect));
  const std::string key = effectKeyPrefix(row) + "Frames";
  bool asked = options.frames.has_value();
  for (const auto& set : options.sets) asked = asked || set.first == key;
  const int32_t* wanted = settingNumber(settings(), key.c_str());
  if (!asked || !wanted || made == 0 || int64_t(made) >= int64_t(*wanted)) return;
  warn(key + " " + std::to_string(*wanted) + ": \"" + row.name + "\" made " + std::to_string(made) +
       " frames, the most it makes of this text");
}

}  // namespace

int runRender(const std::vector<std::string>& args) {
  const Command& self = *findCommand("render");
  RenderOptions options;
  std::string error;
  if (!parseRenderOptions(args, &options, &error)) return usageError(self, error);
  Target target = targetOf(options.output);
  if (target == Target::kUnknown) return usageError(self, "the output must end in .gif, .webp or .png");
  // A document says itself which palette and colours it builds with.
  if (options.document.empty()) applyOutputDefaults(&options);
  // Before any work: an output that cannot be written is known now.
  if (!canWriteBeside(options.output, &error)) return fail(error);

  RenderHost host;
  if (!chooseAnimation(&options, &host, &error)) return fail(error);
  host.showProgress = options.progress && isatty(STDERR_FILENO);
  DialogSession session;
  if (!session.prepare(options, host.params(), &error)) return fail(error);
  InMemoryDialog& dialog = session.dialog();
  if (target == Target::kGif && (dialog.checked(IDC_TRUE_COLOUR) || dialog.checked(IDC_ALPHA_TRANSPARENCY)) &&
      !options.test)
    return fail("a true-colour or alpha build cannot be a GIF: write .webp or .png");

  // The plug-in's message boxes become the command's error line.
  std::string message;
  setMessageResponder([&](const std::string&, const std::string& text) {
    if (message.empty()) message = text;
    return 1;
  });
  // A GIF is written as the task ends, from the plug-in's own frames: the
  // host keeps no second copy of them.
  bool written = false;
  if (target == Target::kGif) {
    host.copyFrames = false;
    host.onTaskDone = [&](const ReceivedAnimation& a) {
      if (!options.test) warnFewerFrames(options, a.frames.size());
      try {
        written = writeGif(a, options.output, &error);
      } catch (...) {
        error = options.output + ": out of memory";
      }
    };
  }
  int built = runBuild(dialog, host.params(), options.test ? 1 : 0);
  setMessageResponder(nullptr);
  if (!built) return fail(message.empty() ? std::string("the build failed") : message);
  if (target == Target::kGif && !written) return fail(error.empty() ? std::string("the build failed") : error);
  // The build goes on without an animation it cannot read, as the plug-in
  // does in a host; on the command line that must not pass unnoticed.
  if (!host.animationError.empty()) warn("the animation was not used: " + host.animationError);

  const ReceivedAnimation& animation = host.animation();
  if (target != Target::kGif && !options.test) warnFewerFrames(options, animation.frames.size());
  switch (target) {
    case Target::kGif: break;
    case Target::kWebp: written = writeAnimatedWebp(animation, options.output, &error); break;
    case Target::kPng: written = writePngSequence(animation, options.output, &error); break;
    case Target::kUnknown: break;
  }
  if (!written) return fail(error);

  std::string colours = hasTrueColourFrames(animation) ? std::string("true colour")
                                                 : std::to_string(animation.colourBits) + "-bit palette";
  if (target == Target::kPng) {
    std::printf("%s ... %s: %zu frames, %d x %d, %s\n", pngSequenceName(options.output, 0).c_str(),
                pngSequenceName(options.output, animation.frames.size() - 1).c_str(), animation.frames.size(),
                int(animation.width), int(animation.height), colours.c_str());
  } else {
    std::printf("%s: %zu frames, %d x %d, %s, %ld bytes\n", options.output.c_str(), animation.frames.size(),
                int(animation.width), int(animation.height), colours.c_str(), fileBytes(options.output));
  }
  return kExitOk;
}

}  // namespace gw::cli
