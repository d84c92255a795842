#pragma once
// TAboutBox: the modal About dialog of the demonstration program, with the
// program's picture, name, version, notice line and web address; a click on
// the address opens it in the desktop's browser.

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace varnest::demo {

inline constexpr const char* kProductName = "Varnest 2D";
inline constexpr const char* kNotice = "Copyright (C) the Varnest developers";
inline constexpr const char* kWebAddress = "https://varnest.example/";

// The program's picture: a sheet with a few nested parts.
QPixmap ProgramPicture(int width, int height);

class TAboutBox : public QDialog {
 public:
  static constexpr int kClientWidth = 298;
  static constexpr int kClientHeight = 213;

  explicit TAboutBox(QWidget* parent = nullptr);

  void CommentsClick();

  // Controls (owned by the dialog through Qt's parent chain).
  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* lVersion = nullptr;
  QLabel* Notice = nullptr;
  QLabel* Comments = nullptr;
  QPushButton* OKButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace varnest::demo
