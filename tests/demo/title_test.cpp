// The captions as the window system gets them. Qt's X11 platform may append
// the application's display name to a title on its way to the server, after
// QWidget::windowTitle and QWindow::title; so these tests run the program's
// own application object on a virtual X server and read each window's
// _NET_WM_NAME back from the server.
#include <xcb/xcb.h>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "demo/about_box.h"
#include "demo/application.h"
#include "demo/main_form.h"

using namespace varnest::demo;

namespace {

template <typename T>
using TReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  const TReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr),
                                              &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The title a window manager shows: the window's _NET_WM_NAME on the server.
QString ServerTitle(const QWidget& window) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return QStringLiteral("<not on X11>");
  xcb_connection_t* connection = x11->connection();
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()),
                       Atom(connection, "_NET_WM_NAME"), Atom(connection, "UTF8_STRING"), 0, 256);
  const TReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr),
                                               &std::free);
  if (!reply) return QStringLiteral("<no reply>");
  return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           xcb_get_property_value_length(reply.get()));
}

// Reads the title of the modal window that is about to open, then closes it.
void ReadModalTitleSoon(QString& title) {
  QTimer::singleShot(0, [&title] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      if (QTest::qWaitForWindowExposed(modal)) title = ServerTitle(*modal);
      modal->close();
    }
  });
}

// An object whose every event handler fails.
class TFailing : public QObject {
 public:
  bool event(QEvent* /*event*/) override { throw std::runtime_error("the handler failed"); }
};

}  // namespace

class TitleTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase();
  void mainWindowCaption();
  void aboutBoxCaption();
  void errorMessageCaption();
};

void TitleTest::initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

void TitleTest::mainWindowCaption() {
  TAboutBox about;
  TForm1 form(about);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(ServerTitle(form), QStringLiteral("Varnest 2D X example"));
}

void TitleTest::aboutBoxCaption() {
  TAboutBox about;
  TForm1 form(about);
  form.show();
  QString title;
  ReadModalTitleSoon(title);
  form.About1->trigger();  // Help > About ..., shown modally
  QCOMPARE(title, QStringLiteral("About"));
}

void TitleTest::errorMessageCaption() {
  // An exception that reaches the top of an event handler is shown in a
  // message box titled with the product's name.
  TFailing failing;
  QEvent event(QEvent::User);
  QString title;
  ReadModalTitleSoon(title);
  QVERIFY(!QCoreApplication::sendEvent(&failing, &event));
  QCOMPARE(title, QString::fromLatin1(kProductName));
}

// The program's own application object, not a plain QApplication: what it
// sets up for every window is part of what reaches the window system.
int main(int argc, char** argv) {
  TDemoApplication application(argc, argv);
  TitleTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "title_test.moc"
