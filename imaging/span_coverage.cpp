#include "imaging/span_coverage.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace gw {

SpanCoverage::SpanCoverage(const BitmapView& view, bool* ok) : view_(view) {
  if (view.valid() && view.height() > 0) rows_.reset(new (std::nothrow) Row[size_t(view.height())]);
  ok_ = rows_ != nullptr;
  if (ok) *ok = ok_;
}

SpanCoverage::~SpanCoverage() {
  if (!rows_) return;
  for (int32_t y = 0; y < view_.height(); ++y) std::free(rows_[y].bounds);
}

bool SpanCoverage::reserve(Row& row, int32_t intervals) {
  if (intervals <= row.capacity) return true;
  int32_t capacity = std::max(intervals, std::max(4, row.capacity * 2));
  void* grown = std::realloc(row.bounds, sizeof(int32_t) * 2 * size_t(capacity));
  if (!grown) return false;
  row.bounds = static_cast<int32_t*>(grown);
  row.capacity = capacity;
  return true;
}

void SpanCoverage::span(int32_t y, int32_t x0, int32_t x1) {
  if (!ok_ || y < 0 || y >= view_.height() || x0 >= x1) return;
  Row& row = rows_[y];
  // Worst case the new span joins nothing and adds one interval.
  if (!reserve(row, row.count + 1)) {
    ok_ = false;
    return;
  }
  int32_t* b = row.bounds;
  // Paint the gaps between painted intervals inside [x0, x1).
  int32_t at = x0;
  int32_t first = 0;
  while (first < row.count && b[2 * first + 1] < x0) ++first;  // intervals wholly left (not touching)
  int32_t last = first;
  while (last < row.count && b[2 * last] <= x1) {
    if (b[2 * last] > at) fillSpan(view_, y, at, std::min(b[2 * last], x1), colour_);
    at = std::max(at, b[2 * last + 1]);
    ++last;
  }
  if (at < x1) fillSpan(view_, y, at, x1, colour_);
  // Intervals first .. last - 1 touch or overlap [x0, x1): merge them into one.
  int32_t begin = x0, end = x1;
  if (last > first) {
    begin = std::min(begin, b[2 * first]);
    end = std::max(end, b[2 * (last - 1) + 1]);
  }
  const int32_t removed = last - first;
  if (removed == 0) {
    std::copy_backward(b + 2 * first, b + 2 * row.count, b + 2 * (row.count + 1));
    ++row.count;
  } else if (removed > 1) {
    std::copy(b + 2 * last, b + 2 * row.count, b + 2 * (first + 1));
    row.count -= removed - 1;
  }
  b[2 * first] = begin;
  b[2 * first + 1] = end;
}

}  // namespace gw
