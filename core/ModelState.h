// The single record of every model variable: constants, inputs, substance
// properties, derived meteorology, source term, computation targets and results.
//
// Conventions used throughout the code:
//  - physical quantities are 32-bit floats; formulas are evaluated in double
//    and rounded to float when stored;
//  - "byte" codes are uint8_t, "integer" counts and indices int16_t;
//  - texts are UTF-8 std::string;
//  - lists are 1-based: element 0 exists but is unused (it holds 0), so
//    list item i is vec[i]. Tables are likewise indexed [row][column] from 1.
//
// Units: lengths m, roughness cm, times min (puff ages s), masses g, rates g/min,
// air pressure mb, vapour pressure atm, temperatures K (with a Celsius copy of
// the air temperature), densities g/cm3, concentrations mg/m3.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zelto {

// A stored substance of the chemical list (slot 0 = temporary substance, slot 1
// = the user-defined substance).
struct ChemicalEntry {
  std::string Name;
  float TwaPpm = 0, TwaMg = 0, StelPpm = 0, StelMg = 0;
  std::array<float, 13> Params{};  // general parameters 1..12 (index 0 unused)
  int16_t VosslerIndex = 0;        // slot in VosslerSets; below 1 = none
};

// A Vossler evaporation parameter set: Values 3..40 hold the 38 numbers of the
// 14 parameter lines; 1 and 2 copies of molecular weight and boiling point.
struct VosslerSet {
  std::string Name;
  std::array<float, 41> Values{};  // index 0 unused
};

// One receptor point row: columns 1..5 = X, Y, Z, T, C (column 0 unused).
using PointRow = std::array<float, 6>;

struct TargetSet {
  std::string ThresholdText;
  int16_t PointCount = 0;
  std::string PointText;
  std::vector<PointRow> Points;  // rows 0..PointCount (row 0 unused)
  float ReceptorX = 0;
  float ReceptorY = 0;
  int16_t ThresholdCount = 0;
  std::vector<float> Thresholds;  // positions 0..ThresholdCount (position 0 holds 0)
};

struct ModelState {
  // ---- 1. Constants (set once at start by InitConstants) ----
  float Pi = 0;
  float DegToRad = 0;
  float AirMolWeight = 0;      // g/mol
  float AirGasConstant = 0;    // erg/(g K)
  float GasConstant = 0;       // J/(kmol K)
  float StdPressure = 0;       // Pa
  float StdAirViscosity = 0;   // Pa s
  float AirConductivity = 0;   // W/(m K)
  float AirSpecificHeat = 0;   // J/(kg K)
  std::array<float, 15> SpreadCoef{};  // 1..14: multipliers a of sigma-z = a x^b
  std::array<float, 15> SpreadExp{};   // 1..14: exponents b

  // ---- 2. Site, time and weather inputs ----
  float Longitude = 0;         // deg, east positive
  float Latitude = 0;          // deg, north positive
  std::string ReleaseDate;     // "YYYY/MM/DD", Beijing time
  std::string ReleaseTime;     // "HH:MM:SS", Beijing time
  float GroundElevation = 0;   // m
  float Roughness = 0;         // cm
  uint8_t GroundType = 0;      // 1 soil, 2 sand, 3 concrete
  uint8_t GroundMoisture = 0;  // 1 dry, 2 wet, 3 snow-covered
  float WindDirection = 0;     // deg, 0..359
  float WindHeight = 0;        // m
  uint8_t SigmaThetaFlag = 0;  // sigma_theta::Flag
  float SigmaTheta = 0;        // deg
  float SigmaThetaTime = 0;    // min
  float WindSpeed = 0;         // m/s at WindHeight
  float AirTempC = 0;          // deg C
  float AirTempK = 0;          // K (AirTempC + kKelvinOffset)
  uint8_t CloudCover = 0;      // tenths
  uint8_t CloudType = 0;       // 1 high, 2 middle, 3 low
  float InversionBase = 0;     // m
  float MixingHeight = 0;      // m; 10000 = no lid

  // ---- 3. Derived meteorology ----
  std::string LocalDateText;
  std::string LocalTimeText;
  float TimeDifference = 0;          // h
  std::string DayNightFlag;          // kDayFlag / kNightFlag
  float SolarElevation = 0;          // deg
  float AirPressure = 0;             // mb
  float Albedo = 0;
  float CloudTypeFactor = 0;
  float NetRadiationFactor = 0;
  float MoistureFactor = 0;
  float SolarRadiation = 0;          // W/m2
  float SensibleHeatFlux = 0;        // W/m2
  float FrictionVelocity = 0;        // m/s
  float MoninObukhovLength = 0;      // m
  float InverseMoninObukhovLength = 0;  // 1/m
  float RoughnessProfileTerm = 0;
  float WindSpeed10m = 0;            // m/s
  float HorizontalStability = 0;
  float VerticalStability = 0;
  std::string StabilityText;
  float DispersionRoughness = 0;     // cm
  float AirDensity = 0;              // g/cm3
  float AirViscosity = 0;            // g/(cm s)
  float AirKinematicViscosity = 0;   // cm2/s

  // ---- 4. Substance ----
  int16_t ChemicalIndex = 0;
  std::string ChemicalName;
  float TwaPpm = 0, TwaMg = 0;
  float StelPpm = 0, StelMg = 0;
  float MolecularWeight = 0;   // g/mol
  float BoilingPointK = 0;     // K
  float CriticalTempK = 0;     // K
  float CriticalPressure = 0;  // atm
  float CriticalVolume = 0;    // cm3/g-mole
  float VaporPressA = 0;       // mmHg, or constant A
  float VaporPressB = 0;
  float VaporPressC = 0;
  float LiquidDensityA = 0;
  float LiquidDensityB = 0;
  float MolecularDiameter = 0;  // Angstrom
  float InteractionEnergy = 0;
  int16_t VosslerIndex = 0;
  // Vossler parameters (values 3..40 of the substance's set)
  float FreezingPointK = 0;
  float VapViscA = 0, VapViscB = 0, VapViscC = 0, VapViscTmax = 0, VapViscTmin = 0;
  float VapCpA = 0, VapCpB = 0, VapCpC = 0, VapCpD = 0, VapCpTmax = 0, VapCpTmin = 0;
  float VapCondA = 0, VapCondB = 0, VapCondC = 0, VapCondD = 0, VapCondTmax = 0, VapCondTmin = 0;
  float HeatVapA = 0, HeatVapB = 0, HeatVapC = 0, HeatVapD = 0, HeatVapTmax = 0, HeatVapTmin = 0;
  float SatPressA = 0, SatPressB = 0, SatPressC = 0, SatPressD = 0, SatPressE = 0, SatPressF = 0;
  float SatPressTmax = 0, SatPressTmin = 0;
  float LiqCondA = 0, LiqCondB = 0, LiqCondC = 0, LiqCondTmax = 0, LiqCondTmin = 0;
  float DiffusionVolume = 0;
  float VaporPressure = 0;     // atm at ambient temperature (0 = none)
  float LiquidDensity = 0;     // g/cm3
  float VaporDensity = 0;      // g/cm3 (kg/m3 after the Vossler model)
  float PpmFactor = 0;         // ppm per mg/m3
  std::vector<ChemicalEntry> Chemicals;  // slots 0..ChemicalCount
  int16_t ChemicalCount = 0;
  std::vector<VosslerSet> VosslerSets;   // slots 0..VosslerSetCount
  int16_t VosslerSetCount = 0;
  std::string GeneralParamText;
  std::string VosslerParamText;

  // ---- 5. Release and source term ----
  uint8_t ReleaseMode = 0;        // release::Mode
  float ReleaseDuration = 0;      // min; 10000 = continuous
  float ReleaseRate = 0;          // g/min
  float ReleaseMass = 0;          // g
  bool IsLiquid = false;
  float PoolArea = 0;             // m2
  float PoolTemperature = 0;      // deg C as typed, K after the Vossler model
  float StackHeight = 0;          // m
  float StackGasTemperature = 0;  // K
  float StackFlowRate = 0;        // m3/s
  float EffectivePlumeHeight = 0; // m
  float BuoyancyFlux = 0;         // m4/s3
  float PlumeRise = 0;            // m
  float FinalRiseDistance = 0;    // m
  float EvapRate = 0;             // g/min
  float SourceStrength = 0;       // g/min
  float SourceSize = 0;           // m
  // Evaporation working values (Vossler model)
  float WindExponent = 0;
  float LengthExponent = 0;
  float SatPressure = 0;          // Pa
  float SurfaceMoleFraction = 0;
  float MassTransferCoef = 0;     // m/s
  float VaporizationHeat = 0;     // J/kg
  float MixConductivity = 0;      // W/(m K)
  float LiquidConductivity = 0;   // W/(m K)
  float MixHeatCapacity = 0;      // J/(kg K)
  float NetRadiation = 0;         // W/m2
  float PoolEmission = 0;         // W/m2
  float ConvectiveFlux = 0;       // W/m2
  float SublimationHeat = 0;      // J/kg
  float ConvectiveCoef = 0;       // W/(m2 K)
  float EvaporativeFlux = 0;      // W/m2
  float SchmidtNumber = 0;
  float MixViscosity = 0;         // Pa s

  // ---- 6. Computation targets ----
  float AveragingTime = 0;   // min
  float PredictionTime = 0;  // min; 10000 = steady state
  float ReceptorHeight = 0;  // m
  TargetSet Targets;
  uint8_t ResultKind = 0;    // 1 isopleths, 2 receptor points, 3 plane maximum

  // ---- 7. Results and working values of the dispersion stages ----
  float Concentration = 0;      // mg/m3
  float PuffAge = 0;            // s
  float PuffMass = 0;           // g
  float PuffConcentration = 0;  // g/m3
  float SigmaDistance = 0;      // m
  float SigmaX = 0, SigmaY = 0, SigmaZ = 0;  // m
  float MaxConcentration = 0;   // mg/m3
  float MaxConcentrationX = 0;  // m
  std::vector<int16_t> ContourPointCount;              // [threshold], 1-based
  std::vector<std::vector<float>> ContourX;            // [threshold][point], 1-based
  std::vector<std::vector<float>> ContourHalfWidth;    // [threshold][point]
  std::vector<std::vector<float>> ContourAxisConc;     // [threshold][point]
  std::vector<float> MaxHalfWidth;                     // [threshold]
  std::vector<float> MaxHalfWidthX;                    // [threshold]
  float HazardDistance = 0;  // m
  float HazardTime = 0;      // min
  float ZoneLength = 0;      // m
  float ZoneAngle = 0;       // deg

  // ---- Results of the isopleth run kept for the report ----
  // The contour data text this computation generated (UTF-8, CR LF line ends;
  // the same text the contour data file holds), so the report never reads a
  // stale file.
  std::string ContourText;
  // True when the hazard march stopped at its 100 km limit with the cloud
  // still above the smallest threshold.
  bool HazardLimitReached = false;
};

// The release modes (ReleaseMode), in the order of the window's list.
namespace release {
enum Mode : uint8_t {
  Instantaneous = 1,      // a mass released at once
  ShortOrContinuous = 2,  // a rate over a duration (10000 min = continuous)
  Stack = 3,              // buoyant gas from a stack
};
}  // namespace release

// Whether the standard deviation of the wind direction was entered
// (SigmaThetaFlag).
namespace sigma_theta {
enum Flag : uint8_t {
  NotGiven = 1,
  Given = 2,
};
}  // namespace sigma_theta

// DayNightFlag: the sun above the horizon at the site, or not.
inline constexpr char kDayFlag[] = "Y";
inline constexpr char kNightFlag[] = "N";

// Duration (min) the model gives an instantaneous release: the puff sum then
// holds floor(0.25 x 20 + 0.5) = 5 puffs released 3 s apart.
inline constexpr float kInstantaneousDuration = 0.25f;

// A release the dispersion model treats as instantaneous.
inline bool IsInstantaneousRelease(float durationMin) { return durationMin <= kInstantaneousDuration; }

// Degrees Celsius to Kelvin. The air, pool and substance temperatures of the
// model use 273.16; the stack gas temperature uses 273.15. Both offsets are
// part of every stored temperature and of the report, so each stays as it is.
inline constexpr double kKelvinOffset = 273.16;
inline constexpr double kStackGasKelvinOffset = 273.15;

// Sentinel for "continuous release", "steady state" and "no mixing lid";
// always compared exactly.
inline constexpr float kSentinel = 10000.0f;

// Sets the constants and the two 14-entry spread tables.
void InitConstants(ModelState& s);

}  // namespace zelto
