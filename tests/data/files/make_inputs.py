#!/usr/bin/env python3
"""Writes the input files of the file-pair tests (the engine, upgrade and tire
files under tests/data/files). The expected outputs next to them are made by
the tests themselves in approval mode (scripts/approve.sh) and reviewed."""
import math, pathlib

HERE = pathlib.Path(__file__).resolve().parent
CRLF = b"\r\n"


def write(name, data):
    (HERE / name).write_bytes(data)


def lines(*items, end=CRLF):
    return b"".join((i.encode("latin-1") if isinstance(i, str) else i) + end for i in items)


def row(rpm, comp, torque, prefix=""):
    return f"{prefix}RPMTorque=( {rpm:.1f}, {comp:.1f}, {torque:.1f})"


PARAMETERS = [
    "FuelConsumption=5.900e-05   // affected by throttle position and engine speed",
    "FuelEstimate=0.85   // fudge factor",
    "EngineInertia=0.145   // rotational inertia of engine components",
    "IdleThrottle=0.35   // throttle multiplier to help maintain idle speed",
    "IdleRPMLogic=(1100.0, 1200.0)   // attempt to maintain idle speed between these RPMs",
    "LaunchEfficiency=0.925   // efficiency of launch control",
    "LaunchRPMLogic=(5500.0, 6600.0)   // holds RPM in this range before launch",
    "RevLimitRange=(9000, 100, 5)",
    "RevLimitSetting=3",
    "RevLimitLogic=150   // RPM range around current setting where rev limiter operates",
    "RevLimitAvailable=1   // whether to use a rev limit",
    "EngineMapRange=(0, 1, 3)   // 0 = most driveable, max = most power",
    "EngineMapSetting=2",
    "EngineBrakingMapRange=(0, 0.000133, 4)   // input throttle is ranged from minimum to 100%",
    "EngineBrakingMapSetting=1   // the default is 1 * 0.000133 * 15000 RPM",
    "EngineBoostRange=(0.02, 1.5, 6)",
    "EngineBoostSetting=2",
    "BoostEffects=(20, 0.015, 1.02)   // RPM increase per setting, fuel increase, engine wear rate",
    "BoostTorque=-0.005   // less torque per setting",
    "BoostPower=0.00021   // more horsepower per setting",
    "OptimumOilTemp=102.5   // degrees Celsius at which engine operates optimally",
    "CombustionHeat=42.0   // degrees Celsius added per liter of fuel burned",
    "EngineSpeedHeat=0.001   // heat added linearly with engine speed",
    "OilMinimumCooling=0.0082   // heat added linearly with engine speed",
    "OilWaterHeatTransfer=(0.51, 8.1e-05)   // heat transfer from oil to water",
    "WaterMinimumCooling=0.0041   // heat dissipated without radiator",
    "RadiatorCooling=(1.8e-06, 4.5e-06)   // cooling rate with velocity",
    "LifetimeEngineRPM=(8800.0, 200.0)   // base engine speed for lifetime",
    "LifetimeOilTemp=(110.0, 3.0)   // base oil temp for lifetime",
    "LifetimeAvg=14000   // average lifetime in seconds",
    "LifetimeVar=7000   // lifetime random variance",
    "EngineEmission=(0.1, 0.55, -2.4)   // where flames and smoke are emitted",
    "EngineSound=(0.1, 0.55, -2.4)   // where engine sound is played",
    "SpeedLimiter=1   // whether vehicle has a pitlane speed limiter",
    "OnboardStarter=0   // whether vehicle restarts when stalled",
    "StarterTiming=(1.2, 0.4, 0.8)   // cranking time",
]


def sample_rows(n, step=500.0, prefix=""):
    out = []
    for i in range(n):
        rpm = i * step
        torque = round(120 + 300 * math.sin(math.pi * i / (n + 4)), 1)
        out.append(row(rpm, -10 - 2.5 * i, torque, prefix))
    return out


# A whole engine file as the simulator ships it.
write("engine-typical.ini", lines(
    "// Engine of a test car", "[ENGINE]", *sample_rows(21),
    *PARAMETERS, "", "[DRIVELINE]", "GearRatios=(3.1, 2.2, 1.6)", ""))

# The same with LF line ends only, and with CR only (one long line).
write("engine-lf.ini", lines("[ENGINE]", *sample_rows(6), *PARAMETERS[:6], end=b"\n"))
write("engine-cr.ini", lines("[ENGINE]", *sample_rows(6), *PARAMETERS[:6], end=b"\r"))

# Rows written in every odd way a hand-edited file has them.
write("engine-odd-rows.ini", lines(
    "[ENGINE]",
    "RPMTorque=( 0.0, -10.0, 0.0)",
    "RPMTorque=(\t1000.0,\t-20.0,\t150.0)   // a comment after the row",
    "RPMTorque=( 2000.0, -25.0",
    "RPMTorque=( 3000.0)",
    "  Prefix RPMTorque=( 3500.0, -27.5, 201.25) suffix",
    "//RPMTorque=( 3750.0, -28.0, 205.0)",
    "RPMTorque=( 4000.0, -30.0, 210.0, 99.0)",
    "RPMTorque=(4500,-31,212)",
    "RPMTorque=( 1,2,3 )",
    "[SOMETHING ELSE]",
    "RPMTorque=( 5000.0, -32.0, 215.0)   // a second block is dropped on save",
    "IdleRPMLogic=(1000.0, 2000.0)",
    "tail without a line end"))
(HERE / "engine-odd-rows.ini").write_bytes((HERE / "engine-odd-rows.ini").read_bytes()[:-2])

# More rows than the curve has room for.
write("engine-600-rows.ini", lines("[ENGINE]", *sample_rows(600, 25.0), "FuelEstimate=0.9   // kept"))

# Lines longer than a line piece: a row whose key is split across two pieces,
# a long comment, a parameter far along a long line.
long_comment = "// " + "x" * 600
split_row = " " * 250 + row(1000, -20, 150)
far_param = "y" * 300 + "LifetimeAvg=12345   // far along"
write("engine-long-lines.ini", lines("[ENGINE]", row(0, -10, 0), long_comment, split_row, row(2000, -25, 180),
                                     far_param, "FuelEstimate=0.75", "z" * 1000))

# Rows at the edges of a line piece: a key that ends on the piece's last
# byte, one that ends a byte beyond it, one that starts the second piece; and
# lone CRs, which end a row's fields before its last field and not there.
write("engine-piece-edges.ini", lines(
    "[ENGINE]", " " * 244 + row(1000, -20, 150), " " * 245 + row(1500, -22, 160), "x" * 255 + row(2000, -25, 180),
    "RPMTorque=( 2500.0,\r -27.0, 190.0)", "RPMTorque=( 3000.0, -30.0,\r 200.0)", "RPMTorque=( 3500.0\r, -32.0, 205.0)",
    "RPMTorque=( 4000.0, -35.0, \r\t210.0)"))

# NUL bytes: a line's text ends at its NUL, the parameter search at the first.
write("engine-nul.ini", lines("[ENGINE]", row(0, -10, 0), "RPMTorque=( 1000.0,\0 -20.0, 150.0)",
                              row(2000, -25, 180), "FuelEstimate=0.6", "\0", "IdleThrottle=0.9", row(3000, -30, 200)))

# Numbers out of every range, and RPMs out of order.
write("engine-odd-values.ini", lines(
    "[ENGINE]", "RPMTorque=( nan, inf, -inf)", "RPMTorque=( 0x1A, -4000.0, 1e300)", "RPMTorque=( 1e999, 2.5e2, .5)",
    "RPMTorque=( -500.0, +7, 12e)", "RPMTorque=( 3000.0, -30.0, 200.0)", "RPMTorque=( 2000.0, -25.0, 180.0)",
    "RPMTorque=( 2000.0, -25.0, 185.0)", "RPMTorque=( 123456789012345678901234567890, 1e-320, -0.0)",
    "FuelConsumption=abc", "IdleRPMLogic=(1e400, 5)", "LifetimeAvg=2e10"))

# Parameters in odd forms: missing values, a key met first in a comment, a
# key twice, a list without parenthesis, no "=", an empty comment.
write("engine-odd-parameters.ini", lines(
    "[ENGINE]", row(0, -10, 0), row(1000, -20, 150),
    "// IdleThrottle=0.9 mentioned in a comment first", "IdleThrottle=0.4",
    "IdleRPMLogic= (1000.0, 2000.0)   // a blank before the list", "RevLimitRange=9400, 50, 4",
    "LaunchRPMLogic=(5000.0)   // one of two values", "OilWaterHeatTransfer=(0.4962",
    "EngineSound   (0.1, 0.2, 0.3)", "LifetimeAvg=15000   //", "LifetimeAvg=99999   // the second is not read",
    "EngineEmissionX=(9, 9, 9)", "SpeedLimiter=1// no blank before the comment"))

write("engine-no-rows.ini", lines("[ENGINE]", "FuelEstimate=0.9", "// no rows at all"))
write("engine-empty.ini", b"")
write("engine-utf16.ini", "\ufeff[ENGINE]\r\nRPMTorque=( 1000.0, -20.0, 150.0)\r\n".encode("utf-16-le"))

# An upgrade file: rows with HDV=, parameters that belong to the engine.
write("car-upgrade.ini", lines(
    "[UPGRADE]", "Name=Stage 2", *sample_rows(8, 1000.0, "HDV="), "HDV=FuelEstimate=0.95", "HDV=LifetimeAvg=9000",
    "[NEXT]", "Name=Stage 3", "HDV=RPMTorque=( 0.0, -5.0, 10.0)"))


def samples(n, start=0.0, rise=0.004, fall_from=None):
    out = []
    for i in range(n):
        v = start + rise * i if fall_from is None or i < fall_from else start + rise * fall_from - 0.002 * (i - fall_from)
        out.append(f"{v:.6f}")
    return out


def data_lines(values, per_line=10):
    return [" ".join(values[i:i + per_line]) for i in range(0, len(values), per_line)]


def section(name, step, dropoff, values, extra=()):
    return ["[SLIPCURVE]", f"Name={name}", f"Step={step}", f"DropoffFunction={dropoff}", *extra, "Data:",
            *data_lines(values), ""]


write("tire-typical.tbc", lines(
    "[GENERAL]", "Title=front tires", "",
    *section("Front lateral", "0.002", "-0.5", samples(40, 0.0, 0.05, 20)),
    "// between sections",
    *section("Front longitudinal", "0.0025", "3.0", samples(37, 0.0, 0.04, 11)),
    "[COMPOUND]", "Name=Soft", "DryLatLong=(1.0, 1.05)"))

write("tire-five-sections.tbc", lines(
    *[l for k in range(5) for l in section(f"Curve {k + 1}", "0.002", str(k), samples(12 + k, 0.1 * k))]))

write("tire-limits.tbc", lines(
    *section("N" * 60, "0.00125", "-0.25", samples(300, 0.0, 0.003)),
    *section("Short", "0.003", "1.5", samples(2, 0.5)), "[END]"))

write("tire-odd.tbc", lines(
    "[SLIPCURVE]", "Data:", "0.1 0.2 0.3", "",
    "[SLIPCURVE]", "Name=No data here", "Step=0.1", "",
    "[SLIPCURVE]", "DropoffFunction=2.0", "Step=0.004", "Name=Data: in the name", "1.0 2.0", "Data:",
    "0.5 0.6  0.7", "-0.1 0.2", "0.3 0.4 ", "9",
    "[SLIPCURVE] ", "Name=header with a blank is text",
    "[SLIPCURVE]", "Name=Negatives", "Data:", "0.9 -0.8 -0.7", "0.6", "x marks the end"))

# Runs of negative samples: one just short enough for a line of its own.
write("tire-negative-runs.tbc", lines(
    "[SLIPCURVE]", "Name=Runs", "Data:", " ".join(["0.5"] + ["-0.5"] * 19 + ["-12.5"] * 5),
    " ".join(["0.25"] + ["-0.125"] * 30), "1.0", ""))

# Sample lines ending in a blank before CR LF, a sample led by a TAB, and a
# last section that runs to the end of the file without any data.
write("tire-edges.tbc", lines(
    "[SLIPCURVE]", "Name=Edges", "Data:", "0.1 0.2 0.3 ", "0.4 \t0.5 0.6", "0.7 ", "",
    "[SLIPCURVE]", "Name=Never any data", "Step=0.5"))

write("tire-lf.tbc", lines(*section("Only LF", "0.002", "1.0", samples(5)), end=b"\n"))
write("tire-empty.tbc", lines("[GENERAL]", "Title=no curves"))

# The ways a slip curve's samples are written by hand or by other tools, each
# of which must read whole: two blanks and tabs between samples, lines that
# start with a blank, lines that start with a negative sample; text among the
# samples that is no number; comments after the header values; LF line ends.
write("tire-separators.tbc", lines(
    "[SLIPCURVE]", "Name=Two blanks", "Step=0.002", "DropoffFunction=2.0", "Data:",
    *["  ".join(samples(12)[i:i + 4]) for i in range(0, 12, 4)], "",
    "[SLIPCURVE]", "Name=Tabs", "Step=0.002", "DropoffFunction=2.0", "Data:",
    *["\t".join(samples(12, 0.5)[i:i + 4]) for i in range(0, 12, 4)], ""))
write("tire-leading-blanks.tbc", lines(
    "[SLIPCURVE]", "Name=Indented", "Step=0.002", "DropoffFunction=2.0", "Data:",
    *[" " + l for l in data_lines(samples(25))], "\t0.5 0.6", ""))
write("tire-negative-lines.tbc", lines(
    "[SLIPCURVE]", "Name=Below zero", "Step=0.002", "DropoffFunction=2.0", "Data:",
    *data_lines(samples(60, 0.2, -0.01)), "", "[COMPOUND]", "Name=Soft"))
write("tire-unread.tbc", lines(
    "[SLIPCURVE]", "Name=Odd text", "Step=0.002", "DropoffFunction=2.0", "Data: 0.9 on the data line",
    "0.1 0.2 n/a 0.3", "0.4 0,5 0.6", "Data:", "0.7 0.8", "", "[END]"))
write("tire-comments.tbc", lines(
    "// road tyre", "[SLIPCURVE]", "Name=Front   // front axle", "Step=0.0015   // slip angle step in radians",
    "DropoffFunction=3.0 // how fast grip falls", "Data:   // samples follow", *data_lines(samples(12)), ""))
write("tire-lf-comments.tbc", lines(
    "[SLIPCURVE]", "Name=Only LF // kept", "Step=0.002 // kept", "DropoffFunction=1.0", "Data:",
    "0.1  0.2", "-0.3 0.4", "", end=b"\n"))

# All of the above in one file, as the window flow opens it.
write("tire-all-variants.tbc", lines(
    "// hand-made", "[SLIPCURVE]", "Name=Front   // front axle", "Step=0.0015   // slip angle step in radians",
    "DropoffFunction=3.0 // how fast grip falls", "Data:",
    "0.000000  0.250000  0.500000  0.750000", "0.900000\t1.000000\t0.950000", " 0.900000 0.850000",
    "-0.050000 0.800000 n/a 0.7", "",
    "[SLIPCURVE]", "Name=Rear", "Step=0.002", "DropoffFunction=2.0", "Data:", "0.1 0.2", "", "[COMPOUND]"))

# Negative and large samples in every column: the table shows each within
# its cell.
write("tire-negative-wide.tbc", lines(
    *[l for name in ("Neg", "B", "C") for l in section(name, "0.002", "1.0",
      ["-0.016121", "-10.123456", "-123.456789", "0.5"] + (["-1.0", "1.0", "-0.5", "-0.25"] if name == "Neg" else []))]))
