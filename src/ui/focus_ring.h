#pragma once
// The order in which Tab walks the controls.
#include <cstddef>

struct FocusCandidate {
    size_t entry;     // index in the form description
    int focusOrder;   // lower numbers come first
    bool eligible;    // exists, visible, enabled, of a kind and entry that take the focus
};

constexpr size_t kNoEntry = static_cast<size_t>(-1);

// Writes the eligible entries into `ring` in focus order: by focus-order
// number, lowest first, and among equal numbers the higher entry index first.
// Returns how many were written (at most `count`).
size_t BuildFocusRing(const FocusCandidate* candidates, size_t count, size_t* ring);

// The entry after (or, with `backwards`, before) `current` in the ring,
// wrapping at either end. When `current` is not in the ring the walk starts
// at the first entry (or the last, backwards). kNoEntry for an empty ring.
size_t StepFocus(const size_t* ring, size_t ringSize, size_t current, bool backwards);
