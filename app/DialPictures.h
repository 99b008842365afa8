#pragma once
// The built-in dial pictures, drawn by the program itself: 200 x 200, centre (100, 100), the
// same artwork as the shipped "Windrose_AZ.jpg" and "Windrose_EL.jpg". Need a running
// QGuiApplication (for the fonts of the scale numbers).

#include <QImage>

// Side of both dial pictures, in pixels.
constexpr int kDialPictureSize = 200;

// The words the pictures carry in their lower left corner, which also name the dials for
// screen readers.
inline constexpr const char* kAzimuthCaption = "AZIMUTH";
inline constexpr const char* kElevationCaption = "ELEVATION";

// The azimuth rose: a full compass rose with the scale 30 to 360 clockwise from the top and
// the word AZIMUTH in the lower left corner.
QImage AzimuthRose();

// The elevation half-rose: the upper half of the azimuth rose, the scale 0 (left) over 90
// (top) to 180 (right), white below the horizontal line through the centre, and the word
// ELEVATION in the lower left corner.
QImage ElevationHalfRose();
