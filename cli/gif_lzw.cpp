#include "cli/gif_lzw.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace gw::cli {
namespace {

constexpr int kMaxCodes = kLzwMaxCodes;
// How many codes the "clear when worse" policy counts before it judges the
// full table again: short enough to notice the statistics change within a
// line or two of a frame.
constexpr size_t kWindowCodes = 256;

// What to do once the table holds 4096 codes and no entry can be added.
enum class TablePolicy {
  kClearWhenFull,   // start over at once: what most coders do
  kClearWhenWorse,  // keep the full table while it codes about as well as it did when it filled
};

// Packs codes least significant bit first into 255-byte sub-blocks.
class BitWriter {
 public:
  void put(int code, int width) {
    acc_ |= uint64_t(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      byte(uint8_t(acc_));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }
  std::vector<uint8_t> finish() {
    if (bits_ > 0) byte(uint8_t(acc_));
    if (!block_.empty()) flushBlock();
    out_.push_back(0);
    return std::move(out_);
  }
  size_t size() const { return out_.size() + block_.size(); }

 private:
  void byte(uint8_t b) {
    block_.push_back(b);
    if (block_.size() == 255) flushBlock();
  }
  void flushBlock() {
    out_.push_back(uint8_t(block_.size()));
    out_.insert(out_.end(), block_.begin(), block_.end());
    block_.clear();
  }
  uint64_t acc_ = 0;
  int bits_ = 0;
  std::vector<uint8_t> block_;
  std::vector<uint8_t> out_;
};

// The string table as (prefix code, byte) -> code. A table holds at most
// 4096 entries, so an open-addressed hash of twice that many slots finds them
// in a block small enough to stay in the nearest caches, where a flat array
// over every (prefix, byte) pair would take 2 MiB and miss on most lookups.
// Each code also remembers its prefix and last byte, so the pixels of a
// string can be read back from its code.
class CodeTable {
 public:
  CodeTable() {
    slots_.fill(kEmpty);
    prefix_.fill(-1);
    byte_.fill(0);
    used_.reserve(kMaxCodes);
  }
  int find(int prefix, int byte) const {
    const uint32_t key = keyOf(prefix, byte);
    for (uint32_t at = slotOf(key);; at = (at + 1) & (kSlots - 1)) {
      const uint32_t slot = slots_[at];
      if (slot == kEmpty) return -1;
      if (slot >> 12 == key) return int(slot & 0xFFF);
    }
  }
  void add(int prefix, int byte, int code) {
    const uint32_t key = keyOf(prefix, byte);
    // A string coded shorter than the longest can add an entry the table
    // already has. The older code keeps answering for it: the longer strings
    // already learnt from it stay reachable, where the newer would have none.
    uint32_t at = slotOf(key);
    while (slots_[at] != kEmpty && slots_[at] >> 12 != key) at = (at + 1) & (kSlots - 1);
    if (slots_[at] == kEmpty) {
      slots_[at] = key << 12 | uint32_t(code);
      used_.push_back(at);
    }
    prefix_[size_t(code)] = int16_t(prefix);
    byte_[size_t(code)] = uint8_t(byte);
  }
  void clear() {
    for (uint32_t at : used_) slots_[at] = kEmpty;
    used_.clear();
  }
  // Codes below the clear code are the single values themselves.
  int prefixOf(int code, int clearCode) const { return code < clearCode ? -1 : prefix_[size_t(code)]; }
  int byteOf(int code, int clearCode) const { return code < clearCode ? code : byte_[size_t(code)]; }

 private:
  // A slot holds the key (prefix code and byte, 20 bits) above the code (12 bits).
  static constexpr uint32_t kSlots = 2 * kMaxCodes;
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  static uint32_t keyOf(int prefix, int byte) { return uint32_t(prefix) << 8 | uint32_t(byte); }
  static uint32_t slotOf(uint32_t key) { return (key * 2654435761u) >> 19; }  // the top 13 bits
  std::array<uint32_t, kSlots> slots_;
  std::array<int16_t, kMaxCodes> prefix_;
  std::array<uint8_t, kMaxCodes> byte_;
  std::vector<uint32_t> used_;
};

// How one coding pass chooses its strings.
struct PassOptions {
  TablePolicy policy = TablePolicy::kClearWhenFull;
  // Of two equally long strings through a free pixel, prefer the one that
  // stores the colour beneath (otherwise the transparent index) -- unless the
  // pixel before holds one of the two, in which case the run continues.
  bool shownFirst = false;
};

// A string found in the table: its code and how many pixels it covers.
struct Match {
  int code = -1;
  int length = 0;
  int first = -1;  // the first value
};

// One coding pass. Strings are found by a bounded depth-first search of the
// table, since a free pixel lets a string continue along either of two
// branches; the entry the previous code is about to add (the previous string
// followed by this string's first value) counts as present, as a decoder
// adds it before it reads the code that uses it. Each string is weighed
// against the one a value shorter by how far the string after it reaches.
class Pass {
 public:
  // `free`: per pixel, whether it is free (see isFree); read only when
  // `transparent` is not -1.
  Pass(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, const std::vector<uint8_t>& free,
       int transparent, int minCodeSize, const PassOptions& options, CodeTable& table)
      : input_(values), values_(values.data()), beneath_(beneath.data()), free_(free.data()), n_(values.size()),
        transparent_(transparent), options_(options), table_(table),
        clearCode_(1 << minCodeSize), minCodeSize_(minCodeSize) {}

  LzwImage run() {
    LzwImage out;
    out.stored = input_;
    const size_t n = n_;
    const int endCode = clearCode_ + 1;
    next_ = clearCode_ + 2;
    width_ = minCodeSize_ + 1;
    table_.clear();
    bits_.put(clearCode_, width_);
    size_t pixelsAtFull = 0, codesAtFull = 0, windowPixels = 0, windowCodes = 0;
    double fullRate = 0;
    int previous = -1;
    size_t i = 0;
    while (i < n) {
      if (previous >= 0 && next_ >= kMaxCodes) {
        bool clearNow = options_.policy == TablePolicy::kClearWhenFull;
        if (options_.policy == TablePolicy::kClearWhenWorse && windowCodes >= kWindowCodes) {
          double rate = double(windowPixels) / double(windowCodes);
          if (fullRate == 0) fullRate = codesAtFull ? double(pixelsAtFull) / double(codesAtFull) : rate;
          clearNow = rate < fullRate * 0.9;
          windowPixels = windowCodes = 0;
        }
        if (clearNow) {
          bits_.put(previous, width_);
          bits_.put(clearCode_, width_);
          table_.clear();
          next_ = clearCode_ + 2;
          width_ = minCodeSize_ + 1;
          fullRate = 0;
          previous = -1;
          ahead_ = Match{};
        }
      }
      const int pending = previous >= 0 && next_ < kMaxCodes ? previous : -1;
      Match m = choose(i, i > 0 ? out.stored[i - 1] : -1, pending);
      // The chosen string's pixels, read back from its code. The entry about
      // to be added is the previous string followed by its own first value.
      const bool usesPending = m.code == pendingCode_;
      int c = usesPending ? previous : m.code;
      int first = 0;
      for (size_t k = i + size_t(m.length) - (usesPending ? 1 : 0); c >= 0; c = table_.prefixOf(c, clearCode_)) {
        first = table_.byteOf(c, clearCode_);
        out.stored[--k] = uint8_t(first);
      }
      if (usesPending) out.stored[i + size_t(m.length) - 1] = uint8_t(first);
      if (previous >= 0) {
        bits_.put(previous, width_);
        ++windowCodes;
        if (next_ < kMaxCodes) {
          table_.add(previous, first, next_++);
          if (next_ > (1 << width_) && width_ < 12) ++width_;
          if (next_ == kMaxCodes) {
            pixelsAtFull = windowPixels;
            codesAtFull = windowCodes;
            windowPixels = windowCodes = 0;
          }
        }
      }
      windowPixels += size_t(m.length);
      previous = m.code;
      i += size_t(m.length);
    }
    if (previous >= 0) bits_.put(previous, width_);
    bits_.put(endCode, width_);
    out.blocks = bits_.finish();
    return out;
  }

 private:
  // Forks followed per search. Runs of free pixels where both values continue
  // the string fork at every pixel; past this the search keeps to the
  // preferred value, which costs little on real frames.
  static constexpr int kSearchBudget = 32;

  // The values pixel `i` may take: one, or two for a free pixel, preferred
  // first. `last`: the value stored before it on the way there, or -1.
  bool isFree(size_t i) const { return transparent_ >= 0 && free_[i] != 0; }
  int options(size_t i, int out[2], int last) const {
    const int v = values_[i];
    if (!isFree(i)) {
      out[0] = v;
      return 1;
    }
    bool shown = options_.shownFirst;
    if (last >= 0) {
      if (last == v) shown = false;
      else if (last == beneath_[i]) shown = true;
    }
    out[0] = shown ? beneath_[i] : v;
    out[1] = shown ? v : beneath_[i];
    return 2;
  }
  struct Node {
    int code, length, first;
  };

  // The code for `node`'s string followed by `value`, or -1. Besides the
  // table's own entries there are two a decoder will have added by the time
  // it reads this string's code: `learnt_`, and the entry `pending` makes
  // with this string's first value.
  int child(const Node& node, int value, int pending) const {
    if (node.code == pendingCode_) return -1;  // no longer strings yet
    int c = table_.find(node.code, value);
    if (c >= 0) return c;
    if (node.code == learnt_.prefix && value == learnt_.value) return learnt_.code;
    if (node.code == pending && value == node.first) return pendingCode_;
    return -1;
  }
  int lastValue(const Node& node) const {
    if (node.code == pendingCode_) return node.first;
    if (node.code == learnt_.code) return learnt_.value;
    return table_.byteOf(node.code, clearCode_);
  }

  // The longest string at `i`, after a pixel stored as `last` (-1: none).
  // `pending`: the code whose entry (it, then this string's first value) is
  // about to be added as `pendingCode_`, or -1.
  Match longest(size_t i, int last, int pending) const {
    if (transparent_ < 0) return longestFixed(i, pending);
    Node stack[kSearchBudget + 4];  // each fork adds one node, the start at most two
    int top = 0;
    int opts[2];
    int k = options(i, opts, last);
    for (int o = k - 1; o >= 0; --o) stack[top++] = Node{opts[o], 1, opts[o]};
    Match best;
    const size_t n = n_;
    // Only branches count against the budget, so a long run costs nothing extra.
    int branches = 0;
    while (top > 0) {
      Node node = stack[--top];
      // Most pixels are fixed: the string goes on without a fork, and with no
      // need to know the value before, until it ends or meets a free pixel.
      // (Only where it stops can it be the longest so far.)
      size_t at = i + size_t(node.length);
      while (at < n && !isFree(at)) {
        const int c = child(node, values_[at], pending);
        if (c < 0) break;
        node = Node{c, node.length + 1, node.first};
        ++at;
      }
      if (node.length > best.length) best = Match{node.code, node.length, node.first};
      if (at >= n || !isFree(at)) continue;
      k = options(at, opts, lastValue(node));
      if (k == 2 && ++branches > kSearchBudget) k = 1;
      for (int o = k - 1; o >= 0; --o) {
        int c = child(node, opts[o], pending);
        if (c >= 0) stack[top++] = Node{c, node.length + 1, node.first};
      }
    }
    return best;
  }

  // The same when no pixel is free: one way only, so no search.
  Match longestFixed(size_t i, int pending) const {
    const int first = values_[i];
    Node node{first, 1, first};
    for (size_t at = i + 1; at < n_; ++at) {
      const int c = child(node, values_[at], pending);
      if (c < 0) break;
      node = Node{c, node.length + 1, first};
    }
    return Match{node.code, node.length, first};
  }

  // The string to code at `i`: the longest, or one value shorter when that
  // lets the next string run further, so that the two together cover more
  // pixels. (Weighing yet shorter strings codes worse: they teach the table
  // shorter entries.)
  Match choose(size_t i, int last, int pending) {
    pendingCode_ = pending >= 0 ? next_ : -2;
    // The search that weighed the previous string has already gone from here
    // with the table as it is now.
    Match m = ahead_.length > 0 && aheadAt_ == i ? ahead_ : longest(i, last, pending);
    ahead_ = Match{};
    if (m.length < 2 || i + size_t(m.length) >= n_) return m;
    // Either string, once chosen, completes the pending entry with its first
    // value (the same for both); the next string may use the entry this one
    // then starts, whose code follows, if the table has room.
    const int savedPending = pendingCode_;
    if (pending >= 0) learnt_ = Learnt{pending, m.first, savedPending};
    const int afterCode = pending >= 0 ? next_ + 1 : next_;
    const bool room = afterCode < kMaxCodes;
    pendingCode_ = room ? afterCode : -2;
    auto following = [&](int code, int length, int lastValue) {
      return longest(i + size_t(length), lastValue, room ? code : -1);
    };
    // The shorter string's code; the pending entry's prefix is the previous string.
    const int shorter = m.code == savedPending ? pending : table_.prefixOf(m.code, clearCode_);
    const int lastOfLongest = m.code == savedPending ? m.first : table_.byteOf(m.code, clearCode_);
    Match next = following(m.code, m.length, lastOfLongest);
    const int viaShorter =
        shorter >= 0 ? m.length - 1 + following(shorter, m.length - 1, table_.byteOf(shorter, clearCode_)).length : 0;
    pendingCode_ = savedPending;
    learnt_ = Learnt{};
    if (viaShorter > m.length + next.length) return Match{shorter, m.length - 1, m.first};
    ahead_ = next;
    aheadAt_ = i + size_t(m.length);
    return m;
  }

  const std::vector<uint8_t>& input_;
  const uint8_t* const values_;
  const int16_t* const beneath_;  // not read when `transparent_` is -1
  const uint8_t* const free_;     // the same
  const size_t n_;
  const int transparent_;
  const PassOptions options_;
  CodeTable& table_;
  const int clearCode_;
  const int minCodeSize_;
  int next_ = 0;
  int width_ = 0;
  int pendingCode_ = -2;
  // An entry a decoder will have by then, though the table has not yet.
  struct Learnt {
    int prefix = -2, value = -1, code = -2;
  } learnt_;
  Match ahead_;          // the string found after the one just chosen
  size_t aheadAt_ = 0;  // where it starts
  BitWriter bits_;
};

}  // namespace

struct LzwWorkspace::Table : CodeTable {};

LzwWorkspace::LzwWorkspace() : table_(new Table) {}
LzwWorkspace::~LzwWorkspace() = default;

namespace {

// Whether each pixel is free, worked out once for every search of a frame.
std::vector<uint8_t> freePixels(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath,
                                int transparent) {
  std::vector<uint8_t> free;
  if (transparent < 0) return free;
  free.resize(values.size());
  for (size_t i = 0; i < values.size(); ++i)
    free[i] = values[i] == transparent && beneath[i] >= 0 && beneath[i] != transparent;
  return free;
}

// The two ways: leaning towards the transparent index and keeping the full
// table while it serves (the one way for a frame whose pixels are all
// fixed: it beats clearing at once on most such frames); leaning towards the
// colour shown, which pays with clearing the full table at once.
PassOptions optionsOf(LzwWay way) {
  return way == LzwWay::kShownLean ? PassOptions{TablePolicy::kClearWhenFull, true}
                                   : PassOptions{TablePolicy::kClearWhenWorse, false};
}

LzwImage encodeWay(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath,
                   const std::vector<uint8_t>& free, int transparent, int minCodeSize, LzwWay way, CodeTable& table) {
  if (transparent < 0) way = LzwWay::kTransparentLean;
  LzwImage out = Pass(values, beneath, free, transparent, minCodeSize, optionsOf(way), table).run();
  out.way = way;
  return out;
}

}  // namespace

LzwImage lzwEncodeWay(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                      int minCodeSize, LzwWay way, LzwWorkspace& workspace) {
  return encodeWay(values, beneath, freePixels(values, beneath, transparent), transparent, minCodeSize, way,
                   *workspace.table_);
}

LzwImage lzwEncodeBest(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                       int minCodeSize, LzwWorkspace& workspace) {
  const std::vector<uint8_t> free = freePixels(values, beneath, transparent);
  LzwImage best =
      encodeWay(values, beneath, free, transparent, minCodeSize, LzwWay::kTransparentLean, *workspace.table_);
  if (transparent < 0) return best;
  LzwImage other = encodeWay(values, beneath, free, transparent, minCodeSize, LzwWay::kShownLean, *workspace.table_);
  if (other.blocks.size() < best.blocks.size()) return other;
  return best;
}

LzwImage lzwEncodeBest(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                       int minCodeSize) {
  LzwWorkspace workspace;
  return lzwEncodeBest(values, beneath, transparent, minCodeSize, workspace);
}

}  // namespace gw::cli
