#!/usr/bin/env python3
"""Strip packing on the thirteen ESICUP instances, one after the other.

    bench/esicup/run.py VARNEST [SECONDS] [OUTPUT_FOLDER] [--data FOLDER] [-- STRIP_FLAGS...]

Runs `VARNEST strip` on every instance of the data folder with the same time
limit (default 60 s), keeps each layout, drawing and message log in the output
folder (default esicup-results), checks every layout with `VARNEST validate`,
and prints one Markdown table: instance, items, density reached, best
published density, their ratio, engine runs, seconds. The published densities
are read from the table of records in the data folder's README, the item
counts from the instances themselves. Flags after `--` go to every strip run
(for example `-- --level 300`). Exit status 1 when any run fails or any layout
does not validate. Not part of the test suite: it takes 13 x SECONDS.
"""

import argparse
import json
import pathlib
import subprocess
import sys

RECORD_COLUMN = "record density %"


def default_data_folder():
    # The repository sits beside the shared folder, as the tests assume.
    return pathlib.Path(__file__).resolve().parents[2].parent / "shared" / "datasets" / "esicup"


def published_densities(readme):
    """The README's table of records: instance -> record density (a fraction)."""
    header = None
    densities = {}
    for line in readme.read_text(encoding="utf-8").splitlines():
        if not line.startswith("|"):
            if densities:
                break  # the end of the table of records
            header = None
            continue
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if header is None:
            if "instance" in cells and RECORD_COLUMN in cells:
                header = cells
            continue
        if set("".join(cells)) <= set("-: "):
            continue  # the rule under the header
        row = dict(zip(header, cells))
        densities[row["instance"]] = float(row[RECORD_COLUMN]) / 100.0
    if not densities:
        sys.exit(f"run.py: no table with a '{RECORD_COLUMN}' column in {readme}")
    return densities


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("varnest", help="the varnest program")
    parser.add_argument("seconds", nargs="?", type=float, default=60.0,
                        help="time limit per instance (default 60)")
    parser.add_argument("output", nargs="?", default="esicup-results",
                        help="folder for layouts, drawings and logs (default esicup-results)")
    parser.add_argument("--data", type=pathlib.Path, default=default_data_folder(),
                        help="folder of the instances and their README")
    argv = sys.argv[1:]
    extra = []
    if "--" in argv:
        extra = argv[argv.index("--") + 1:]
        argv = argv[:argv.index("--")]
    args = parser.parse_args(argv)

    records = published_densities(args.data / "README.md")
    instances = sorted(args.data.glob("*.json"))
    if not instances:
        sys.exit(f"run.py: no instances in {args.data}")
    output = pathlib.Path(args.output)
    output.mkdir(parents=True, exist_ok=True)

    rows = []
    failed = False
    for instance in instances:
        name = instance.stem
        items = sum(item["demand"] for item in json.loads(instance.read_text())["items"])
        layout = output / f"{name}.json"
        log = output / f"{name}.log"
        print(f"{name}: {args.seconds:g} s ...", file=sys.stderr, flush=True)
        with log.open("w") as messages:
            strip = subprocess.run(
                [args.varnest, "strip", str(instance), "-o", str(layout), "--svg",
                 str(output / f"{name}.svg"), "--time-limit", str(args.seconds)] + extra,
                stdout=messages, stderr=subprocess.STDOUT)
            valid = strip.returncode == 0 and subprocess.run(
                [args.varnest, "validate", str(instance), str(layout)],
                stdout=messages, stderr=subprocess.STDOUT).returncode == 0
        if not valid:
            failed = True
            rows.append(f"| {name} | {items} | failed, see {log} | | | | |")
            continue
        result = json.loads(layout.read_text())
        summary = result["strip"]
        complete = result["placed_parts"] == result["parts"]
        density = f"{100 * summary['density']:.2f} %" + ("" if complete else " (incomplete)")
        record = records.get(name)
        published = f"{100 * record:.2f} %" if record else "?"
        ratio = f"{summary['density'] / record:.3f}" if record else "?"
        rows.append(f"| {name} | {items} | {density} | {published} | {ratio} | "
                    f"{summary['runs']} | {summary['seconds']:.1f} |")

    print(f"Strip packing, {args.seconds:g} s per instance"
          + (f", flags {' '.join(extra)}" if extra else "") + ":")
    print()
    print("| instance | items | density | best published | ratio | runs | seconds |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    for row in rows:
        print(row)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
