#!/usr/bin/env python3
"""The injection's checks: each kind of fault an injected run can show is
reported, and a run that fails soundly is not."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import inject_sessions  # noqa: E402

STARTED = 'zvLogText("\\nFacetkit> Started...") -> 1'
REPORT = 'zvLogText("\\nSRF filename: \\nbrain.srf\\nNumber of vertices: 6\\n") -> 1'
SAVED = "zvLogText(%s) -> 1" % inject_sessions.SAVED_CONFIRMATION
ERROR = 'zvLogText("Error while printing current SRF header data to ascii") -> 1'
NOT_WRITTEN = 'zvLogText("Header information could not be written to the text file brain.txt.") -> 1'
NOT_WRITTEN_CUT = 'zvLogText("Header information could not be written to the text file bra") -> 1'
CANCELLED = 'zvLogText("Process cancelled.") -> 1'
OBJECT = "host: createPlugin -> object"
NO_OBJECT = "host: createPlugin -> null"


def make_run(trace, files=None, status=0, live=0):
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "trace.txt"), "w", encoding="utf-8") as out:
            out.write("\n".join(trace) + "\n")
        for name, content in (files or {}).items():
            with open(os.path.join(work, name), "wb") as out:
                out.write(content)
        with open(os.path.join(work, "report.txt"), "w", encoding="utf-8") as out:
            out.write("allocations 3\nlive %d\n" % live)
            out.writelines("leak libFacetkit.so+0x10\n" for _ in range(live))
        return inject_sessions.Run(work, status)


class Checks(unittest.TestCase):
    def test_each_fault_is_reported_and_sound_failures_pass(self):
        before = {"brain.txt": b"old\n"}
        whole = {"brain.txt": b"whole report\n"}
        normal_to_log = make_run([OBJECT, STARTED, REPORT])
        normal_to_file = make_run([OBJECT, STARTED, SAVED], whole)
        # (what, normal run, injected run, expected fault or None)
        cases = [
            ("same as normal", normal_to_log, make_run([OBJECT, STARTED, REPORT]), None),
            ("error line instead", normal_to_log, make_run([OBJECT, STARTED, ERROR]), None),
            ("no object, said so", normal_to_log, make_run([NO_OBJECT], status=2), None),
            ("cancelled, then run again", normal_to_log,
             make_run([OBJECT, STARTED, CANCELLED, "host: execute -> 1", "host: execute",
                       STARTED, REPORT]), None),
            ("went on after cancelling", normal_to_log,
             make_run([OBJECT, STARTED, CANCELLED, "zvGetIntegerInput(null, 1, 1, 5) -> 2",
                       REPORT]), "called the host after cancelling"),
            ("partial text", normal_to_log,
             make_run([OBJECT, STARTED, 'zvLogText("\\nSRF filename: \\nbr") -> 1']),
             "logged a text of no normal run"),
            ("empty text", normal_to_log, make_run([OBJECT, STARTED, 'zvLogText("") -> 1']),
             "logged a text of no normal run"),
            ("silent failure", normal_to_log, make_run([OBJECT, STARTED]),
             "logged less than the normal run without a failure line"),
            ("crash", normal_to_log, make_run([OBJECT, STARTED], status=-11), "signal 11"),
            ("leak", normal_to_log, make_run([OBJECT, STARTED, REPORT], live=1), "block(s) left"),
            ("file kept, said so", normal_to_file,
             make_run([OBJECT, STARTED, NOT_WRITTEN], before), None),
            ("failure line cut short", normal_to_file,
             make_run([OBJECT, STARTED, NOT_WRITTEN_CUT], before),
             "logged a text of no normal run"),
            ("file emptied", normal_to_file,
             make_run([OBJECT, STARTED, NOT_WRITTEN], {"brain.txt": b""}), "neither as before"),
            ("half-written file left", normal_to_file,
             make_run([OBJECT, STARTED, NOT_WRITTEN], dict(before, **{"brain.txt.partial": b"wh"})),
             "neither as before"),
            ("confirmed, not written", normal_to_file,
             make_run([OBJECT, STARTED, SAVED], before), "confirmed saving"),
        ]
        for what, normal, run, expected in cases:
            with self.subTest(what):
                faults = inject_sessions.check(before, normal, run)
                if expected is None:
                    self.assertEqual(faults, [])
                else:
                    self.assertTrue(any(expected in fault for fault in faults), faults)


if __name__ == "__main__":
    unittest.main()
