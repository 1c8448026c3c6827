// "Neural Network": `Density` nodes placed by the seed, each a shaded ball of
// radius `Size` (`Shade`, `Glare`, colours 1-5), linked to the nodes within
// `Matrix` % of the canvas diagonal. Bright pulses run along the links, each
// a whole number of trips per loop, and a node glows as a pulse reaches it.
// The network stands behind the text on a dark night, or on the page's
// background when `FrameBackground` is on.
#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/aa_shapes.h"
#include "effects/object_effects.h"
#include "effects/object_paint.h"
#include "effects/object_scene.h"
#include "effects/seeded_scatter.h"
#include "effects/shaded_sphere.h"
#include "resource_ids.h"

namespace gw {
namespace {

constexpr StylePage kNetworkStyle = {310, 0, 342, 0, 347, 345, 351, 349, 339, 340, 312};
constexpr uint32_t kFrameBackground = 314, kGlare = 315, kDensity = 317, kColour1 = 319, kMatrix = 329,
                   kShade = 331, kSeed = 333, kSize = 335, kFrames = 337, kShadowColour = 343;
constexpr uint32_t kNight = 0x2A140A;  // a deep blue-black
// A node keeps its nearest links only: a dense, wide matrix would otherwise
// draw a solid web and cost the square of the nodes.
constexpr size_t kMaxLinksPerNode = 6;

struct Node {
  double x = 0, y = 0;
  uint32_t colour = 0;
};

struct Link {
  size_t from = 0, to = 0;
  int64_t trips = 1;
  double phase = 0;
};

// How near a pulse on a link is to its end (1 arriving now, 0 far).
double arrival(double progress) {
  const double d = std::min(1.0 - progress, progress);  // the cyclic distance to the end
  return std::max(0.0, 1.0 - d / 0.12);
}

class NetworkScene : public ObjectScene {
 public:
  explicit NetworkScene(const DialogFacade& d)
      : glare_(controlNumber(d, kGlare, 0, 255, 70)),
        density_(controlNumber(d, kDensity, 1, 1000, 55)),
        matrix_(controlNumber(d, kMatrix, 1, 100, 10)),
        shade_(controlNumber(d, kShade, 0, 255, 70)),
        seed_(controlNumber(d, kSeed, 0, 32767, 12055)),
        size_(controlNumber(d, kSize, 1, 500, 11)),
        colours_(readObjectColours(d, kColour1)) {}

  bool prepare(const StyledLine&, const FrameComposer& composer, int32_t frames) override {
    frames_ = frames;
    w_ = composer.width();
    h_ = composer.height();
    EffectRandom random{uint32_t(seed_)};
    nodes_.resize(size_t(density_));
    for (Node& n : nodes_) {
      n.x = randomIn(random, 0, w_);
      n.y = randomIn(random, 0, h_);
      n.colour = colours_[size_t(randomIndex(random, int32_t(colours_.size())))];
    }
    const double reach = matrix_ / 100.0 * std::hypot(double(w_), double(h_));
    for (size_t i = 0; i < nodes_.size(); ++i) {
      std::vector<std::pair<double, size_t>> near;
      for (size_t j = 0; j < nodes_.size(); ++j) {
        const double d = std::hypot(nodes_[i].x - nodes_[j].x, nodes_[i].y - nodes_[j].y);
        if (j != i && d <= reach) near.emplace_back(d, j);
      }
      std::sort(near.begin(), near.end());
      if (near.size() > kMaxLinksPerNode) near.resize(kMaxLinksPerNode);
      for (const auto& [d, j] : near) {
        if (j < i && linked(j, i)) continue;
        Link l;
        // The pulse runs either way along the link.
        const bool reverse = randomIn(random, 0, 1) < 0.5;
        l.from = reverse ? j : i;
        l.to = reverse ? i : j;
        l.trips = turnsFor(randomIn(random, 18, 40), frames);
        l.phase = randomIn(random, 0, 1);
        links_.push_back(l);
      }
    }
    return true;
  }

  bool ground(FrameLayer& layer, int64_t k) const override {
    ShapePath path;
    std::vector<double> glow(nodes_.size(), 0.0);
    const double thick = std::max(0.8, size_ * 0.12);
    // The links, faint, in the mean of their ends' colours.
    for (const Link& l : links_) {
      const Node &a = nodes_[l.from], &b = nodes_[l.to];
      path.clear();
      addStroke(path, {a.x, a.y}, {b.x, b.y}, thick);
      ShapeCoverage cover;
      if (!rasterise(path, &cover, w_, h_)) return false;
      paintCoverage(layer, cover, mixed(a.colour, b.colour, 0.5), 110);
    }
    // The pulses: a bright bead with a soft halo, brightest mid-way.
    for (const Link& l : links_) {
      const Node &a = nodes_[l.from], &b = nodes_[l.to];
      const double p = loopPhase(l.trips, l.phase, k, frames_);
      glow[l.to] = std::max(glow[l.to], arrival(p));
      const double x = a.x + (b.x - a.x) * p, y = a.y + (b.y - a.y) * p;
      const double r = std::clamp(size_ * 0.35, 1.2, 10.0);
      SphereLook halo;
      halo.colour = mixed(b.colour, 0xFFFFFF, 0.5);
      halo.shade = 0;
      halo.glare = 0;
      paintShadedSphere(layer, x, y, r * 1.3, halo, r * 1.6, 150);
      path.clear();
      addDisc(path, {x, y}, r * 0.7);
      ShapeCoverage core;
      if (!rasterise(path, &core, w_, h_)) return false;
      paintCoverage(layer, core, 0xFFFFFF, 230);
    }
    for (size_t i = 0; i < nodes_.size(); ++i) {
      SphereLook look;
      look.colour = nodes_[i].colour;
      look.shade = uint8_t(shade_);
      look.glare = uint8_t(glare_);
      look.glow = uint8_t(std::lround(200 * glow[i]));
      paintShadedSphere(layer, nodes_[i].x, nodes_[i].y, size_, look);
    }
    return true;
  }

 private:
  bool linked(size_t a, size_t b) const {
    for (const Link& l : links_)
      if ((l.from == a && l.to == b) || (l.from == b && l.to == a)) return true;
    return false;
  }

  int32_t glare_, density_, matrix_, shade_, seed_, size_;
  std::vector<uint32_t> colours_;
  int32_t w_ = 0, h_ = 0;
  std::vector<Node> nodes_;
  std::vector<Link> links_;
  int32_t frames_ = 1;
};

std::unique_ptr<ObjectScene> makeNetwork(const DialogFacade& d) { return std::make_unique<NetworkScene>(d); }

// Without `FrameBackground` the network stands on the night.
void nightUnlessFramed(const DialogFacade& dialog, TextStyle& style) {
  if (!dialog.checked(kFrameBackground) && !style.alphaBackground) style.backgroundMaterial = plainMaterial(kNight);
}

constexpr ObjectPage kNetworkPage = {kNetworkStyle, kShadowColour, 0x7F7F7F, kFrames, 64, &nightUnlessFramed};

}  // namespace

int neuralNetworkPreview(EffectContext& ctx) { return objectPreview(ctx, kNetworkPage, &makeNetwork); }
int neuralNetworkBuild(EffectContext& ctx) { return objectBuild(ctx, kNetworkPage, &makeNetwork); }
int32_t neuralNetworkQueryBackground(DialogFacade& window, int flag) {
  if (flag) return -1;
  if (!window.checked(kFrameBackground) &&
      !(window.checked(IDC_ALPHA_TRANSPARENCY) && window.checked(IDC_ALPHA_BACKGROUND)))
    return int32_t(kNight);
  return queryBackgroundFromButton(window, 0, kNetworkStyle.backgroundMaterial, false);
}
MemHandle neuralNetworkFrame(const DialogFacade& dialog, int64_t k, bool alphaMask) {
  return objectFrame(dialog, kNetworkPage, &makeNetwork, k, alphaMask);
}

}  // namespace gw
