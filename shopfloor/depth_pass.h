#pragma once
// The shop floor is drawn in two passes around the heroine's feet: what stands
// further back is drawn before her, the rest after her.

// Whether an object whose bottom edge lies at `bottom` is drawn in the pass:
// the behind pass takes it when the edge is strictly above the line (a smaller
// y), the in-front pass when it lies on or below the line. So every object is
// drawn exactly once per frame, whichever side it stands on.
constexpr bool IsInDepthPass(float bottom, float line, bool inFront) {
    return (bottom >= line) == inFront;
}
