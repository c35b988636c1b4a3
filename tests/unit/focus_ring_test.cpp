#include "ui/focus_ring.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<size_t> Ring(const std::vector<FocusCandidate>& candidates) {
    std::vector<size_t> ring(candidates.size());
    ring.resize(BuildFocusRing(candidates.data(), candidates.size(), ring.data()));
    return ring;
}

// The form: 按钮2 (1), 按钮1 (2), 编辑框1 (3), 透明标签1 (4, never takes the focus).
const std::vector<FocusCandidate> kForm = {{1, 0, true}, {2, 0, true}, {3, 0, true}, {4, 0, false}};

TEST(FocusRing, EqualNumbersPutTheHigherEntryFirst) {
    EXPECT_EQ(Ring(kForm), (std::vector<size_t>{3, 2, 1}));
}

TEST(FocusRing, LowerNumbersComeFirstAndIneligibleEntriesAreLeftOut) {
    EXPECT_EQ(Ring({{1, 0, true}, {2, 5, true}, {3, 1, true}, {4, 0, true}}), (std::vector<size_t>{4, 1, 3, 2}));
    EXPECT_EQ(Ring({{1, 0, false}, {2, 0, true}, {3, 0, false}}), (std::vector<size_t>{2}));
    EXPECT_TRUE(Ring({{1, 0, false}}).empty());
}

TEST(FocusRing, StepsWrapBothWays) {
    const std::vector<size_t> ring = Ring(kForm);
    struct Step {
        size_t from;
        bool backwards;
        size_t to;
    };
    const Step steps[] = {
        {3, false, 2}, {2, false, 1}, {1, false, 3},  // edit -> 按钮1 -> 按钮2 -> edit
        {3, true, 1},  {1, true, 2},  {2, true, 3},   // and back
        {4, false, 3}, {4, true, 1},                  // from outside the ring: first, or last
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.from << (s.backwards ? " back" : " on"));
        EXPECT_EQ(StepFocus(ring.data(), ring.size(), s.from, s.backwards), s.to);
    }
    EXPECT_EQ(StepFocus(nullptr, 0, 3, false), kNoEntry);
    const size_t single[] = {2};
    EXPECT_EQ(StepFocus(single, 1, 2, false), 2u);
}

}  // namespace
