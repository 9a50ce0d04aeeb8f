#include <string>

#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "mainwindow/refresh/page_steps.h"
#include "points/cp/byte_points.h"
#include "points/cp/soft_jumpers.h"
#include "points/cp/word_points.h"
#include "points/nv/number_points.h"
#include "points/nv/snvt_temp_setpt.h"

namespace mainwindow::refresh {
namespace {

constexpr int Line = 68;
constexpr int LongRangeJumper = 2;
constexpr uint8_t Unoccupied = 1;

// The scale's ends stand for 50 and 95 degrees Fahrenheit.
constexpr double ScaleBottom = 50;
constexpr double ScaleSpan = 45;
constexpr double RemoteLow = 50;
constexpr double RemoteHigh = 95;

constexpr float CaptionAboveTick = 100;
constexpr float CaptionAboveDot = 10;
constexpr float RightCaptionGap = 100;
constexpr float LeftCaptionGap = 70;

// The working quantities of one drawing, each 0 until a statement sets it.
struct Quantities {
  uint8_t occupancy = 0;
  double deadband = 0;
  double cool = 0;       // the effective cooling setpoint
  double heat = 0;       // the effective heating setpoint
  double reference = 0;  // the dot
  double centre = 0;     // of the remote setpoint
  double offset = 0;     // of the remote setpoint
  double differential = 0;
  double scaleLength = 0;
};

class Graph {
 public:
  explicit Graph(Refresh& refresh) : r_(refresh) {}

  void Draw() {
    r_(Line, [] { forms::DoEvents(); });
    r_(Line, [&] { r_.Ctl(controls::picSetpointGraph).SetVisible(true); });
    r_(Line, [&] { q_.occupancy = EffectiveOccupancy(r_); });
    r_(Line, [&] { q_.deadband = Configured(PairOf(q_.occupancy).cool) - Configured(PairOf(q_.occupancy).heat); });
    if (r_.If(Line, [&] { return r_.Point<points::UCPT_Boolean>("nciLocSptEnable").get_Value() == 1; })) {
      if (r_.If(Line, [&] { return r_.Point<points::UCPTsoftJumpers>("nciSoftJumpers").get_Bit(LongRangeJumper); })) {
        LongRange();
      } else {
        ShortRange();
      }
    } else {
      Remote();
    }
    Marks();
    AvoidOverlaps();
  }

 private:
  double Configured(points::Setpoint setpoint) const { return ConfiguredSetpoint(r_, setpoint); }
  double Shift(points::Setpoint setpoint) const {
    return r_.Point<points::SNVT_temp_setpt>("nvoSetptShift").get_Setpoint(setpoint);
  }
  double Value(std::string_view property) const { return Temperature(r_, property); }
  bool UnoccupiedNow() {
    return r_.If(Line, [&] { return EffectiveOccupancy(r_) == Unoccupied; });
  }
  void TakeUnoccupiedPair() {
    r_(Line, [&] { q_.cool = Configured(points::unoccupied_cool); });
    r_(Line, [&] { q_.heat = Configured(points::unoccupied_heat); });
  }
  // The effective pair centred on a setpoint, the deadband apart.
  void CentreOn(const std::function<double()>& centre) {
    r_(Line, [&] { q_.cool = centre() + q_.deadband / 2; });
    r_(Line, [&] { q_.heat = centre() - q_.deadband / 2; });
  }

  // The unit's own setpoint, unless unoccupied.
  void LongRange() {
    if (UnoccupiedNow()) {
      TakeUnoccupiedPair();
    } else {
      CentreOn([&] { return Value("nvoSetpoint"); });
    }
    r_(Line, [&] { q_.reference = Value("nvoSetpoint"); });
  }

  // The configured pair moved by the unit's shift; unoccupied ignores the shift.
  void ShortRange() {
    r_(Line, [&] { q_.occupancy = EffectiveOccupancy(r_); });
    if (q_.occupancy == Unoccupied) {
      TakeUnoccupiedPair();
    } else {
      const SetpointPair pair = PairOf(q_.occupancy);
      r_(Line, [&] { q_.cool = Configured(pair.cool) + Shift(pair.cool); });
      r_(Line, [&] { q_.heat = Configured(pair.heat) + Shift(pair.heat); });
    }
    r_(Line, [&] { q_.reference = q_.cool - q_.deadband / 2; });
  }

  // The network's setpoint when it lies on the scale, else the configured pair's middle; moved by
  // the network's offset, which unoccupied leaves out of the pair but not out of the dot.
  void Remote() {
    r_(Line, [&] { q_.occupancy = EffectiveOccupancy(r_); });
    r_(Line, [&] { q_.offset = r_.Point<points::SNVT_temp_p_US_diff>("nviSetptOffset").get_Value(); });
    if (q_.occupancy == Unoccupied) {
      TakeUnoccupiedPair();
      r_(Line, [&] { q_.centre = q_.cool - q_.deadband / 2; });
    } else {
      if (r_.If(Line, [&] { return Value("nviSetPoint") >= RemoteLow && Value("nviSetPoint") <= RemoteHigh; })) {
        r_(Line, [&] { q_.centre = Value("nviSetPoint"); });
      } else {
        r_(Line, [&] { q_.centre = Configured(PairOf(q_.occupancy).cool) - q_.deadband / 2; });
      }
      CentreOn([&] { return q_.centre + q_.offset; });
    }
    r_(Line, [&] { q_.reference = q_.centre + q_.offset; });
  }

  forms::Line& Scale() const { return r_.Ctl(controls::lnScale); }
  forms::Line& Tick(int index) const { return r_.Ctl(controls::lnSetpoint.At(index)); }
  forms::Label& Caption(int index) const { return r_.Ctl(controls::lblnvoSP.At(index)); }
  forms::Shape& Dot() const { return r_.Ctl(controls::shpSetPoint); }

  // Where a temperature lies on the scale; nothing holds it to the scale's ends.
  double Position(double temperature) const {
    return Scale().Y2() - (temperature - ScaleBottom) * q_.scaleLength / ScaleSpan;
  }

  void PlaceTick(int index, const std::function<double()>& temperature) {
    r_(Line, [&] { Tick(index).SetY1(static_cast<float>(Position(temperature()))); });
    r_(Line, [&] { Tick(index).SetY2(Tick(index).Y1()); });
  }
  void PlaceCaption(int tick, int caption, const std::function<std::string()>& text) {
    r_(Line, [&] { Caption(caption).SetTop(Tick(tick).Y1() - CaptionAboveTick); });
    r_(Line, [&] { Caption(caption).SetCaption(text()); });
  }

  void Marks() {
    r_(Line, [&] { q_.scaleLength = Scale().Y2() - Scale().Y1(); });
    r_(Line, [&] { Dot().SetTop(static_cast<float>(Position(q_.reference) - Dot().Height() / 2.0)); });
    r_(Line, [&] { Caption(4).SetTop(Dot().Top() - CaptionAboveDot); });
    r_(Line, [&] { Caption(4).SetCaption("Ref SP " + Number(q_.reference)); });
    PlaceTick(4, [&] { return Value("nvoSpaceTemp"); });
    PlaceTick(0, [&] { return q_.cool; });
    PlaceCaption(0, 0, [&] { return "Eff.Cool_SP  " + Number(q_.cool); });
    if (UnoccupiedNow()) {
      r_(Line, [&] { q_.differential = r_.Point<points::UCPTtemp_Dif_p>("nciUnoccDiff").get_Value(); });
    } else {
      r_(Line, [&] { q_.differential = r_.Point<points::UCPTtemp_Dif_p>("nciOccDiff").get_Value(); });
    }
    PlaceTick(1, [&] { return q_.cool - q_.differential; });
    PlaceCaption(1, 1, [&] { return Number(q_.cool - q_.differential) + " Cool_Off"; });
    PlaceTick(3, [&] { return q_.heat; });
    PlaceCaption(3, 3, [&] { return "Eff.Heat_SP  " + Number(q_.heat); });
    PlaceTick(2, [&] { return q_.heat + q_.differential; });
    PlaceCaption(2, 2, [&] { return Number(q_.heat + q_.differential) + " Heat_Off"; });
  }

  static std::string Number(double value) { return FormatNumber(value, BareDecimal); }
  static float Bottom(const forms::Label& caption) { return caption.Top() + caption.Height(); }

  // The heating switch-off caption steps right of the cooling one when they overlap; the
  // reference caption steps left of the cooling setpoint's, else lines up with its right edge.
  void AvoidOverlaps() {
    if (r_.If(Line, [&] { return Bottom(Caption(1)) > Caption(2).Top(); })) {
      r_(Line, [&] { Caption(2).SetLeft(Caption(1).Left() + Caption(1).Width() + RightCaptionGap); });
    } else {
      r_(Line, [&] { Caption(2).SetLeft(Caption(1).Left()); });
    }
    if (r_.If(Line, [&] { return Bottom(Caption(0)) > Caption(4).Top(); })) {
      r_(Line, [&] { Caption(4).SetLeft(Caption(0).Left() - Caption(4).Width() - LeftCaptionGap); });
    } else {
      r_(Line, [&] { Caption(4).SetLeft(Caption(0).Left() + Caption(0).Width() - Caption(4).Width()); });
    }
  }

  Refresh& r_;
  Quantities q_;
};

}  // namespace

// The General page's picture of the temperature control: the effective setpoints, their
// switch-off points, the reference setpoint and the room temperature on a 50 to 95 degree scale.
void SetpointGraph(Refresh& refresh) { Graph(refresh).Draw(); }

}  // namespace mainwindow::refresh
