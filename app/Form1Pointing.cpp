// Aiming an axis by pointing at its dial.

#include "app/Form1.h"
#include "display/AnglePointing.h"
#include "display/DialGeometry.h"

void TForm1::Image1MouseMove(int X, int Y) {
  KtNumEdit1->SetValue(AngleFromPoint(LeftDialPointing(ComboBox4->currentIndex()), X, Y));
}

void TForm1::Image2MouseMove(int X, int Y) {
  KtNumEdit2->SetValue(AngleFromPoint(RightDialPointing(ComboBox4->currentIndex()), X, Y));
}

void TForm1::Image1Click() { GoAxis1(); }

void TForm1::Image2Click() { GoAxis2(); }
