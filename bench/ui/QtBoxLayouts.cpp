#include "QtBoxLayouts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace qtbench {

namespace {

// Leaves by their index: a fixed size along the layout, automatic, limits,
// automatic with margins.
void Fill(QWidget* parent, const Shape& shape, int level, QWidget** pFirstLeaf) {
  bool vertical = level % 2 == 0;
  auto* layout = new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, parent);
  layout->setContentsMargins(shape.inset, shape.inset, shape.inset, shape.inset);
  layout->setSpacing(shape.spacing);
  for (int i = 0; i < shape.fanout; ++i) {
    auto* child = new QWidget(parent);
    layout->addWidget(child);
    if (level + 1 < shape.levels) {
      Fill(child, shape, level + 1, pFirstLeaf);
      continue;
    }
    if (*pFirstLeaf == nullptr) *pFirstLeaf = child;
    switch (i % 4) {
      case 0: vertical ? child->setFixedHeight(20) : child->setFixedWidth(20); break;
      case 2:
        if (vertical) {
          child->setMinimumHeight(5);
          child->setMaximumHeight(40);
        } else {
          child->setMinimumWidth(5);
          child->setMaximumWidth(40);
        }
        break;
      case 3: child->setContentsMargins(2, 2, 2, 2); break;
      default: break;
    }
  }
}

}  // namespace

double TimeResizes(const Shape& shape, int resizes, int rounds, bool* pLeafMoved) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "bench_layout";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);

  QWidget top;
  QWidget* firstLeaf = nullptr;
  Fill(&top, shape, 0, &firstLeaf);
  top.resize(800, 600);
  top.show();
  app.processEvents();
  QLayout* layout = top.layout();

  layout->setGeometry(QRect(0, 0, 800, 600));
  QRect small = firstLeaf->geometry();
  layout->setGeometry(QRect(0, 0, 1024, 768));
  *pLeafMoved = firstLeaf->geometry() != small;

  double best = 1e9;
  for (int r = 0; r < rounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < resizes; ++i)
      layout->setGeometry(i % 2 ? QRect(0, 0, 1024, 768) : QRect(0, 0, 800, 600));
    std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
    best = std::min(best, d.count() / resizes);
  }
  return best;
}

}  // namespace qtbench
