#include <gtest/gtest.h>

#include <string>

#include "chem/ParamBlocks.h"
#include "tests/chem/ChemTestUtil.h"

namespace zelto {
namespace {

using chemtest::StartState;

// The 38 Vossler fields in the order of Values 3..40.
float ModelState::* const kVosslerFields[38] = {
    &ModelState::FreezingPointK,
    &ModelState::VapViscA,     &ModelState::VapViscB,     &ModelState::VapViscC,
    &ModelState::VapViscTmax,  &ModelState::VapViscTmin,
    &ModelState::VapCpA,       &ModelState::VapCpB,       &ModelState::VapCpC,
    &ModelState::VapCpD,       &ModelState::VapCpTmax,    &ModelState::VapCpTmin,
    &ModelState::VapCondA,     &ModelState::VapCondB,     &ModelState::VapCondC,
    &ModelState::VapCondD,     &ModelState::VapCondTmax,  &ModelState::VapCondTmin,
    &ModelState::HeatVapA,     &ModelState::HeatVapB,     &ModelState::HeatVapC,
    &ModelState::HeatVapD,     &ModelState::HeatVapTmax,  &ModelState::HeatVapTmin,
    &ModelState::SatPressA,    &ModelState::SatPressB,    &ModelState::SatPressC,
    &ModelState::SatPressD,    &ModelState::SatPressE,    &ModelState::SatPressF,
    &ModelState::SatPressTmax, &ModelState::SatPressTmin,
    &ModelState::LiqCondA,     &ModelState::LiqCondB,     &ModelState::LiqCondC,
    &ModelState::LiqCondTmax,  &ModelState::LiqCondTmin,
    &ModelState::DiffusionVolume,
};

// Slot 1: a named substance with distinct values everywhere and its Vossler set.
ModelState DefinedSubstance() {
  ModelState s = StartState();
  ChemicalEntry& e = s.Chemicals[1];
  e.Name = "苯";
  e.TwaPpm = 1.5f;
  e.TwaMg = 2.5f;
  e.StelPpm = 3.5f;
  e.StelMg = 4.5f;
  for (int i = 1; i <= 12; ++i) e.Params[i] = 10.0f * i + 0.25f;
  e.VosslerIndex = 1;
  for (int i = 1; i <= 40; ++i) s.VosslerSets[1].Values[i] = 1000.0f + i;
  s.ChemicalIndex = 1;
  return s;
}

void SetVosslerFields(ModelState& s, float v) {
  for (auto field : kVosslerFields) s.*field = v;
}

void ExpectVosslerFields(const ModelState& s, float v) {
  for (int i = 0; i < 38; ++i) EXPECT_EQ(s.*kVosslerFields[i], v) << "Values " << 3 + i;
}

TEST(LoadChemical, CopiesTheGeneralParametersIntoTheirFields) {
  ModelState s = DefinedSubstance();
  std::string message = "old";
  ASSERT_TRUE(LoadChemical(s, message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(s.ChemicalName, "苯");
  EXPECT_EQ(s.TwaPpm, 1.5f);
  EXPECT_EQ(s.TwaMg, 2.5f);
  EXPECT_EQ(s.StelPpm, 3.5f);
  EXPECT_EQ(s.StelMg, 4.5f);
  EXPECT_EQ(s.MolecularWeight, 10.25f);
  EXPECT_EQ(s.BoilingPointK, 20.25f);
  EXPECT_EQ(s.CriticalTempK, 30.25f);
  EXPECT_EQ(s.CriticalPressure, 40.25f);
  EXPECT_EQ(s.CriticalVolume, 50.25f);
  EXPECT_EQ(s.VaporPressA, 60.25f);
  EXPECT_EQ(s.VaporPressB, 70.25f);
  EXPECT_EQ(s.VaporPressC, 80.25f);
  EXPECT_EQ(s.LiquidDensityA, 90.25f);
  EXPECT_EQ(s.LiquidDensityB, 100.25f);
  EXPECT_EQ(s.MolecularDiameter, 110.25f);
  EXPECT_EQ(s.InteractionEnergy, 120.25f);
  EXPECT_EQ(s.VosslerIndex, 1);
}

TEST(LoadChemical, CopiesVosslerValues3To40InOrder) {
  ModelState s = DefinedSubstance();
  SetVosslerFields(s, -7.0f);
  std::string message;
  LoadChemical(s, message);
  for (int i = 0; i < 38; ++i) EXPECT_EQ(s.*kVosslerFields[i], 1003.0f + i) << "Values " << 3 + i;
  // Values 1 and 2 (molecular weight and boiling point copies) go nowhere.
  EXPECT_EQ(s.MolecularWeight, 10.25f);
  EXPECT_EQ(s.BoilingPointK, 20.25f);
}

TEST(LoadChemical, TemporarySubstanceIsNamedAndZeroed) {
  ModelState s = DefinedSubstance();
  std::string message;
  LoadChemical(s, message);  // the defined substance first, so every field is non-zero
  s.ChemicalIndex = 0;
  ASSERT_TRUE(LoadChemical(s, message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(s.ChemicalName, "临时物质");
  EXPECT_EQ(s.TwaPpm, 0.0f);
  EXPECT_EQ(s.StelMg, 0.0f);
  EXPECT_EQ(s.MolecularWeight, 0.0f);
  EXPECT_EQ(s.VaporPressA, 0.0f);
  EXPECT_EQ(s.InteractionEnergy, 0.0f);
  EXPECT_EQ(s.VosslerIndex, 0);
  // No Vossler set: the Vossler fields keep the defined substance's values.
  for (int i = 0; i < 38; ++i) EXPECT_EQ(s.*kVosslerFields[i], 1003.0f + i) << 3 + i;
}

TEST(LoadChemical, VosslerIndexNamingNoSetLeavesTheVosslerFields) {
  struct Case {
    int16_t vosslerIndex;
    int16_t stored;  // what ModelState.VosslerIndex holds afterwards
  };
  // 0 and negatives mean "no set" and are copied; an index above the stored sets
  // also means no set and is stored as 0 so no later stage picks the Vossler model.
  const Case cases[] = {{0, 0}, {-1, -1}, {-32768, -32768}, {2, 0}, {32767, 0}};
  for (const Case& c : cases) {
    ModelState s = DefinedSubstance();
    s.Chemicals[1].VosslerIndex = c.vosslerIndex;
    SetVosslerFields(s, -7.0f);
    std::string message;
    EXPECT_TRUE(LoadChemical(s, message)) << c.vosslerIndex;
    EXPECT_EQ(message, "");
    EXPECT_EQ(s.VosslerIndex, c.stored) << c.vosslerIndex;
    ExpectVosslerFields(s, -7.0f);
    EXPECT_EQ(s.MolecularWeight, 10.25f);  // the general part is still loaded
  }
  // A set allocated beyond VosslerSetCount is not a stored set either.
  ModelState s = DefinedSubstance();
  s.VosslerSets.resize(3);
  s.VosslerSets[2].Values[3] = 55.0f;
  s.Chemicals[1].VosslerIndex = 2;
  SetVosslerFields(s, -7.0f);
  std::string message;
  LoadChemical(s, message);
  EXPECT_EQ(s.VosslerIndex, 0);
  ExpectVosslerFields(s, -7.0f);
}

TEST(LoadChemical, ChemicalIndexNamingNoEntryChangesNothing) {
  for (int16_t index : {int16_t(2), int16_t(-1), int16_t(32767), int16_t(-32768)}) {
    ModelState s = DefinedSubstance();
    s.ChemicalName = "before";
    s.MolecularWeight = 9.0f;
    s.VosslerIndex = 5;
    SetVosslerFields(s, -7.0f);
    s.ChemicalIndex = index;
    std::string message;
    EXPECT_FALSE(LoadChemical(s, message)) << index;
    EXPECT_EQ(message, "物质序号超出范围。");
    LoadChemical(s, message);  // a second call must not crash either
    EXPECT_EQ(s.ChemicalName, "before");
    EXPECT_EQ(s.MolecularWeight, 9.0f);
    EXPECT_EQ(s.VosslerIndex, 5);
    ExpectVosslerFields(s, -7.0f);
  }
  ModelState empty;  // before the lists exist
  std::string message;
  EXPECT_FALSE(LoadChemical(empty, message));
  EXPECT_EQ(message, "物质序号超出范围。");
}

}  // namespace
}  // namespace zelto
