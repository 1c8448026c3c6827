#include "materials/gimp_gradient.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/fountain_fit.h"
#include "materials/fountain_record.h"

namespace gw {
namespace {

constexpr double kEpsilon = 1e-10;
constexpr double kPi = 3.14159265358979323846;

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Reads up to `max` numbers separated by blanks; the count read, or -1 when
// something that is not a number stands in the line.
int readNumbers(const std::string& line, double* out, int max) {
  const char* p = line.c_str();
  int n = 0;
  while (true) {
    while (*p == ' ' || *p == '\t' || *p == '\r') ++p;
    if (!*p) return n;
    if (n == max) return -1;
    char* end = nullptr;
    double v = std::strtod(p, &end);
    if (end == p || !std::isfinite(v)) return -1;
    out[n++] = v;
    p = end;
  }
}

double linearFactor(double middle, double pos) {
  if (pos <= middle) return middle < kEpsilon ? 0.0 : 0.5 * pos / middle;
  pos -= middle;
  middle = 1.0 - middle;
  return middle < kEpsilon ? 1.0 : 0.5 + 0.5 * pos / middle;
}

void rgbToHsv(const double* rgb, double* hsv) {
  double mx = std::max({rgb[0], rgb[1], rgb[2]}), mn = std::min({rgb[0], rgb[1], rgb[2]});
  double d = mx - mn;
  hsv[2] = mx;
  hsv[1] = mx > 0 ? d / mx : 0;
  double h = 0;
  if (d > 0) {
    if (mx == rgb[0]) h = (rgb[1] - rgb[2]) / d;
    else if (mx == rgb[1]) h = 2 + (rgb[2] - rgb[0]) / d;
    else h = 4 + (rgb[0] - rgb[1]) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  hsv[0] = h;
}

void hsvToRgb(const double* hsv, double* rgb) {
  double h = hsv[0] * 6, s = hsv[1], v = hsv[2];
  if (h >= 6) h -= 6;
  int i = int(std::floor(h));
  double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  const double table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
  for (int c = 0; c < 3; ++c) rgb[c] = table[std::clamp(i, 0, 5)][c];
}

// The colour of one segment at t, which may lie on either of its ends.
void segmentColour(const GimpGradientSegment& s, double t, double rgb[3]) {
  double length = s.right - s.left, middle, pos;
  if (length < kEpsilon) {
    middle = 0.5;
    pos = 0.5;
  } else {
    middle = (s.middle - s.left) / length;
    pos = std::clamp((t - s.left) / length, 0.0, 1.0);
  }
  double factor;
  switch (s.blending) {
    case 1:  // curved
      // A middle at the segment's right end would make the exponent infinite.
      factor = std::pow(pos, std::log(0.5) / std::log(std::clamp(middle, kEpsilon, 1 - kEpsilon)));
      break;
    case 2:  // sine
      factor = (std::sin(-kPi / 2 + kPi * linearFactor(middle, pos)) + 1) / 2;
      break;
    case 3: {  // sphere increasing
      double f = linearFactor(middle, pos) - 1;
      factor = std::sqrt(std::max(0.0, 1 - f * f));
      break;
    }
    case 4: {  // sphere decreasing
      double f = linearFactor(middle, pos);
      factor = 1 - std::sqrt(std::max(0.0, 1 - f * f));
      break;
    }
    case 5:  // step
      factor = pos >= middle ? 1 : 0;
      break;
    default:
      factor = linearFactor(middle, pos);
      break;
  }
  // Every law gives 0 to 1 on sound numbers; whatever a file's extremes make
  // of them stays a colour between the segment's ends.
  factor = factor > 0 ? std::min(factor, 1.0) : 0;
  if (s.colouring == 0) {
    for (int c = 0; c < 3; ++c) rgb[c] = s.leftColour[c] + (s.rightColour[c] - s.leftColour[c]) * factor;
    return;
  }
  double a[3], b[3], hsv[3];
  rgbToHsv(s.leftColour, a);
  rgbToHsv(s.rightColour, b);
  hsv[1] = a[1] + (b[1] - a[1]) * factor;
  hsv[2] = a[2] + (b[2] - a[2]) * factor;
  if (s.colouring == 1) {  // hue turning counter-clockwise
    hsv[0] = a[0] < b[0] ? a[0] + (b[0] - a[0]) * factor : a[0] + (1 - (a[0] - b[0])) * factor;
    if (hsv[0] > 1) hsv[0] -= 1;
  } else {
    hsv[0] = b[0] < a[0] ? a[0] - (a[0] - b[0]) * factor : a[0] - (1 - (b[0] - a[0])) * factor;
    if (hsv[0] < 0) hsv[0] += 1;
  }
  hsvToRgb(hsv, rgb);
}

const GimpGradientSegment& segmentAt(const GimpGradient& g, double t) {
  for (const GimpGradientSegment& s : g.segments)
    if (t >= s.left && t <= s.right) return s;
  // A gap between segments: the last one starting before t.
  const GimpGradientSegment* best = &g.segments.front();
  for (const GimpGradientSegment& s : g.segments)
    if (s.left <= t) best = &s;
  return *best;
}

uint32_t packColour(const double rgb[3]) {
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) out |= uint32_t(std::clamp(int(rgb[c] * 255 + 0.5), 0, 255)) << (8 * c);
  return out;
}

}  // namespace

bool parseGimpGradient(const std::string& text, GimpGradient* out, std::string* error) {
  std::vector<std::string> lines = splitLines(text);
  while (!lines.empty() && trim(lines.back()).empty()) lines.pop_back();
  size_t at = 0;
  auto fault = [&](const std::string& what) {
    *error = "line " + std::to_string(at + 1) + ": " + what;
    return false;
  };
  if (lines.empty() || trim(lines[0]) != "GIMP Gradient") return fault("not a GIMP gradient (no \"GIMP Gradient\" header)");
  GimpGradient g;
  at = 1;
  if (at < lines.size() && trim(lines[at]).compare(0, 5, "Name:") == 0) g.name = trim(trim(lines[at++]).substr(5));
  if (at >= lines.size()) return fault("the segment count is missing");
  double countValue = 0;
  const std::string countText = trim(lines[at]);
  if (readNumbers(countText, &countValue, 1) != 1 || countValue < 1 || countValue != std::floor(countValue) ||
      countText.find_first_not_of("0123456789") != std::string::npos)
    return fault("bad segment count '" + countText + "'");
  if (countValue > double(kGimpGradientMaxSegments))
    return fault("more than " + std::to_string(kGimpGradientMaxSegments) + " segments");
  const size_t count = size_t(countValue);
  if (lines.size() - at - 1 < count) {
    at = lines.size() - 1;
    return fault("the file ends before its " + std::to_string(count) + " segments");
  }
  g.segments.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    ++at;
    double v[15];
    int n = readNumbers(lines[at], v, 15);
    if (n != 13 && n != 15) return fault("a segment needs 13 or 15 numbers");
    GimpGradientSegment s;
    s.left = v[0];
    s.middle = v[1];
    s.right = v[2];
    if (!(s.left >= 0 && s.left <= s.middle && s.middle <= s.right && s.right <= 1))
      return fault("segment positions must run 0 <= left <= middle <= right <= 1");
    // Segments follow one another; one that starts inside the one before
    // would give the ramp two colours at once (a file's own rounding aside).
    if (!g.segments.empty() && s.left < g.segments.back().right - 1e-6)
      return fault("segments must be in order");
    for (int c = 0; c < 4; ++c) {
      s.leftColour[c] = std::clamp(v[3 + c], 0.0, 1.0);
      s.rightColour[c] = std::clamp(v[7 + c], 0.0, 1.0);
    }
    if (v[11] != std::floor(v[11]) || v[11] < 0 || v[11] > 5) return fault("unknown blending type");
    if (v[12] != std::floor(v[12]) || v[12] < 0 || v[12] > 2) return fault("unknown colour model");
    s.blending = int(v[11]);
    s.colouring = int(v[12]);
    g.segments.push_back(s);
  }
  *out = std::move(g);
  return true;
}

void gimpGradientColourAt(const GimpGradient& g, double t, double rgb[3]) {
  rgb[0] = rgb[1] = rgb[2] = 0;
  if (g.segments.empty()) return;
  segmentColour(segmentAt(g, std::clamp(t, 0.0, 1.0)), std::clamp(t, 0.0, 1.0), rgb);
}

FountainFit fountainFromGimpGradient(const GimpGradient& g, uint8_t* f) {
  uint32_t samples[256];
  std::vector<FountainEdge> edges;
  for (int k = 0; k < 256; ++k) {
    double rgb[3];
    gimpGradientColourAt(g, k / 255.0, rgb);
    samples[k] = packColour(rgb);
  }
  for (size_t i = 0; i + 1 < g.segments.size(); ++i) {
    const double b = g.segments[i].right;
    double before[3], after[3];
    segmentColour(g.segments[i], b, before);
    segmentColour(g.segments[i + 1], g.segments[i + 1].left, after);
    edges.push_back({int(b * 255 + 0.5), packColour(before), packColour(after)});
  }
  if (g.segments.empty()) {
    fountainRecordDefaults(f, FountainPreset::Empty);
    return FountainFit{};
  }
  return fountainFitSamples(samples, edges, f);
}

}  // namespace gw
