"""Compares two PNG pictures after decoding: same size, and the same
pixels but for small differences (another compiler may round a few
shades differently).

usage: compare_pictures.py EXPECTED.png ACTUAL.png
"""

import sys

from png_reading import differences, read_png

# Mean difference per channel, and share of pixels allowed to differ
# visibly.
MEAN_LIMIT = 1.0
CHANGED_LIMIT = 0.005


def main():
    expected, actual = read_png(sys.argv[1]), read_png(sys.argv[2])
    if (expected.width, expected.height) != (actual.width, actual.height):
        print(f"{sys.argv[2]} is {actual.width}x{actual.height}, "
              f"{sys.argv[1]} {expected.width}x{expected.height}")
        return 1
    mean, changed = differences(expected, actual)
    print(f"mean difference {mean:.3f} per channel, {changed:.2%} of the pixels changed")
    if mean > MEAN_LIMIT or changed > CHANGED_LIMIT:
        print(f"{sys.argv[2]} no longer matches {sys.argv[1]}: run docs/make_sample_picture.sh")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
