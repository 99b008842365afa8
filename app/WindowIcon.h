#pragma once
// The window icon: a radio mast sending out arcs, drawn by the program at any size.

#include <QIcon>
#include <QImage>

// The icon drawn into a size x size picture with a transparent background.
QImage WindowIconImage(int size);

// The icon at 32 x 32 and at larger sizes for task bars and docks. Needs a running
// QGuiApplication.
QIcon WindowIcon();
