#!/usr/bin/env python3
"""Writes the constant tables of the game from their lists in this folder:
source/weapons/object_type_table.cpp from object_types.txt (rows grouped by their gameplay
values), source/drone/formation_table.cpp from formation_names.txt (the templates' member rows
are laid out here from what each name says it holds) and source/weapons/weapon_table.cpp from
weapons.txt (each record as another one with the fields in which it differs), checked against the
families of weapon_families.txt. Run from the top of the tree; the output is checked in."""
import argparse
import re
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
TOP = HERE.parent.parent
CATEGORIES = {"OBJECT_CATEGORY_NONE": 0, "OBJECT_CATEGORY_AIRCRAFT": 2, "OBJECT_CATEGORY_VEHICLE": 3,
              "OBJECT_CATEGORY_BUILDING": 4, "OBJECT_CATEGORY_AIR_MISSILE": 5,
              "OBJECT_CATEGORY_GROUND_MISSILE": 6}
END_ROW = 995


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def split_names(entry):
    """'450 GDF SPAAG (GDF (AAA))' -> 450, 'GDF SPAAG', 'GDF (AAA)'; the short name is a final
    bracketed group, else the long name itself."""
    number, text = entry.split(" ", 1)
    if text.endswith(")"):
        depth = 0
        for i in range(len(text) - 1, -1, -1):
            depth += {")": 1, "(": -1}.get(text[i], 0)
            if depth == 0:
                break
        if i > 0 and text[i - 1] == " ":
            return int(number), text[:i - 1], text[i + 1:-1]
    return int(number), text, text


def object_rows():
    rows, category = [], None
    for line in (HERE / "object_types.txt").read_text().splitlines():
        m = re.match(r"Category `(\w+)`", line)
        if m:
            category = CATEGORIES[m.group(1)]
            continue
        m = re.match(r"- strength (\d+), hardness (\d+), radar size (\d+), classification (\d+): (.*)\.$", line)
        strength, hardness, radar, target, entries = m.groups()
        for entry in entries.split("; "):
            number, long_name, short_name = split_names(entry)
            assert len(long_name) < 64 and len(short_name) < 16, entry
            rows.append((number, int(strength), int(hardness), long_name, short_name, category, int(radar),
                         int(target)))
    rows.sort(key=lambda r: r[0] == END_ROW)  # stable: the list's order, the end row last
    rows.insert(0, (0, 255, 255, "!! Null Object !!", "!!NULL!!", 0, 10000, 0))
    numbers = [r[0] for r in rows]
    assert len(rows) == 457 and len(set(numbers)) == len(numbers) and numbers[-1] == END_ROW
    return rows


# With --check nothing is written: the names of the files that differ from what would be.
STALE = []
CHECK_ONLY = False


def write_source(path, list_file, header, body):
    lines = [f"// Written by tools/tables/write_tables.py from tools/tables/{list_file}; do not edit.",
             f'#include "{header}"', "", "namespace vyr {", ""] + body + ["", "}  // namespace vyr", ""]
    text = "\n".join(lines)
    if not CHECK_ONLY:
        (TOP / path).write_text(text)
    elif (TOP / path).read_text() != text:
        STALE.append(path)


def write_object_table():
    lines = ["const ObjectTypeInfo object_type_table[OBJECT_TYPE_ROWS] = {"]
    for n, strength, hardness, long_name, short_name, category, radar, target in object_rows():
        lines.append(f"    {{{n}, {strength}, {hardness}, {c_string(long_name)}, {c_string(short_name)}, {category}, "
                     f"{radar}, {target}}},")
    lines.append("};")
    write_source("source/weapons/object_type_table.cpp", "object_types.txt", "source/weapons/object_types.h", lines)


# What each kind of formation holds, leader first, for the allied and the enemy side; the members
# repeat the list after the leader.
KINDS = [
    ("DSHK Machine Gun", [852, 987], [852, 916]),
    ("M2 Heavy Machine Gun", [966, 919], [966, 919]),
    ("Mortar and", [792, 919], [792, 916]),
    ("D30 Artillery", [204, 987], [204, 916]),
    ("Mujaheddin", [987, 988, 989], [987, 988, 989]),
    ("American", [919, 920, 921], [919, 920, 921]),
    ("Russian Ground Troops", [916, 917, 918], [916, 917, 918]),
    ("Russian Troops", [916, 917, 918], [916, 917, 918]),
    ("Random Humans", [640, 743, 984], [640, 743, 984]),
    ("Tank Transport", [523, 559], [523, 559]),
    ("Tanks & Wagons", [523, 559, 562], [523, 559, 562]),
    ("Train - Supplies", [523, 556, 562], [523, 556, 562]),
    ("Civilian Traffic", [216, 426, 422], [216, 426, 422]),
    ("Fuel Dump", [472, 398, 214], [472, 398, 214]),
    ("Supply Dump", [473, 219, 214], [473, 219, 214]),
    ("supply dump", [473, 219, 214], [473, 219, 214]),
    ("Forward Base", [447, 214, 469, 219], [447, 214, 99, 219]),
    ("ortifications", [214, 257, 215], [214, 257, 215]),
    ("Bridge Laying", [460, 464, 244], [460, 464, 456]),
    ("ECM", [496, 93, 54], [496, 93, 54]),
    ("Comms Centre", [532, 526, 77], [532, 526, 77]),
    ("Main HQ", [532, 447, 54], [532, 447, 54]),
    ("Air Defence", [469, 211, 80], [84, 87, 99, 203]),
    ("air defence", [469, 211, 80], [84, 87, 99, 203]),
    ("Artillery", [299, 74], [204, 74]),
    ("HMMWV", [924], [924]),
    ("UAZ Jeep", [912], [912]),
    ("Truck and APC", [219, 208], [219, 54]),
    ("Truck and Jeep", [219, 912], [219, 912]),
    ("Truck and HMMWV", [219, 924], [219, 924]),
    ("APC Supply", [208, 219, 398], [54, 219, 398]),
    ("APC Medium Supply", [208, 219, 398], [54, 219, 398]),
    ("Supply", [219, 398], [219, 398]),
    ("Truck", [219], [219]),
    ("APC", [208, 96], [54, 201]),
    ("Israeli", [1050], [1050]),
    ("Tank", [244, 68], [93, 90]),
]
COUNTS = [("Sixteen", 16), ("Twelve", 12), ("Eight", 8), ("Four", 4), ("Two", 2), ("Large", 8),
          ("Battle Group", 8), ("Battalion", 8), ("Heavy", 6), ("Medium", 5), ("Machine Gun", 2),
          ("Small", 3), ("Light", 3)]
# Templates whose leader does not stand on the reference point: the formation is centred on it.
CENTRED = {1, 27, 53, 54, 64, 68, 70, 72, 75, 77, 88, 130, 131, 132}
FOOT = 256


def formation_rows(kind, name):
    enemy = "{Enemy}" in name.split(",")[0] or "Russian" in name or "{enemy}" in name
    # Patrols, armour and battle groups: tanks and their escorts.
    objects = next(((e if enemy else a) for key, a, e in KINDS if key in name), [93, 54] if enemy else [244, 96])
    count = next((n for key, n in COUNTS if key in name), 4)
    soldiers = objects[0] >= 640 and objects[0] != 792
    spacing = (10 if soldiers else 100) * FOOT
    column = any(key in name for key in ("Column", "column", "Convoy", "Train", "Traffic"))
    rows = []
    for i in range(count):
        obj = objects[0] if i == 0 else objects[1:][(i - 1) % (len(objects) - 1)] if len(objects) > 1 else objects[0]
        if column:
            x, y = 0, -i * spacing
        else:
            x, y = (i % 4) * spacing, -(i // 4) * spacing
        rows.append([x, y, 0, obj])
    if kind in CENTRED:
        cx = max(r[0] for r in rows) // 2
        cy = min(r[1] for r in rows) // 2
        for r in rows:
            r[0] -= cx
            r[1] -= cy
        if rows[0][0] == 0 and rows[0][1] == 0:
            for r in rows:
                r[1] += spacing
    return rows


# The templates that missions and the editor rely on exactly.
FIXED = {
    1: [[0, 25600, 0, 93], [25600, 0, 0, 93], [-25600, 0, 0, 93], [0, -25600, 0, 93]],
    6: [[0, 0, 0, 219], [0, -17152, 0, 219], [0, -32256, 0, 219]],
    27: [[-63232, 93952, 0, 204], [-31616, 93952, 0, 204], [0, 93952, 0, 204], [31616, 93952, 0, 74]],
    # A stretcher party: the front bearer, the casualty on the stretcher 4 ft behind him and the
    # rear bearer 8 ft behind (members are listed newest first: the rear bearer is the first).
    141: [[0, 0, 0, 916], [0, -1024, 0, 1013], [0, -2048, 0, 916]],
}


def write_formation_table():
    names = (HERE / "formation_names.txt").read_text().splitlines()
    assert len(names) == 164
    lines = ["const FormationTemplate formation_table[FORMATION_TYPES] = {"]
    for kind, name in enumerate(names):
        rows = [] if kind == 0 else FIXED.get(kind) or formation_rows(kind, name)
        body = ", ".join("{%d, %d, %d, %d}" % tuple(r) for r in rows)
        lines.append(f"    {{{len(rows)}, {{{body}}}}},  // {kind}")
    lines += ["};", "", "const char* const formation_names[FORMATION_TYPES] = {"]
    lines += [f"    {c_string(name)}," for name in names]
    lines.append("};")
    write_source("source/drone/formation_table.cpp", "formation_names.txt", "source/drone/formations.h", lines)


# The record's fields in their order, with the C++ type each is written as.
WEAPON_FIELDS = [
    ("round_class", int), ("guidance", int), ("weapon_flags", int), ("burst_length", int), ("weapon_kind", int),
    ("decoy_resistance", int), ("motor_acceleration", int), ("motor_burn_time", int), ("burst_pause", int),
    ("guidance_start_distance", int), ("arc_min_pitch", int), ("arc_max_pitch", int), ("arc_half_width", int),
    ("penetration", int), ("damage", int), ("blast_radius", int), ("min_range", int), ("max_range", int),
    ("min_flight_speed", int), ("top_speed", int), ("launch_speed", int), ("round_object", int),
    ("fire_interval", int), ("turn_acceleration", int), ("spread", int), ("drag_coefficient", float),
    ("round_weight", int), ("mount_weight", int), ("pod_object", int), ("pod_slots", int),
    ("rounds_per_station", int), ("store_part_object", int), ("store_part_shown", int), ("weight_lb", float),
    ("motor_object", int), ("closing_time_factor", float),
]
WEAPON_COUNT = 109
WEAPON_NAME_COUNT = 108
NO_NAME = "!!Erf!!"


def binary_angle(degrees):
    """Whole turns of 2^32, kept as a signed 32-bit word; 30.5 degrees was always written
    truncated."""
    if degrees == 30.5:
        return 363879173
    units = int(round(degrees * 2 ** 32 / 360))
    return (units + 2 ** 31) % 2 ** 32 - 2 ** 31


def weapon_value(name, text):
    m = re.match(r"^(-?[\d.e+-]+)( ft/s²| ft/s| ft| world units?/s| world units?|°)?( \(negative\))?$", text)
    number, unit = m.group(1), (m.group(2) or "").strip()
    if unit == "°":
        return binary_angle(float(number))
    kind = dict(WEAPON_FIELDS)[name]
    value = float(number) * (256 if unit.startswith("ft") else 1)
    return value if kind is float else int(value)


def c_int(value):
    return "INT32_MIN" if value == -2 ** 31 else str(value)


def weapon_records():
    """Every record resolved: "as N" copies every field of N, then the listed ones are set."""
    lines = {}
    for line in (HERE / "weapons.txt").read_text().splitlines():
        m = re.match(r'- (\d+) ("(.*?)"|\(no name\)|\(not in `weapon_names`\)): (.*)$', line)
        wid, name, body = int(m.group(1)), m.group(3), m.group(4)
        base = re.match(r"as (\d+)", body)
        fields = re.sub(r"^as \d+(, except |\.$)", "", body).rstrip(".")
        changes = {}
        for part in re.split(r", (?=[a-z_]+ )", fields) if fields else []:
            field, text = part.split(" ", 1)
            assert field in dict(WEAPON_FIELDS), part
            changes[field] = weapon_value(field, text)
        lines[wid] = (name, int(base.group(1)) if base else None, changes)
    assert sorted(lines) == list(range(WEAPON_COUNT))
    records = {}

    def resolve(wid, seen=()):
        if wid not in records:
            assert wid not in seen, f"weapon {wid} is built from itself"
            _, base, changes = lines[wid]
            record = dict(resolve(base, seen + (wid,))) if base is not None else {}
            record.update(changes)
            assert set(record) == set(dict(WEAPON_FIELDS)), f"weapon {wid} lacks a field"
            records[wid] = record
        return records[wid]

    names = [lines[wid][0] for wid in range(WEAPON_NAME_COUNT)]
    return [resolve(wid) for wid in range(WEAPON_COUNT)], names


def id_list(text):
    ids = []
    for item in text.split():
        first, _, last = item.partition("-")
        ids += range(int(first), int(last or first) + 1)
    return ids


def check_weapon_families(records, families):
    seen = []
    for line in families.read_text().splitlines():
        if not line or line.startswith("#"):
            continue
        family, fields, ids = line.split(":")
        for wid in id_list(ids):
            for field_value in fields.split(","):
                field, value = field_value.split()
                assert records[wid][field] == int(value), f"weapon {wid} of the {family}: {field} {records[wid][field]}"
            if "guns" in family:
                assert records[wid]["launch_speed"] == records[wid]["top_speed"], f"gun {wid}: launch speed"
            if family == "rockets":
                assert records[wid]["drag_coefficient"] > 0, f"rocket {wid}: no drag"
            seen.append(wid)
    assert sorted(seen) == list(range(1, WEAPON_COUNT)), "every weapon but 0 in exactly one family"


def write_weapon_table(families):
    records, names = weapon_records()
    check_weapon_families(records, families)
    lines = ["// " + ", ".join(name for name, _ in WEAPON_FIELDS), "const WeaponInfo weapon_table[WEAPON_COUNT] = {"]
    for wid, record in enumerate(records):
        values = ", ".join(repr(record[name]) if kind is float else c_int(record[name]) for name, kind in WEAPON_FIELDS)
        lines.append(f"    {{{values}}},  // {wid}")
    lines += ["};", "", "const char* const weapon_names[WEAPON_NAME_COUNT] = {"]
    lines += [f"    {c_string(name or NO_NAME)},  // {wid}" for wid, name in enumerate(names)]
    lines.append("};")
    write_source("source/weapons/weapon_table.cpp", "weapons.txt", "source/weapons/weapon_info.h", lines)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", action="store_true", help="write nothing; fail when an output is stale")
    parser.add_argument("--families", type=Path, default=HERE / "weapon_families.txt")
    arguments = parser.parse_args()
    CHECK_ONLY = arguments.check
    write_object_table()
    write_formation_table()
    write_weapon_table(arguments.families)
    if STALE:
        sys.exit("stale: " + ", ".join(STALE))
