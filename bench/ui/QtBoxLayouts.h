// Qt 5's box layouts on the same shape as the framework's side of
// bench_layout, behind a plain interface so that Qt's headers and ours
// never meet in one file.
#pragma once

namespace qtbench {

struct Shape {
  int levels;  // nested line layouts, vertical at the top, then alternating
  int fanout;  // children of each layout; the last level holds the leaves
  int inset;   // margins of every layout
  int spacing; // child padding of every layout
};

// Builds the tree (offscreen platform), then resizes the top widget between
// the two sizes `resizes` times per round and returns the best round's
// seconds per resize. *pLeafMoved tells whether a leaf's geometry differed
// between the two sizes (the layout really ran).
double TimeResizes(const Shape& shape, int resizes, int rounds, bool* pLeafMoved);

}  // namespace qtbench
