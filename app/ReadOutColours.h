#pragma once
// The colours of the position read-outs and hands: green digits while the positions are
// current, grey digits and hands once they are old.

#include <QColor>

inline QColor PositionGreen() { return QColor(0, 128, 0); }
inline QColor StaleGrey() { return QColor(128, 128, 128); }
