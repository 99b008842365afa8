#pragma once
// Keeps a window's client area exactly as large as the bounding box of its visible direct
// children, measured from the client origin: whenever one of them is shown, hidden, moved or
// resized, the window takes the largest right edge as its width and the largest bottom edge
// as its height, and keeps that size fixed.

#include <QObject>
#include <QWidget>

class ClientAreaFitter : public QObject {
 public:
  // Watches the children window has now; create it after them.
  explicit ClientAreaFitter(QWidget* window);

  void Fit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
};
