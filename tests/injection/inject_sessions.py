#!/usr/bin/env python3
"""Allocation-failure injection over every session case.

For each case the stand-in host first runs normally, with the interposer
counting the plug-in's allocations; then once per allocation with that
allocation failing (the first, the second, ... until a run makes no more).
Each injected run must end as a run of the real host would accept:

- the host exits as in the normal run (no crash, no signal);
- the plug-in holds no block when the host ends (no leak);
- every text it logs is a whole text of the normal run or a failure line;
- when it logs less than the normal run, it logs a failure line saying so;
- every file is either as before the run or as the normal run wrote it;
- it confirms a saved text file only when that file is whole;
- once it logs that the process is cancelled, it calls the host no more
  until the host's next execute.

usage: inject_sessions.py HOSTS_DIR PLUGIN INTERPOSER CASE.answers...
"""

import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

FAILURE_TEXTS = {
    '"Error while printing current SRF header data to ascii"',
    '"Process cancelled."',
}
# The text file's own name, which always ends in ".txt".
FAILURE_PATTERNS = [
    re.compile(r'^"Header information could not be written to the text file .*\.txt\."$'),
]
SAVED_CONFIRMATION = ('"Header information of file saved to text.\\n'
                      'It is located in the same folder as the surface file."')
LOG_CALL = re.compile(r'^zvLogText\((".*")\) -> \S+$')
CANCELLED = 'zvLogText("Process cancelled.") -> '
MAX_RUNS_PER_CASE = 500


def settings(case_file):
    values = {}
    with open(case_file, encoding="utf-8") as script:
        for line in script:
            match = re.match(r"^#> (\w+): (.*)$", line.rstrip("\n"))
            if match:
                values.setdefault(match.group(1), []).append(match.group(2))
    return values


def is_failure_text(text):
    return text in FAILURE_TEXTS or any(p.match(text) for p in FAILURE_PATTERNS)


def snapshot(folder):
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, folder)
            if relative in ("trace.txt", "stdout.txt", "stderr.txt", "report.txt"):
                continue
            with open(path, "rb") as content:
                files[relative] = content.read()
    return files


class Run:
    def __init__(self, work, status):
        self.status = status
        self.trace = []
        trace_path = os.path.join(work, "trace.txt")
        if os.path.exists(trace_path):
            with open(trace_path, encoding="utf-8", errors="replace") as trace:
                self.trace = trace.read().splitlines()
        self.logged = [m.group(1) for m in map(LOG_CALL.match, self.trace) if m]
        self.files = snapshot(work)
        self.report = {"allocations": 0, "live": 0}
        self.failed_site = None
        self.leaks = []
        report_path = os.path.join(work, "report.txt")
        if os.path.exists(report_path):
            with open(report_path, encoding="utf-8") as report:
                for line in report:
                    key, value = line.split()
                    if key == "failed":
                        self.failed_site = value
                    elif key == "leak":
                        self.leaks.append(value)
                    else:
                        self.report[key] = int(value)
        self.object_made = "host: createPlugin -> object" in self.trace


class Case:
    def __init__(self, case_file, hosts_dir, plugin, interposer):
        self.case_file = case_file
        self.name = os.path.basename(case_file)[: -len(".answers")]
        self.plugin = plugin
        self.interposer = interposer
        values = settings(case_file)
        variant = (values.get("host") or ["full"])[-1]
        program = (values.get("program") or ["Zandrovix.exe"])[-1]
        self.host = os.path.join(hosts_dir, variant, program)
        self.options = shlex.split(" ".join(values.get("options", [])))
        self.copies = [entry.split(" = ") for entry in values.get("copy", [])]

    def run(self, fail_at):
        work = tempfile.mkdtemp(prefix="facetkit-injection-")
        try:
            case_dir = os.path.dirname(self.case_file)
            shutil.copy(self.case_file, os.path.join(work, "session.answers"))
            for source, place in self.copies:
                target = os.path.join(work, place)
                os.makedirs(os.path.dirname(target), exist_ok=True)
                shutil.copy(os.path.join(case_dir, source), target)
            before = snapshot(work)
            before.pop("session.answers")
            environment = dict(os.environ)
            environment.update({
                "LD_PRELOAD": self.interposer,
                # Symbols bound at load, so the loader allocates nothing later
                # on the plug-in's behalf.
                "LD_BIND_NOW": "1",
                "FACETKIT_FAULT_MODULE": os.path.basename(self.plugin),
                "FACETKIT_FAULT_AT": str(fail_at),
                "FACETKIT_FAULT_REPORT": os.path.join(work, "report.txt"),
            })
            command = [self.host, "--plugin", self.plugin, "--answers", "session.answers",
                       "--trace", "trace.txt"] + self.options
            with open(os.path.join(work, "stdout.txt"), "wb") as out, \
                    open(os.path.join(work, "stderr.txt"), "wb") as err:
                status = subprocess.run(command, cwd=work, env=environment, stdout=out,
                                        stderr=err, stdin=subprocess.DEVNULL,
                                        timeout=60).returncode
            run = Run(work, status)
            run.files.pop("session.answers", None)
            return before, run
        finally:
            shutil.rmtree(work)


def drop_measurement(library, run):
    """Leaves out of `run` what the profile runtime of a coverage build did."""
    kept = [site for site in run.leaks if not measurement_site(library, site)]
    run.report["live"] -= len(run.leaks) - len(kept)
    run.leaks = kept
    return run.failed_site is not None and measurement_site(library, run.failed_site)


def calls_after_cancelling(trace):
    """The host calls a run made after logging that it was cancelled."""
    calls = []
    cancelled = False
    for line in trace:
        if line == "host: execute":
            cancelled = False
        elif cancelled and not line.startswith("host: "):
            calls.append(line)
        cancelled = cancelled or line.startswith(CANCELLED)
    return calls


def check(before, normal, run):
    """The faults of one injected run, as texts."""
    faults = []
    for call in calls_after_cancelling(run.trace):
        faults.append("called the host after cancelling: %s" % call[:200])
    if run.status < 0:
        faults.append("the host died of signal %d" % -run.status)
    elif not run.object_made:
        if "host: createPlugin -> null" not in run.trace:
            faults.append("no plug-in object and no null result traced")
    elif run.status != normal.status:
        faults.append("host exit code %d, normal run %d" % (run.status, normal.status))
    if run.report["live"] != 0:
        faults.append("%d plug-in block(s) left at exit: %s" %
                      (run.report["live"], " ".join(sorted(set(run.leaks)))))
    normal_texts = set(normal.logged)
    for text in run.logged:
        if text not in normal_texts and not is_failure_text(text):
            faults.append("logged a text of no normal run: %s" % text[:200])
    if run.object_made and any(t not in set(run.logged) for t in normal.logged):
        if not any(is_failure_text(t) for t in run.logged) and \
                "zvLogText(" in "\n".join(normal.trace):
            faults.append("logged less than the normal run without a failure line")
    for name in sorted(set(before) | set(normal.files) | set(run.files)):
        content = run.files.get(name)
        if content != before.get(name) and content != normal.files.get(name):
            state = "missing" if content is None else "%d bytes" % len(content)
            faults.append("file %s neither as before nor whole (%s)" % (name, state))
    if SAVED_CONFIRMATION in run.logged:
        for name, content in normal.files.items():
            if before.get(name) != content and run.files.get(name) != content:
                faults.append("confirmed saving although %s is not whole" % name)
    return faults


SYMBOLS = {}


def symbol_at(library, site):
    """(function, source file) holding `site` ("module+0xOFFSET"), as far as
    addr2line tells."""
    if site not in SYMBOLS:
        SYMBOLS[site] = ("", "")
        if shutil.which("addr2line") is not None:
            offset = site.rsplit("+", 1)[1]
            result = subprocess.run(["addr2line", "-f", "-C", "-e", library, offset],
                                    capture_output=True, text=True, check=False)
            lines = result.stdout.splitlines() + ["", ""]
            SYMBOLS[site] = (lines[0], lines[1])
    return SYMBOLS[site]


def measurement_site(library, site):
    """Whether `site` is in the profile runtime that a coverage build links
    into the library: its allocations are the measurement's."""
    function, source = symbol_at(library, site)
    return "InstrProf" in source or function.startswith(("__llvm_profile", "lprof"))


def main(arguments):
    if len(arguments) < 4:
        print(__doc__)
        return 2
    hosts_dir, plugin, interposer = (os.path.realpath(a) for a in arguments[:3])
    cases = arguments[3:]
    runs = 0
    sites = set()
    failures = 0
    for case_file in cases:
        case = Case(os.path.realpath(case_file), hosts_dir, plugin, interposer)
        before, normal = case.run(0)
        drop_measurement(plugin, normal)
        runs += 1
        if normal.report["live"] != 0 or normal.status < 0:
            print("%s: the normal run already fails (exit %d, %d block(s) left)" %
                  (case.name, normal.status, normal.report["live"]))
            failures += 1
            continue
        fail_at = 1
        while fail_at <= MAX_RUNS_PER_CASE:
            _, run = case.run(fail_at)
            runs += 1
            if run.report["allocations"] < fail_at:
                break
            if drop_measurement(plugin, run):
                fail_at += 1
                continue
            if run.failed_site is not None:
                sites.add(run.failed_site)
            for fault in check(before, normal, run):
                print("%s, allocation %d failing at %s: %s" %
                      (case.name, fail_at, run.failed_site, fault))
                failures += 1
            fail_at += 1
    print("injection: %d cases, %d runs, %d allocation sites failed, %d faults" %
          (len(cases), runs, len(sites), failures))
    if not sites:
        # An allocator that sees no allocation of the plug-in proves nothing.
        print("injection: no allocation of %s was seen" % os.path.basename(plugin))
        failures += 1
    for site in sorted(sites):
        print("  site %s %s" % (site, symbol_at(plugin, site)[0]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
