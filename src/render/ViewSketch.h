#pragma once

#include <QImage>

constexpr int kViewSketchWidth = 70;
constexpr int kViewSketchHeight = 52;
constexpr int kViewCount = 7;

// The 70 x 52 picture of one of the seven views in the view dialog: ruled lines where the game
// list is, an information symbol with lines where the info pane is, and a row or column of
// coloured squares where the screenshot strip is, each pane where that view puts it. A view
// outside 0-6 gives a null image.
QImage viewSketch(int view);
