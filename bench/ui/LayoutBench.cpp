// Lays out a tree of 1,024 leaves in five nested line layouts (vertical at
// the top, then alternating; inset and child padding on every layout;
// leaves of fixed size, automatic size, with limits, and with padding),
// resized between 800x600 and 1024x768, and the same shape in Qt 5's box
// layouts on the offscreen platform. Prints the best round's time per
// resize for each and the ratio Qt / ours (above 1: ours is faster).
// Run a release build: build/release/bench/ui/bench_layout.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "QtBoxLayouts.h"
#include "controls/CHorizontalLayoutUI.h"
#include "controls/CVerticalLayoutUI.h"
#include "manager/CPaintManagerUI.h"

using namespace SkinUI;

namespace {

constexpr qtbench::Shape kShape = {5, 4, 2, 3};
constexpr int kResizes = 50;
constexpr int kRounds = 40;

void Fill(CContainerUI* parent, int level, CControlUI** pFirstLeaf) {
  bool vertical = level % 2 == 0;
  parent->SetInset(RECT{kShape.inset, kShape.inset, kShape.inset, kShape.inset});
  parent->SetChildPadding(kShape.spacing);
  for (int i = 0; i < kShape.fanout; ++i) {
    if (level + 1 < kShape.levels) {
      CContainerUI* child = (level + 1) % 2 == 0 ? static_cast<CContainerUI*>(new CVerticalLayoutUI)
                                                 : static_cast<CContainerUI*>(new CHorizontalLayoutUI);
      parent->Add(child);
      Fill(child, level + 1, pFirstLeaf);
      continue;
    }
    auto* leaf = new CControlUI;
    parent->Add(leaf);
    if (*pFirstLeaf == nullptr) *pFirstLeaf = leaf;
    switch (i % 4) {
      case 0: vertical ? leaf->SetFixedHeight(20) : leaf->SetFixedWidth(20); break;
      case 2:
        if (vertical) {
          leaf->SetMinHeight(5);
          leaf->SetMaxHeight(40);
        } else {
          leaf->SetMinWidth(5);
          leaf->SetMaxWidth(40);
        }
        break;
      case 3: leaf->SetPadding(RECT{2, 2, 2, 2}); break;
      default: break;
    }
  }
}

double TimeOurs(bool* pLeafMoved) {
  CPaintManagerUI pm;
  auto* root = new CVerticalLayoutUI;
  CControlUI* firstLeaf = nullptr;
  Fill(root, 0, &firstLeaf);
  pm.AttachDialog(root);
  root->SetPos(RECT{0, 0, 800, 600});
  RECT small = firstLeaf->GetPos();
  root->SetPos(RECT{0, 0, 1024, 768});
  RECT large = firstLeaf->GetPos();
  *pLeafMoved = small.right != large.right || small.bottom != large.bottom;

  double best = 1e9;
  for (int r = 0; r < kRounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kResizes; ++i) root->SetPos(i % 2 ? RECT{0, 0, 1024, 768} : RECT{0, 0, 800, 600});
    std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
    best = (std::min)(best, d.count() / kResizes);
  }
  return best;
}

}  // namespace

int main() {
  bool oursMoved = false, qtMoved = false;
  double ours = TimeOurs(&oursMoved);
  double qt = qtbench::TimeResizes(kShape, kResizes, kRounds, &qtMoved);
  if (!oursMoved || !qtMoved) {
    std::printf("a layout did not move its leaves (ours %d, Qt %d)\n", oursMoved, qtMoved);
    return 1;
  }
  std::printf("1024 leaves, 5 nested line layouts, per resize (best of %d rounds of %d):\n", kRounds, kResizes);
  std::printf("  SkinUI layouts   %8.1f us\n", ours * 1e6);
  std::printf("  Qt 5 box layouts %8.1f us\n", qt * 1e6);
  std::printf("  ratio Qt / SkinUI: %.2f (above 1: SkinUI is faster)\n", qt / ours);
  return 0;
}
