#include "demo/about_box.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QUrl>
#include <functional>
#include <qdrawutil.h>
#include <utility>

#include "demo/controls.h"

namespace varnest::demo {

namespace {

// A panel with a lowered outer and a raised inner bevel.
class TBevelPanel : public QFrame {
 public:
  using QFrame::QFrame;

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
  }
};

// A label that reports a left click.
class TClickLabel : public QLabel {
 public:
  TClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
      : QLabel(text, parent), FOnClick(std::move(onClick)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      FOnClick();
    } else {
      QLabel::mousePressEvent(event);
    }
  }

 private:
  std::function<void()> FOnClick;
};

}  // namespace

QPixmap ProgramPicture(int width, int height) {
  // Drawn on a 113 x 81 design grid and scaled to the size asked for.
  QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
  picture.fill(QColor(0xf4, 0xf1, 0xe8));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(width / 113.0, height / 81.0);

  // The sheet, with one round defect.
  painter.setPen(QPen(QColor(0x44, 0x4c, 0x56), 1.5));
  painter.setBrush(QColor(0xd9, 0xde, 0xe4));
  painter.drawRect(QRectF(5, 5, 103, 71));
  painter.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 1.2));
  painter.setBrush(QColor(0xf4, 0xf1, 0xe8));
  painter.drawEllipse(QPointF(93, 61), 6, 6);

  // Parts packed from the lower-left corner: two L shapes locked into each
  // other, circles beside them, and an arc-edged part and a six-sided part
  // above.
  const QPen outline(QColor(0x1f, 0x3a, 0x5f), 1.0);
  painter.setPen(outline);
  painter.setBrush(QColor(0x4a, 0x90, 0xd9));
  const QPointF lower[] = {{8, 73}, {32, 73}, {32, 61}, {20, 61}, {20, 49}, {8, 49}};
  painter.drawPolygon(lower, 6);
  const QPointF upper[] = {{20, 61}, {32, 61}, {32, 49}, {44, 49}, {44, 37}, {20, 37}};
  painter.drawPolygon(upper, 6);
  painter.setBrush(QColor(0xf0, 0xa2, 0x02));
  for (const QPointF centre : {QPointF(39, 67), QPointF(52, 67), QPointF(65, 67), QPointF(51, 54)}) {
    painter.drawEllipse(centre, 6, 6);
  }
  painter.setBrush(QColor(0x3c, 0xa5, 0x5c));
  QPainterPath arcPart;
  arcPart.moveTo(14, 8);
  arcPart.lineTo(26, 20);
  arcPart.quadTo(26, 32, 14, 32);
  arcPart.lineTo(8, 20);
  arcPart.closeSubpath();
  painter.drawPath(arcPart);
  const QPointF sixSided[] = {{41, 8}, {52, 19}, {41, 30}, {30, 30}, {30, 19}, {41, 19}};
  painter.drawPolygon(sixSided, 6);

  // The name.
  painter.setPen(QColor(0x1f, 0x3a, 0x5f));
  painter.setFont(DemoFont(13, true));
  painter.drawText(QRectF(58, 12, 48, 30), Qt::AlignCenter, QStringLiteral("V2D"));
  painter.end();
  return QPixmap::fromImage(picture);
}

// Child widgets are created with a parent, which owns and destroys them.
TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About"));
  setFont(DemoFont(11));
  setFixedSize(kClientWidth, kClientHeight);
  setModal(true);

  Panel1 = new TBevelPanel(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(8, 8, 281, 161);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setGeometry(8, 8, 113, 81);
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(ProgramPicture(113, 81));

  ProductName = new QLabel(QString::fromLatin1(kProductName), Panel1);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  ProductName->setFont(DemoFont(11, true));
  PlaceLabel(ProductName, 128, 16, 98, 13);

  Version = new QLabel(QStringLiteral("Version"), Panel1);
  Version->setObjectName(QStringLiteral("Version"));
  PlaceLabel(Version, 128, 40, 35, 13);

  lVersion = new QLabel(Panel1);
  lVersion->setObjectName(QStringLiteral("lVersion"));
  PlaceLabel(lVersion, 176, 40, 37, 13);

  Notice = new QLabel(QString::fromLatin1(kNotice), Panel1);
  Notice->setObjectName(QStringLiteral("Notice"));
  PlaceLabel(Notice, 8, 112, 207, 13);

  Comments = new TClickLabel(QString::fromLatin1(kWebAddress), Panel1, [this] { CommentsClick(); });
  Comments->setObjectName(QStringLiteral("Comments"));
  QFont link = Comments->font();
  link.setUnderline(true);
  Comments->setFont(link);
  QPalette palette = Comments->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  Comments->setPalette(palette);
  Comments->setCursor(Qt::PointingHandCursor);
  Comments->setWordWrap(true);
  PlaceLabel(Comments, 8, 136, 126, 13);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(111, 180, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::CommentsClick() { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebAddress))); }

void TAboutBox::showEvent(QShowEvent* event) {
  // The version text is set before each showing; let its label fit it.
  PlaceLabel(lVersion, 176, 40, 37, 13);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  QDialog::showEvent(event);
}

}  // namespace varnest::demo
