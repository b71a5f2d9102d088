"""Sessions of the stand-in host that draw pictures, checked by what the
decoded pictures show and what the session leaves behind.

usage: picture_sessions.py CASE HOST PLUGIN [LAUNCHER...]
"""

import os
import subprocess
import sys
import tempfile

from png_reading import count_near, near, read_png

BACKGROUND = (28, 28, 36)
# The sample's convex colour (0.25, 0.5, 0.75); the sample sphere is convex
# everywhere, and its stored values (0 and 1) are not colours.
CONVEX = (64, 128, 191)
CONCAVE = (255, 128, 0)
RED = (255, 0, 0)
GREEN = (0, 255, 0)

PAINT_RED = "number 1\nnumber 20000\nnumber 24000\ntext FF0000\nno\n"
PAINT_GREEN = "number 1\nnumber 14000\nnumber 18000\ntext 00FF00\nno\n"


class Session:
    def __init__(self, host, plugin, launcher, folder):
        self.host, self.plugin, self.launcher, self.folder = host, plugin, launcher, folder

    def run(self, answers, *options):
        with open(os.path.join(self.folder, "session.answers"), "w") as file:
            file.write(answers)
        command = self.launcher + [self.host, "--plugin", self.plugin, "--answers",
                                   "session.answers", "--trace", "trace.txt", *options]
        done = subprocess.run(command, cwd=self.folder, capture_output=True, text=True)
        return done.returncode, done.stderr

    def path(self, name):
        return os.path.join(self.folder, name)


def shade_of(colour, base):
    """Whether `colour` is `base` lit by a light between 0.2 and 1."""
    light = sum(c * b for c, b in zip(colour, base)) / sum(b * b for b in base)
    return 0.19 <= light <= 1.01 and near(colour, [light * b for b in base], 3)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def expect_sample_picture(picture, width, height, painted):
    check((picture.width, picture.height) == (width, height),
          f"picture is {picture.width}x{picture.height}, expected {width}x{height}")
    for column, row in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
        check(picture.at(column, row) == BACKGROUND, f"corner {column},{row} is not background")
    # The sphere fills the middle, in shades of the convex colour where
    # nothing was painted.
    shaded = sum(1 for row in range(height) for column in range(width)
                 if shade_of(picture.at(column, row), CONVEX))
    check(shaded >= width * height // 10, f"only {shaded} pixels show the convex colour")
    middle = picture.at(width // 2, height // 2)
    check(middle != BACKGROUND, "the middle shows the background")
    for colour in painted:
        check(count_near(picture, colour, 60) >= 10, f"no vertex painted {colour} is seen")
    for colour in (RED, GREEN):
        if colour not in painted:
            check(count_near(picture, colour, 60) == 0, f"{colour} is seen, but nothing was painted so")


def snapshot_of_painted_sample(session):
    code, errors = session.run(PAINT_RED, "--snapshot", "end.png", "--picture-size", "320x240")
    check(code == 0, f"exit code {code}: {errors}")
    expect_sample_picture(read_png(session.path("end.png")), 320, 240, [RED])


def one_picture_per_redraw(session):
    # The folder is made, since it does not exist.
    code, errors = session.run(PAINT_RED + PAINT_GREEN, "--runs", "2", "--pictures", "shots",
                               "--picture-size", "320x240")
    check(code == 0, f"exit code {code}: {errors}")
    names = sorted(os.listdir(session.path("shots")))
    check(names == ["redraw-0001.png", "redraw-0002.png"], f"pictures written: {names}")
    expect_sample_picture(read_png(session.path("shots/redraw-0001.png")), 320, 240, [RED])
    expect_sample_picture(read_png(session.path("shots/redraw-0002.png")), 320, 240, [RED, GREEN])


def nothing_written_without_picture_options(session):
    code, errors = session.run(PAINT_RED)
    check(code == 0, f"exit code {code}: {errors}")
    left = sorted(os.listdir(session.folder))
    check(left == ["session.answers", "trace.txt"], f"the session left {left}")


def pictures_leave_the_trace_unchanged(session):
    session.run(PAINT_RED)
    with open(session.path("trace.txt"), "rb") as file:
        plain = file.read()
    os.mkdir(session.path("shots"))
    code, errors = session.run(PAINT_RED, "--pictures", "shots", "--snapshot", "end.png",
                               "--picture-size", "64x48")
    check(code == 0, f"exit code {code}: {errors}")
    with open(session.path("trace.txt"), "rb") as file:
        check(file.read() == plain, "the trace changed with pictures")
    check(os.path.exists(session.path("end.png")), "no snapshot")


def a_picture_that_cannot_be_written_fails_the_session(session):
    code, errors = session.run(PAINT_RED, "--snapshot", "missing/end.png")
    check(code == 4, f"exit code {code}, expected 4")
    check("cannot write the picture missing/end.png" in errors, f"error output: {errors!r}")
    # One folder is made, not a chain of them.
    code, errors = session.run(PAINT_RED, "--pictures", "missing/deeper")
    check(code == 4, f"exit code {code} for a missing parent folder, expected 4")
    check("missing/deeper/redraw-0001.png" in errors, f"error output: {errors!r}")


def octahedron(path, tip):
    """Writes a FreeSurfer surface: an octahedron wound outwards whose vertex
    on the -x axis lies at x = -`tip` (below 0: pushed in past the middle,
    a dent). Named lh., it is a left hemisphere, drawn by default from its
    lateral side, -x, which brings that vertex to the viewer."""
    import numpy
    from nibabel.freesurfer import write_geometry
    coordinates = numpy.array([[1, 0, 0], [-tip, 0, 0], [0, 1, 0], [0, -1, 0], [0, 0, 1],
                               [0, 0, -1]], dtype=numpy.float32) * 40
    triangles = numpy.array([[4, 0, 2], [4, 2, 1], [4, 1, 3], [4, 3, 0], [5, 2, 0], [5, 1, 2],
                             [5, 3, 1], [5, 0, 3]], dtype=numpy.int32)
    write_geometry(path, coordinates, triangles)


def curvature_colours_of_a_loaded_surface(session):
    for tip, concave_seen in ((1.0, False), (-0.5, True)):
        octahedron(session.path("lh.test"), tip)
        code, errors = session.run("", "--surface", "lh.test", "--runs", "0", "--snapshot",
                                   "end.png", "--picture-size", "160x120")
        check(code == 0, f"exit code {code}: {errors}")
        picture = read_png(session.path("end.png"))
        pixels = [picture.at(column, row) for row in range(120) for column in range(160)]
        check(any(shade_of(pixel, CONVEX) for pixel in pixels), f"tip {tip}: no convex colour")
        check(shade_of(picture.at(80, 60), CONCAVE) == concave_seen,
              f"tip {tip}: the middle shows {picture.at(80, 60)}")


def views_side_by_side(session):
    """A left hemisphere's lateral view shows its -x side, the dent; the
    medial view its +x side, no dent. Drawn side by side in the order given,
    each at the picture size; the lateral view is the default."""
    octahedron(session.path("lh.test"), -0.5)
    pictures = {}
    for views in ("lateral,medial", "medial", None):
        options = ["--view", views] if views else []
        code, errors = session.run("", "--surface", "lh.test", "--runs", "0", "--snapshot",
                                   "end.png", "--picture-size", "160x120", *options)
        check(code == 0, f"{views}: exit code {code}: {errors}")
        pictures[views] = read_png(session.path("end.png"))
    both = pictures["lateral,medial"]
    check((both.width, both.height) == (320, 120), f"picture is {both.width}x{both.height}")
    check(shade_of(both.at(80, 60), CONCAVE), f"lateral middle shows {both.at(80, 60)}")
    check(shade_of(both.at(240, 60), CONVEX), f"medial middle shows {both.at(240, 60)}")
    for name, column in ((None, 0), ("medial", 160)):
        alone = pictures[name]
        check(all(alone.at(x, y) == both.at(column + x, y) for y in range(120) for x in range(160)),
              f"the {name or 'default'} view differs from its half of the pair")


CASES = {case.__name__: case for case in (
    snapshot_of_painted_sample, one_picture_per_redraw, nothing_written_without_picture_options,
    pictures_leave_the_trace_unchanged, a_picture_that_cannot_be_written_fails_the_session,
    curvature_colours_of_a_loaded_surface, views_side_by_side)}


def main():
    case, host, plugin, launcher = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    with tempfile.TemporaryDirectory() as folder:
        try:
            CASES[case](Session(host, plugin, launcher, folder))
        except AssertionError as failure:
            print(f"{case}: {failure}")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
