#include "forms/controls_drawing.h"

#include <cmath>

#include "forms/internal.h"
#include "forms/layout.h"

namespace forms {
namespace {

void RequirePicture(const std::string& name) {
  if (!name.empty() && !PictureSvg(name)) throw rt::Error(err::InvalidPicture, {}, "Invalid picture: " + name);
}

}  // namespace

// ---- Frame, PictureBox, Image

Frame::Frame(Form& form, std::string name, int index) : Control(Kind::Frame, form, std::move(name), index) {}

void Frame::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

PictureBox::PictureBox(Form& form, std::string name, int index)
    : Control(Kind::PictureBox, form, std::move(name), index) {
  SetTabStop(false);
}

void PictureBox::SetPicture(std::string name) {
  RequirePicture(name);
  picture_ = std::move(name);
}

void PictureBox::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

Image::Image(Form& form, std::string name, int index) : Control(Kind::Image, form, std::move(name), index) {}

void Image::SetPicture(std::string name) {
  RequirePicture(name);
  picture_ = std::move(name);
}

void Image::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

// ---- Line

Line::Line(Form& form, std::string name, int index) : Control(Kind::Line, form, std::move(name), index) {}

void Line::SetX1(float v) {
  x1_ = v;
  UpdateBounds();
}
void Line::SetY1(float v) {
  y1_ = v;
  UpdateBounds();
}
void Line::SetX2(float v) {
  x2_ = v;
  UpdateBounds();
}
void Line::SetY2(float v) {
  y2_ = v;
  UpdateBounds();
}

void Line::SetBorderWidth(int v) {
  RequireRange(v, 1, 8192);
  borderWidth_ = v;
}

void Line::SetBorderStyle(int v) {
  RequireRange(v, 0, 6);
  borderStyle_ = v;
}

// The box around the end points, so containment and z-order treat a line like other controls.
void Line::UpdateBounds() {
  Move(std::min(x1_, x2_), std::min(y1_, y2_), std::fabs(x2_ - x1_), std::fabs(y2_ - y1_));
}

// ---- Shape

Shape::Shape(Form& form, std::string name, int index) : Control(Kind::Shape, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
}

void Shape::SetShapeKind(int v) {
  RequireRange(v, 0, 5);
  shape_ = v;
}

void Shape::SetFillStyle(int v) {
  RequireRange(v, 0, 7);
  fillStyle_ = v;
}

void Shape::SetBackStyle(int v) {
  RequireRange(v, 0, 1);
  backStyle_ = v;
}

void Shape::SetBorderWidth(int v) {
  RequireRange(v, 1, 8192);
  borderWidth_ = v;
}

void Shape::SetBorderStyle(int v) {
  RequireRange(v, 0, 6);
  borderStyle_ = v;
}

}  // namespace forms
