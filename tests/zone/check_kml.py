#!/usr/bin/env python3
"""The KML file zelto-batch writes for an example parses as XML and holds the
expected placemarks; an unwritable map file gives exit status 1, a message
naming it, and no file.

Usage: check_kml.py ZELTO_BATCH EXAMPLE_INI WORK_DIR
"""
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

KML = "{http://www.opengis.net/kml/2.2}"


def main():
    batch, example, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    kml = os.path.join(work, "zone.kml")
    run = subprocess.run([batch, "--out-dir", work, "--kml", kml, example], capture_output=True)
    assert run.returncode == 0, run.stderr.decode()

    root = ET.parse(kml).getroot()
    assert root.tag == KML + "kml", root.tag
    names = [p.findtext(KML + "name") for p in root.iter(KML + "Placemark")]
    # Example 1: three thresholds reached, the confidence sector, the source
    # and three receptor points.
    expected = ["90%保证率危害区", "浓度 ≥ 3 mg/m3", "浓度 ≥ 30 mg/m3", "浓度 ≥ 90 mg/m3",
                "泄漏源", "预测点 1", "预测点 2", "预测点 3"]
    assert len(names) == len(expected), names
    for name, start in zip(names, expected):
        assert name.startswith(start), (name, start)
    # The applicability notes of the computation: a dense gas, an isopleth
    # ending nearer than 100 m.
    for placemark in root.iter(KML + "Placemark"):
        data = {d.get("name"): d.findtext(KML + "value") for d in placemark.iter(KML + "Data")}
        assert data.get("applicability_note_ids") == "dense-gas\nnear-distance", data
    for ring in root.iter(KML + "LinearRing"):
        points = ring.findtext(KML + "coordinates").split()
        assert len(points) >= 4 and points[0] == points[-1], points[:3]

    # A map file that cannot be written: the target is a directory.
    blocked = os.path.join(work, "blocked.kml")
    os.makedirs(blocked)
    run = subprocess.run([batch, "--out-dir", work, "--kml", blocked, example], capture_output=True)
    assert run.returncode == 1, run.returncode
    assert blocked in run.stderr.decode(), run.stderr.decode()
    assert sorted(os.listdir(work)) == ["CONCXY.DAT", "blocked.kml", "zone.kml"], os.listdir(work)
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
