// The table behind wire pointers on 64-bit builds: the ids a record carries
// must name exactly one pointer, and stop naming it once forgotten.
#include "platform/wire_registry.h"

#include <gtest/gtest.h>

namespace gw {
namespace {

TEST(WireRegistry, IdsNameOnePointerEachUntilForgotten) {
  WireRegistry r;
  int values[3] = {};
  uint32_t ids[3];
  for (int i = 0; i < 3; ++i) {
    ids[i] = r.idFor(&values[i]);
    EXPECT_NE(ids[i], 0u);
    EXPECT_GE(ids[i], 0x10000u);  // small numbers are never ids
    for (int j = 0; j < i; ++j) EXPECT_NE(ids[i], ids[j]);
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(r.idFor(&values[i]), ids[i]);  // registering again keeps the id
    EXPECT_EQ(r.pointerFor(ids[i]), &values[i]);
  }

  r.forget(ids[1]);
  EXPECT_EQ(r.pointerFor(ids[1]), nullptr);
  EXPECT_EQ(r.pointerFor(ids[0]), &values[0]);
  EXPECT_EQ(r.pointerFor(ids[2]), &values[2]);
  // A forgotten pointer registered again gets an id no earlier record holds.
  uint32_t again = r.idFor(&values[1]);
  EXPECT_NE(again, ids[1]);
  EXPECT_EQ(r.pointerFor(again), &values[1]);
}

TEST(WireRegistry, NullAndUnknownIdsMeanNothing) {
  WireRegistry r;
  EXPECT_EQ(r.idFor(nullptr), 0u);
  EXPECT_EQ(r.pointerFor(0), nullptr);
  EXPECT_EQ(r.pointerFor(0x10000), nullptr);
  EXPECT_EQ(r.pointerFor(0xFFFFFFFFu), nullptr);
  r.forget(0);
  r.forget(0x12345);  // unknown: nothing happens
  int v = 0;
  EXPECT_EQ(r.pointerFor(r.idFor(&v)), &v);
}

}  // namespace
}  // namespace gw
