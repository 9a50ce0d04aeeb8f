#pragma once

// The controls that draw: frames, picture boxes, images, lines and shapes.

#include <string>

#include "forms/colors.h"
#include "forms/control.h"

namespace forms {

class Frame : public Control {
 public:
  Frame(Form& form, std::string name, int index);
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  std::string caption_;
  int borderStyle_ = 1;
};

// Picture boxes and image controls show a picture of the project's own (an SVG under
// resources/pictures, named without folder); "" shows none.
class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, int index);
  const std::string& Picture() const noexcept { return picture_; }
  void SetPicture(std::string name);  // error 481 for a picture that does not exist
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  std::string picture_;
  int borderStyle_ = 1;
};

class Image : public Control {
 public:
  Image(Form& form, std::string name, int index);
  const std::string& Picture() const noexcept { return picture_; }
  void SetPicture(std::string name);
  bool Stretch() const noexcept { return stretch_; }
  void SetStretch(bool v) { stretch_ = v; }
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  std::string picture_;
  bool stretch_ = false;
  int borderStyle_ = 0;
};

class Line : public Control {
 public:
  Line(Form& form, std::string name, int index);
  float X1() const noexcept { return x1_; }
  float Y1() const noexcept { return y1_; }
  float X2() const noexcept { return x2_; }
  float Y2() const noexcept { return y2_; }
  void SetX1(float v);
  void SetY1(float v);
  void SetX2(float v);
  void SetY2(float v);
  int BorderWidth() const noexcept { return borderWidth_; }
  void SetBorderWidth(int v);
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);
  OleColor BorderColor() const noexcept { return borderColor_; }
  void SetBorderColor(OleColor c) { borderColor_ = c; }

 private:
  void UpdateBounds();
  float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  int borderWidth_ = 1;
  int borderStyle_ = 1;
  OleColor borderColor_ = syscolor::WindowText;
};

class Shape : public Control {
 public:
  Shape(Form& form, std::string name, int index);
  int ShapeKind() const noexcept { return shape_; }  // the toolkit's Shape property
  void SetShapeKind(int v);
  int FillStyle() const noexcept { return fillStyle_; }
  void SetFillStyle(int v);
  OleColor FillColor() const noexcept { return fillColor_; }
  void SetFillColor(OleColor c) { fillColor_ = c; }
  int BackStyle() const noexcept { return backStyle_; }
  void SetBackStyle(int v);
  OleColor BorderColor() const noexcept { return borderColor_; }
  void SetBorderColor(OleColor c) { borderColor_ = c; }
  int BorderWidth() const noexcept { return borderWidth_; }
  void SetBorderWidth(int v);
  int BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(int v);

 private:
  int shape_ = 0;
  int fillStyle_ = 1;
  OleColor fillColor_ = RGB(0, 0, 0);
  int backStyle_ = 0;
  OleColor borderColor_ = syscolor::WindowText;
  int borderWidth_ = 1;
  int borderStyle_ = 1;
};

}  // namespace forms
