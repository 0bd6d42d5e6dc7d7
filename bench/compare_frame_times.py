#!/usr/bin/env python3
"""Side-by-side frame times of two builds of the recognizers.

Writes fixed generated frame sets (per camera and layout: gate-camera walls and cluttered,
rusty, dirty walls), reads them with read_frames / read_frames_cam1 of both builds in turn,
round after round, and prints per camera and layout the mean, median, 90th percentile and
slowest frame of each build (per frame the best of its rounds) and their ratios. Answers of the
two builds must agree frame by frame; any difference is listed. With --pass it also times the
director's folder choice to the fused result of a generated six-photo pass
(director_tests' GeneratedPassTest) for both builds.

Each set is read by a fresh process, so its first frame also pays for the memory the process
touches for the first time. A recognizer runs all day; with --warm-up each process first reads
one frame of another seed, not counted, and the table shows the frames as they come after it.

usage: bench/compare_frame_times.py BASE_BIN NEW_BIN [--rounds 3] [--count 12] [--pass 3]
       [--warm-up] [--cpu N] [--work DIR]
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

LINE = re.compile(r"^(\S+)\s+answer (-?\d+)\s+code (\S+)\s+size/type (\S+)\s+([\d.]+) ms")
TEXTURED = ["--effect", "clutter=1", "--effect", "rust=1", "--effect", "dirt=1", "--effect", "ribs=1"]
SETS = [  # camera, layout, first seed
    (2, "one-line", 500), (2, "two-lines", 600), (2, "vertical", 700), (1, "one-line", 800),
]
WARM_UP_SEED_OFFSET = 99  # past both halves of a set
WARM_UP_NAME = "warm-up.bmp"


def write_sets(make_images, work, count):
    folders = []
    for camera, layout, seed in SETS:
        folder = os.path.join(work, f"cam{camera}-{layout}")
        if not os.path.isdir(folder):
            os.makedirs(folder)
            base = [make_images, "frames", folder, "--camera", str(camera), "--layout", layout]
            subprocess.run(base + ["--count", str(count), "--seed", str(seed)], check=True, stdout=subprocess.DEVNULL)
            subprocess.run(base + ["--count", str(count), "--seed", str(seed + 50), "--first", str(count + 1)]
                           + TEXTURED, check=True, stdout=subprocess.DEVNULL)
        warm_up = os.path.join(work, f"cam{camera}-{layout}-warm-up")
        if not os.path.isdir(warm_up):
            os.makedirs(warm_up)
            subprocess.run([make_images, "frames", warm_up, "--camera", str(camera), "--layout", layout,
                            "--count", "1", "--seed", str(seed + WARM_UP_SEED_OFFSET)],
                           check=True, stdout=subprocess.DEVNULL)
            frame = next(name for name in os.listdir(warm_up) if name.endswith(".bmp"))
            os.rename(os.path.join(warm_up, frame), os.path.join(warm_up, WARM_UP_NAME))
        folders.append((camera, layout, folder))
    return folders


def read_folder(bin_dir, camera, folder, cpu, warm_up):
    program = os.path.join(bin_dir, "read_frames_cam1" if camera == 1 else "read_frames")
    first = [os.path.join(folder + "-warm-up", WARM_UP_NAME)] if warm_up else []
    command = ([] if cpu is None else ["taskset", "-c", str(cpu)]) + [program] + first + [folder]
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    frames = {}
    for line in out.splitlines():
        m = LINE.match(line)
        if m and m.group(1) != WARM_UP_NAME:
            frames[m.group(1)] = (m.group(2, 3, 4), float(m.group(5)))
    return frames


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


def stats(times):
    return (sum(times) / len(times), percentile(times, 0.5), percentile(times, 0.9), max(times))


def pass_time(bin_dir, cpu):
    with tempfile.TemporaryDirectory() as tmp:
        report = os.path.join(tmp, "pass.json")
        command = ([] if cpu is None else ["taskset", "-c", str(cpu)]) + [
            os.path.join(bin_dir, "director_tests"),
            "--gtest_filter=GeneratedPassTest.SixPhotosOfOneContainerReadByBothRecognizers",
            f"--gtest_output=json:{report}"]
        subprocess.run(command, check=True, capture_output=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        with open(report) as f:
            test = json.load(f)["testsuites"][0]["testsuite"][0]
        return float(test["ms_to_fused_result"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("base_bin")
    parser.add_argument("new_bin")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--count", type=int, default=12, help="frames per kind of wall, per set")
    parser.add_argument("--pass", dest="passes", type=int, default=0, help="six-photo passes per build")
    parser.add_argument("--warm-up", action="store_true", help="each process reads an uncounted frame first")
    parser.add_argument("--cpu", type=int, help="pin both builds to this core")
    parser.add_argument("--work", default=os.path.join(tempfile.gettempdir(), "torva-frame-times"))
    args = parser.parse_args()

    folders = write_sets(os.path.join(args.new_bin, "make_test_images"), args.work, args.count)
    best = {"base": {}, "new": {}}
    answers = {"base": {}, "new": {}}
    for _ in range(args.rounds):
        for camera, layout, folder in folders:
            for build, bin_dir in (("base", args.base_bin), ("new", args.new_bin)):
                for name, (answer, ms) in read_folder(bin_dir, camera, folder, args.cpu, args.warm_up).items():
                    key = (camera, layout, name)
                    best[build][key] = min(ms, best[build].get(key, ms))
                    answers[build][key] = answer

    print(f"{'camera':6} {'layout':9} {'n':>3}  {'mean':>15} {'median':>15} {'p90':>15} {'max':>15}   (base -> new ms, ratio)")
    for camera, layout, _ in folders:
        keys = sorted(k for k in best["new"] if k[:2] == (camera, layout))
        base = stats([best["base"][k] for k in keys])
        new = stats([best["new"][k] for k in keys])
        cells = "".join(f" {b:6.1f}>{n:5.1f} {b / n:4.1f}x" for b, n in zip(base, new))
        print(f"cam{camera:<3} {layout:9} {len(keys):3} {cells}")
    differing = [k for k in answers["new"] if answers["base"].get(k) != answers["new"][k]]
    for key in sorted(differing):
        print(f"answer differs: {key}: base {answers['base'].get(key)} new {answers['new'][key]}")
    print(f"answers: {len(answers['new']) - len(differing)} of {len(answers['new'])} frames the same")

    if args.passes:
        times = {"base": [], "new": []}
        for _ in range(args.passes):
            for build, bin_dir in (("base", args.base_bin), ("new", args.new_bin)):
                times[build].append(pass_time(bin_dir, args.cpu))
        b, n = min(times["base"]), min(times["new"])
        print(f"six-photo pass, folder choice to fused result (best of {args.passes}): {b:.0f} ms -> {n:.0f} ms, {b / n:.1f}x")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
