// Names for the indices of the main window's control arrays.
//
// The arrays keep the window's own names (Text1, Combo1, Command1, Cmd); these
// constants say what each element holds, so code reads Text1[box::WindSpeed]
// rather than Text1[8]. Plain enums in their own namespaces: they index the
// arrays directly and the settings file's record order follows them.
#pragma once

#include <cstdint>

namespace zelto {

// Which control holds the input focus.
enum class ControlKind : uint8_t { None, Text1, Combo1, Check1, Text2, Text3, Command1, Cmd };

struct FocusId {
  ControlKind Kind = ControlKind::None;
  int Index = 0;
  bool operator==(const FocusId&) const = default;
};

// Text1(0..25): the single-line input boxes, in validation order.
namespace box {
enum Id : int {
  Longitude = 0,        // site longitude, "120.10E"
  Latitude = 1,         // site latitude, "30.20N"
  ReleaseDate = 2,      // "YYYY/MM/DD", Beijing time
  ReleaseTime = 3,      // "HH:MM:SS", Beijing time
  GroundElevation = 4,  // m
  WindDirection = 5,    // degrees, where the wind comes from (N = 0, E = 90)
  WindHeight = 6,       // height of the wind measurement, m
  SigmaTheta = 7,       // standard deviation of the wind direction, degrees (optional)
  WindSpeed = 8,        // m/s
  SigmaThetaTime = 9,   // averaging time of SigmaTheta, min
  AirTemperature = 10,  // degrees C
  CloudCover = 11,      // tenths
  InversionBase = 12,   // m; 10000 = no inversion
  ReleaseDuration = 13, // unit in Combo1[combo::DurationUnit]
  MolecularWeight = 14,
  VaporPressure = 15,   // mmHg
  ReleaseAmount = 16,   // rate or amount; unit in Combo1[combo::AmountUnit]
  PoolArea = 17,        // m2
  PoolTemperature = 18, // degrees C
  ReleaseHeight = 19,   // release or stack height, m
  StackGasTemperature = 20,  // degrees C
  StackFlow = 21,       // m3/s at actual conditions
  AveragingTime = 22,   // concentration averaging time, min
  PredictionTime = 23,  // min after the start of the release
  ReceptorHeight = 24,  // m
  Thresholds = 25,      // comma-separated list; unit in Combo1[combo::ThresholdUnit]
  Count = 26
};
}  // namespace box

// Combo1(0..8): the drop-down lists.
namespace combo {
enum Id : int {
  Roughness = 0,       // editable; leading number = roughness length in cm
  GroundType = 1,      // soil, sand, concrete
  GroundMoisture = 2,  // dry, wet, snow-covered
  CloudType = 3,       // high, middle, low
  ReleaseMode = 4,     // instantaneous, short or continuous, stack
  DurationUnit = 5,    // minutes, seconds
  Substance = 6,       // temporary substance, then the defined substances
  AmountUnit = 7,      // kg/min or m3/min (kg, m3 when instantaneous)
  ThresholdUnit = 8,   // mg/m3, ppm
  Count = 9
};
}  // namespace combo

// Label1(0..22) and Label2(0..2): only the labels whose captions or
// visibility change are named.
namespace label1 {
enum Id : int {
  ReleaseAmount = 18,  // in front of box ReleaseAmount: rate or amount, by release mode
  ReleaseHeight = 21,  // in front of box ReleaseHeight: release or stack height
  StackData = 22,      // in front of boxes StackGasTemperature and StackFlow
  Count = 23
};
}  // namespace label1

namespace label2 {
enum Id : int {
  DayNight = 1,        // day or night, solar elevation and the local time difference
  SubstanceState = 2,  // liquid or gas, and the evaporation model
  Count = 3
};
}  // namespace label2

// Command1(0..2): the buttons inside the frames.
namespace command {
enum Id : int { Properties = 0, EstimatePoolArea = 1, Compute = 2, Count = 3 };
}  // namespace command

// Cmd(0..2): the command bar.
namespace cmd {
enum Id : int { Save = 0, Discard = 1, Help = 2, Count = 3 };
}  // namespace cmd

}  // namespace zelto
