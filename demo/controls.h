#pragma once
// Qt realisations of the classic form controls that have no direct Qt
// counterpart: an image with a canvas, a radio group with an item index, an
// up-down attached to an edit, and labels that size themselves to their
// caption.

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

#include "demo/canvas.h"

namespace varnest::demo {

// The sans-serif face of the window at a character height in pixels (the
// classic negative font height). The face the forms were designed with does
// not exist here; DejaVu Sans is the sans-serif face that is always installed.
QFont DemoFont(int pixelHeight, bool bold = false);

// Places a label at (x, y) with at least the given size, grown to its
// one-line caption as a self-sizing label grows: the designed sizes fit the
// original face, and a label never cuts its own caption.
void PlaceLabel(QLabel* label, int x, int y, int width, int height);

// An image that owns a picture of its own size (white at first) and a canvas
// on it; it shows the picture unscaled.
class TImage : public QWidget {
 public:
  TImage(int width, int height, QWidget* parent);
  const QImage& Picture() const { return FPicture; }
  TCanvas& Canvas() { return FCanvas; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage FPicture;
  TCanvas FCanvas;
};

// A captioned group of exclusive choices addressed by item index.
class TRadioGroup : public QGroupBox {
 public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent);
  int ItemIndex() const { return FButtons.checkedId(); }
  void SetItemIndex(int index);
  QStringList Items() const;

 private:
  QButtonGroup FButtons;
};

// Two arrow buttons that step an integer position between a minimum and a
// maximum and write it into their associated edit. The position is read back
// from the edit, so what the user types counts (held to the range); text
// that is no number leaves the last position.
class TUpDown : public QWidget {
 public:
  TUpDown(int minimum, int maximum, int position, QLineEdit* associate, QWidget* parent);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const;
  void SetPosition(int position);
  QLineEdit* Associate() const { return FAssociate; }

 private:
  void Step(int delta);

  int FMin;
  int FMax;
  mutable int FPosition;
  QLineEdit* FAssociate;
};

}  // namespace varnest::demo
