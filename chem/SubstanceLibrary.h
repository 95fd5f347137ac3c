// The substance library: real substances with both parameter blocks, loaded
// read-only into the chemical list after the user-defined substance.
//
// File "CHEMLIB.DAT" beside the executable, GBK, CR LF. Outside a block a line
// is blank or a comment starting with ';'. Each substance is
//   [SUBSTANCE]
//   NameEn=...  NameZh=...  CAS=...  UN=...  Formula=...  PAC=p1,p2,p3,unit  Source=...
//   [CH.DAT]    the 13-line general block
//   [EVAP.DAT]  the 14-line Vossler block (section absent without a set)
//   [END]
// Every block goes through ParseParamBlock with the checks on; a substance
// refused there (or malformed) is skipped and named in one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ModelState.h"

namespace zelto {

inline constexpr char kLibraryFileName[] = "CHEMLIB.DAT";

// Most bytes read from a library file (the shipped one is a few hundred KB);
// a larger file counts as damaged.
inline constexpr size_t kLibraryMaxBytes = 8 * 1024 * 1024;

// Most substances taken from one file: the chemical list is indexed by 16-bit
// integers. Substances beyond are skipped and named.
inline constexpr int kLibraryMaxSubstances = 5000;

// The notice shown once when the library cannot be used; the list then holds
// only the temporary and the user-defined substance.
inline constexpr char kLibraryUnusableNotice[] =
    "物质库文件CHEMLIB.DAT缺失或已损坏，物质列表中只有临时物质和自定义物质。";

// The header of one library substance (what the chemical list has no field for).
struct LibrarySubstance {
  std::string NameEn;   // upper-case ASCII; also the ChemicalEntry's Name
  std::string NameZh;
  std::string Cas;      // "7782-50-5"
  std::string Un;       // "1017", or empty when none is known
  std::string Formula;  // "Cl2"
  bool HasPac = false;  // PAC-1/2/3 published
  float Pac[3] = {0, 0, 0};
  std::string PacUnit;  // "ppm" or "mg/m3"
  std::string Source;   // provenance key
  int16_t ChemicalIndex = 0;  // slot in Chemicals
  bool HasVossler = false;    // the substance has a Vossler set
};

// The library as loaded: headers in file order, with their slots.
struct SubstanceLibrary {
  std::vector<LibrarySubstance> Substances;
  // The substance at chemical slot index, or null when the slot is not a
  // library substance.
  const LibrarySubstance* AtSlot(int index) const;
  // The first substance with this CAS number (compared without blanks), or null.
  const LibrarySubstance* FindCas(const std::string& cas) const;
};

// Result of reading a library text.
struct LibraryLoad {
  int Accepted = 0;
  std::vector<std::string> Refusals;  // one line per substance skipped
};

// Appends the substances of the library text (UTF-8, CR LF or LF line ends)
// to s.Chemicals and s.VosslerSets after their last slots, each block parsed
// with the checks on, and their headers to lib. Returns false when not one
// substance was accepted.
bool ParseSubstanceLibrary(ModelState& s, const std::string& text, SubstanceLibrary& lib,
                           LibraryLoad& load);

// Reads the library file at path (GBK, at most kLibraryMaxBytes) and parses it.
// False when the file is missing, unreadable, too large or yields no
// substance; the lists then keep their slots as before.
bool LoadSubstanceLibraryFile(ModelState& s, const std::string& path, SubstanceLibrary& lib,
                              LibraryLoad& load);

}  // namespace zelto
