#include "ui/focus_ring.h"

namespace {

bool ComesBefore(const FocusCandidate& a, const FocusCandidate& b) {
    if (a.focusOrder != b.focusOrder) return a.focusOrder < b.focusOrder;
    return a.entry > b.entry;
}

}  // namespace

size_t BuildFocusRing(const FocusCandidate* candidates, size_t count, size_t* ring) {
    // Insertion sort: the form holds a handful of entries.
    const FocusCandidate* sorted[16];
    size_t size = 0;
    for (size_t i = 0; i < count && size < 16; ++i) {
        if (!candidates[i].eligible) continue;
        size_t at = size++;
        while (at > 0 && ComesBefore(candidates[i], *sorted[at - 1])) {
            sorted[at] = sorted[at - 1];
            --at;
        }
        sorted[at] = &candidates[i];
    }
    for (size_t i = 0; i < size; ++i) ring[i] = sorted[i]->entry;
    return size;
}

size_t StepFocus(const size_t* ring, size_t ringSize, size_t current, bool backwards) {
    if (ringSize == 0) return kNoEntry;
    for (size_t i = 0; i < ringSize; ++i) {
        if (ring[i] != current) continue;
        return backwards ? ring[(i + ringSize - 1) % ringSize] : ring[(i + 1) % ringSize];
    }
    return backwards ? ring[ringSize - 1] : ring[0];
}
