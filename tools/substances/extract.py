#!/usr/bin/env python3
"""Refreshes the source-table extracts under data/substances/ from a clone of
the public repository CalebBell/chemicals.

The generator reads only the extracts; this tool is run by hand when a
substance is added to data/substances/substances.csv. Each extract keeps the
header and, unchanged, the rows whose CAS number is in the selection (ChemSep:
the whole <compound> element), so every row stays identifiable in its table.

Usage: extract.py GIT_DIR [COMMIT]
  GIT_DIR: the .git directory (or bare repository) of CalebBell/chemicals
Python 3 standard library and the git command.
"""

import csv
import os
import re
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SRC = os.path.join(ROOT, "data", "substances")

# table path in the repository -> column holding the CAS number
TABLES = {
    "chemicals/Critical Properties/Yaws Collection.tsv": 0,
    "chemicals/Critical Properties/IUPACOrganicCriticalProps.tsv": 0,
    "chemicals/Critical Properties/CRCCriticalOrganics.tsv": 0,
    "chemicals/Critical Properties/Mathews1972InorganicCriticalProps.tsv": 0,
    "chemicals/Vapor Pressure/Table 2-8 Vapor Pressure of Inorganic and Organic Liquids.tsv": 0,
    "chemicals/Vapor Pressure/Antoine Collection Poling.tsv": 0,
    "chemicals/Vapor Pressure/Landolt_antoine_V20.tsv": 0,
    "chemicals/Vapor Pressure/VDI PPDS Boiling temperatures at different pressures.tsv": 0,
    "chemicals/Vapor Pressure/Wagner Original McGarry.tsv": 0,
    "chemicals/Density/Perry Parameters 105.tsv": 0,
    "chemicals/Density/VDI PPDS Density of Saturated Liquids.tsv": 0,
    "chemicals/Phase Change/Table 2-150 Heats of Vaporization of Inorganic and Organic Liquids.tsv": 0,
    "chemicals/Phase Change/VDI PPDS Enthalpies of vaporization.tsv": 0,
    "chemicals/Phase Change/Yaws Boiling Points.tsv": 0,
    "chemicals/Viscosity/Table 2-312 Vapor Viscosity of Inorganic and Organic Substances.tsv": 0,
    "chemicals/Viscosity/VDI PPDS Dynamic viscosity of gases polynomials.tsv": 0,
    "chemicals/Viscosity/PolingLJ.tsv": 0,
    "chemicals/Viscosity/MagalhaesLJ.tsv": 0,
    "chemicals/Thermal Conductivity/Table 2-314 Vapor Thermal Conductivity of Inorganic and Organic Substances.tsv": 0,
    "chemicals/Thermal Conductivity/Table 2-315 Thermal Conductivity of Inorganic and Organic Liquids.tsv": 0,
    "chemicals/Thermal Conductivity/VDI PPDS Thermal conductivity of gases.tsv": 0,
    "chemicals/Thermal Conductivity/VDI PPDS Thermal conductivity of saturated liquids.tsv": 0,
    "chemicals/Heat Capacity/PolingDatabank.tsv": 0,
    "chemicals/Misc/Physical Constants of Organic Compounds.csv": 0,
    "chemicals/Misc/Physical Constants of Inorganic Compounds.csv": 0,
    "chemicals/Identifiers/chemical identifiers pubchem small.tsv": 1,
    "chemicals/Safety/Ontario Exposure Limits.tsv": 0,
}
CHEMSEP = "chemicals/Misc/ChemSep8.32.xml"


def show(git_dir, commit, path):
    return subprocess.run(["git", "--git-dir", git_dir, "show", "%s:%s" % (commit, path)],
                          check=True, stdout=subprocess.PIPE).stdout.decode("utf-8")


def selection():
    with open(os.path.join(SRC, "substances.csv"), encoding="utf-8", newline="") as fh:
        return {row["cas"].strip() for row in csv.DictReader(fh) if row["cas"].strip()}


def main(argv):
    if len(argv) < 2:
        raise SystemExit(__doc__)
    git_dir = argv[1]
    commit = argv[2] if len(argv) > 2 else "HEAD"
    wanted = selection()
    for path, col in TABLES.items():
        text = show(git_dir, commit, path)
        lines = text.split("\n")
        keep = [lines[0]]
        for line in lines[1:]:
            cells = line.split("\t")
            if len(cells) > col and cells[col].strip() in wanted:
                keep.append(line)
        out = os.path.join(SRC, "chemicals", os.path.basename(path))
        with open(out, "w", encoding="utf-8", newline="") as fh:
            fh.write("\n".join(keep) + "\n")
    text = show(git_dir, commit, CHEMSEP)
    head = text.split("\n", 1)[0]
    blocks = re.findall(r"<compound>.*?</compound>", text, re.S)
    keep = [b for b in blocks
            if (re.search(r'<CAS name="CAS number"\s+value="([^"]*)"', b) or [None, None])[1] in wanted]
    with open(os.path.join(SRC, "chemsep", "ChemSep8.32-extract.xml"), "w", encoding="utf-8",
              newline="") as fh:
        fh.write(head + "\n\n" + "\n\n".join(keep) + "\n</compounds>\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
