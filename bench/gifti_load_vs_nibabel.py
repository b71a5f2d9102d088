#!/usr/bin/python3
"""Times loading GIfTI surfaces with the stand-in host's reader and with
nibabel, the field's reference reader, on the same files, and prints the
ratios side by side: stand-in / nibabel, below 1 when the stand-in is
faster. Each time is the least of three loads of the whole file.

The files are written here by nibabel: a grid of ROWS x 1000 vertices (two
triangles per quad, about twice as many triangles as vertices, as on a
cortex), with coordinates of full float precision, in each encoding.

usage: gifti_load_vs_nibabel.py GIFTI_LOAD_TIME [VERTICES...]
       (GIFTI_LOAD_TIME is build/bench/gifti_load_time; VERTICES 100000
       1000000 unless given, each a multiple of 1000)
"""

import pathlib
import subprocess
import sys
import tempfile
import time

import nibabel
import numpy as np

ENCODINGS = (("ASCII", "ASCII"), ("Base64Binary", "B64BIN"), ("GZipBase64Binary", "B64GZ"))
RUNS = 3


def grid(vertices):
    rows, columns = vertices // 1000, 1000
    rng = np.random.default_rng(12)
    y, x = np.mgrid[0:rows, 0:columns].astype(np.float32)
    coords = np.stack([x * 0.173, y * 0.219, np.sin(x * 0.05) * 7], axis=-1).reshape(-1, 3)
    coords += rng.standard_normal(coords.shape).astype(np.float32) * 0.01
    corner = (np.arange(rows - 1)[:, None] * columns + np.arange(columns - 1)[None, :]).ravel()
    faces = np.concatenate([np.stack([corner, corner + 1, corner + columns], axis=1),
                            np.stack([corner + 1, corner + columns + 1, corner + columns], axis=1)])
    return coords.astype(np.float32), faces.astype(np.int32)


def write(path, coords, faces, encoding):
    image = nibabel.gifti.GiftiImage(darrays=[
        nibabel.gifti.GiftiDataArray(coords, intent="NIFTI_INTENT_POINTSET",
                                     datatype="NIFTI_TYPE_FLOAT32", encoding=encoding),
        nibabel.gifti.GiftiDataArray(faces, intent="NIFTI_INTENT_TRIANGLE",
                                     datatype="NIFTI_TYPE_INT32", encoding=encoding)])
    nibabel.save(image, str(path))


def nibabel_ms(path):
    fastest = None
    for _ in range(RUNS):
        start = time.perf_counter()
        image = nibabel.load(str(path))
        for array in image.darrays:
            np.asarray(array.data).sum()
        elapsed = time.perf_counter() - start
        fastest = elapsed if fastest is None else min(fastest, elapsed)
    return fastest * 1000


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    timer = sys.argv[1]
    sizes = [int(v) for v in sys.argv[2:]] or [100000, 1000000]
    print(f"{'file':<34} {'stand-in ms':>12} {'nibabel ms':>11} {'ratio':>6}")
    with tempfile.TemporaryDirectory() as folder:
        for vertices in sizes:
            coords, faces = grid(vertices)
            for name, encoding in ENCODINGS:
                path = pathlib.Path(folder, f"{vertices}_{name}.gii")
                write(path, coords, faces, encoding)
                result = subprocess.run([timer, "--runs", str(RUNS), str(path)],
                                        capture_output=True, text=True, check=True)
                standin_ms, loaded, _ = result.stdout.split(maxsplit=2)
                if int(loaded) != len(coords):
                    sys.exit(f"{path.name}: the stand-in loaded {loaded} vertices")
                theirs = nibabel_ms(path)
                ours = float(standin_ms)
                label = f"10^{len(str(vertices)) - 1} vertices, {name}"
                print(f"{label:<34} {ours:>12.1f} {theirs:>11.1f} {ours / theirs:>6.2f}")
                path.unlink()


if __name__ == "__main__":
    main()
