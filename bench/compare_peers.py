#!/usr/bin/env python3
"""Runs the picture conversions with `tavlix convert` and, in the same run,
with the other tools that do the same job where they are installed
(poppler's pdfimages and pdftoppm, img2pdf, ImageMagick's convert). Prints
for each conversion the median wall time of repeated runs and the peak
CPU time (user and system, all threads), the peak memory of the process,
and each peer's time as a multiple of ours. With --baseline, a second build
of tavlix (say, of the main branch) runs beside ours in the same run.

Usage: compare_peers.py --tavlix BUILD/src/cli/tavlix --inputs BUILD/bench/tavlix_bench_inputs
                        [--baseline OTHER/src/cli/tavlix] [--runs 5]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(command, workdir):
    """Wall seconds, CPU seconds and peak resident memory (MB) of one run of the command."""
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=workdir, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    stderr = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        last_line = stderr.strip().splitlines()[-1] if stderr.strip() else f"exit status {status}"
        raise RuntimeError(last_line)
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0


def measure(command, workdir, runs):
    """Median wall seconds, median CPU seconds and the largest peak memory."""
    times, cpus, peaks = [], [], []
    for _ in range(runs):
        elapsed, cpu, peak = run_once(command, workdir)
        times.append(elapsed)
        cpus.append(cpu)
        peaks.append(peak)
    return statistics.median(times), statistics.median(cpus), max(peaks)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tavlix", required=True)
    parser.add_argument("--inputs", required=True, help="the tavlix_bench_inputs program")
    parser.add_argument("--baseline", help="another build of tavlix to run beside ours")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    tavlix = os.path.abspath(args.tavlix)
    baseline = os.path.abspath(args.baseline) if args.baseline else None

    with tempfile.TemporaryDirectory(prefix="tavlix-peers-") as work:
        subprocess.run([os.path.abspath(args.inputs), work], check=True, stdout=subprocess.DEVNULL)
        png, jpeg, pdf = "whiteboard.png", "whiteboard.jpg", "board4.pdf"
        have = lambda tool: shutil.which(tool) is not None
        # (conversion, pages, our command, [(peer, command, needed tool)])
        tasks = [
            ("board PDF -> PNG", 4, [tavlix, "convert", pdf, "out.png", "--force"],
             [("pdfimages -png", ["pdfimages", "-png", pdf, "pi"], "pdfimages")]),
            ("board PDF -> JPEG", 4, [tavlix, "convert", pdf, "out.jpg", "--force"],
             [("pdftoppm -jpeg -r 300", ["pdftoppm", "-jpeg", "-r", "300", pdf, "pt"], "pdftoppm")]),
            ("PNG -> PDF", 1, [tavlix, "convert", png, "png.pdf", "--force"],
             [("img2pdf", ["img2pdf", png, "-o", "i2p.pdf"], "img2pdf"),
              ("convert", ["convert", png, "im-png.pdf"], "convert")]),
            ("JPEG -> PDF", 1, [tavlix, "convert", jpeg, "jpeg.pdf", "--force"],
             [("img2pdf", ["img2pdf", jpeg, "-o", "i2j.pdf"], "img2pdf"),
              ("convert", ["convert", jpeg, "im-jpg.pdf"], "convert")]),
            ("PNG -> JPEG", 1, [tavlix, "convert", png, "c.jpg", "--force"],
             [("convert", ["convert", png, "im.jpg"], "convert")]),
            ("JPEG -> PNG", 1, [tavlix, "convert", jpeg, "c.png", "--force"],
             [("convert", ["convert", jpeg, "im.png"], "convert")]),
        ]
        print(f"{'conversion':<20} {'tool':<24} {'median ms':>10} {'per page':>9} {'CPU ms':>8} {'peak MB':>8} "
              f"{'vs tavlix':>10}")

        def row(name, tool, result, pages, ours=None):
            wall, cpu, peak = result
            ratio = f"{wall / ours:9.1f}x" if ours else ""
            print(f"{name:<20} {tool:<24} {wall * 1000:10.0f} {wall * 1000 / pages:9.0f} {cpu * 1000:8.0f} "
                  f"{peak:8.1f} {ratio:>10}")

        for name, pages, ours, peers in tasks:
            if baseline:
                peers = [("tavlix (baseline)", [baseline] + ours[1:], baseline)] + peers
            our = measure(ours, work, args.runs)
            row(name, "tavlix convert", our, pages)
            for peer, command, tool in peers:
                if not have(tool):
                    print(f"{'':<20} {peer:<24} {'(not installed)':>10}")
                    continue
                try:
                    row("", peer, measure(command, work, args.runs), pages, our[0])
                except RuntimeError as error:
                    print(f"{'':<20} {peer:<24} failed: {error}")
        sizes = {f: os.path.getsize(os.path.join(work, f)) for f in ("out.png", "pi-000.png") if
                 os.path.exists(os.path.join(work, f))}
        if len(sizes) == 2:
            print(f"\nPNG page size: tavlix {sizes['out.png']} bytes, pdfimages {sizes['pi-000.png']} bytes "
                  f"({sizes['out.png'] / sizes['pi-000.png']:.2f}x)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
