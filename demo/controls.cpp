#include "demo/controls.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace varnest::demo {

QFont DemoFont(int pixelHeight, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

void PlaceLabel(QLabel* label, int x, int y, int width, int height) {
  const QFontMetrics metrics = label->fontMetrics();
  const QMargins margins = label->contentsMargins();
  const int margin = 2 * label->margin();
  const int textWidth = metrics.horizontalAdvance(label->text()) + margins.left() +
                        margins.right() + margin;
  // One pixel of slack: the text layout rounds advances up, the metrics may not.
  const int w = std::max(width, textWidth + 1);
  int textHeight = metrics.height() + margins.top() + margins.bottom() + margin;
  if (label->wordWrap()) textHeight = std::max(textHeight, label->heightForWidth(w));
  label->setGeometry(x, y, w, std::max(height, textHeight));
}

TImage::TImage(int width, int height, QWidget* parent)
    : QWidget(parent), FPicture(width, height, QImage::Format_RGB32), FCanvas(FPicture) {
  FPicture.fill(Qt::white);
  setFixedSize(width, height);
}

void TImage::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(0, 0, FPicture);
}

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent) {
  // Qt's layout owns the buttons through this group box, their parent.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 2, 8, 2);
  layout->setSpacing(0);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    button->setObjectName(QStringLiteral("item%1").arg(i));
    layout->addWidget(button);
    FButtons.addButton(button, i);
  }
}

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = FButtons.button(index)) button->setChecked(true);
}

QStringList TRadioGroup::Items() const {
  QStringList items;
  for (QAbstractButton* button : FButtons.buttons()) items << button->text();
  return items;
}

TUpDown::TUpDown(int minimum, int maximum, int position, QLineEdit* associate, QWidget* parent)
    : QWidget(parent),
      FMin(minimum),
      FMax(maximum),
      FPosition(std::clamp(position, minimum, maximum)),
      FAssociate(associate) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  const struct {
    Qt::ArrowType arrow;
    int delta;
    const char* name;
  } buttons[] = {{Qt::UpArrow, 1, "up"}, {Qt::DownArrow, -1, "down"}};
  for (const auto& b : buttons) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setArrowType(b.arrow);
    button->setAutoRepeat(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(button);
    const int delta = b.delta;
    QObject::connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
  }
  SetPosition(FPosition);
}

int TUpDown::Position() const {
  bool ok = false;
  const int typed = FAssociate->text().toInt(&ok);
  if (ok) FPosition = std::clamp(typed, FMin, FMax);
  return FPosition;
}

void TUpDown::SetPosition(int position) {
  FPosition = std::clamp(position, FMin, FMax);
  FAssociate->setText(QString::number(FPosition));
}

void TUpDown::Step(int delta) { SetPosition(Position() + delta); }

}  // namespace varnest::demo
