#pragma once
// The pointer over a dial: a white disc wiped over the dial centre, ringed with a full circle
// (azimuth) or its upper half (elevation) in the highlight colour, and a green hand from the
// centre towards the angle.

#include <QColor>
#include <QPainter>
#include <QPoint>

#include <cstdint>

#include "display/DialGeometry.h"

// Green of the hand.
inline const QColor kHandColour{0, 128, 0};

// Draws the pointer for angle degrees on a dial of kind centred on centre, in the painter's
// coordinates, without anti-aliasing so the hand ends exactly on the pixel HandTip gives.
// ringColour is the desktop's highlight colour.
void DrawDialPointer(QPainter& painter, QPoint centre, int32_t angle, DialKind kind,
                     const QColor& ringColour);
