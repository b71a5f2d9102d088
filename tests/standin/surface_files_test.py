#!/usr/bin/python3
"""The stand-in host reads GIfTI and FreeSurfer surfaces and saves GIfTI.

Every check goes through the host program itself: it loads a surface, the
plug-in paints a range of vertices and the host saves the result as .gii,
which nibabel then reads back and compares with what went in. GIfTI files
of every encoding, byte order and index order are written here by hand
(nibabel writes only this machine's byte order); FreeSurfer files with
nibabel; real files come from the installed nibabel package.

usage: surface_files_test.py HOST PLUGIN [unittest options, e.g. -k FreeSurfer]
"""

import base64
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest
import zlib

import nibabel
import nibabel.freesurfer
import numpy as np

HOST = PLUGIN = None
NIBABEL_DATA = pathlib.Path(nibabel.__file__).parent / "gifti" / "tests" / "data"
POINTSET, TRIANGLE, NONE, LABEL, RGBA = 1008, 1009, 0, 1002, 2004
COLOR_TAG = 0x3F000000
SAMPLE_META = {
    "zandrovix.visible": "1",
    "zandrovix.renderMode": "2",
    "zandrovix.convexColor": "0.25 0.5 0.75",
    "zandrovix.concaveColor": "1 0.5 0",
    "zandrovix.meshCenter": "128 128 128",
    "zandrovix.meshRotation": "0 90 -45.5",
    "zandrovix.useStrips": "0",
    "zandrovix.stripElementCount": "0",
}

ENCODINGS = ("ASCII", "Base64Binary", "GZipBase64Binary")
TYPES = {np.dtype("float32"): "NIFTI_TYPE_FLOAT32", np.dtype("float64"): "NIFTI_TYPE_FLOAT64",
         np.dtype("int32"): "NIFTI_TYPE_INT32", np.dtype("uint8"): "NIFTI_TYPE_UINT8"}
INTENTS = {POINTSET: "NIFTI_INTENT_POINTSET", TRIANGLE: "NIFTI_INTENT_TRIANGLE",
           NONE: "NIFTI_INTENT_NONE", LABEL: "NIFTI_INTENT_LABEL",
           RGBA: "NIFTI_INTENT_RGBA_VECTOR"}


def gifti_array(data, intent, encoding="GZipBase64Binary", big_endian=False, column_major=False):
    """One DataArray element, the data encoded as asked."""
    data = np.asarray(data)
    order = "F" if column_major else "C"
    if encoding == "ASCII":
        flat = data.flatten(order=order)
        text = " ".join(repr(float(v)) if data.dtype.kind == "f" else str(int(v)) for v in flat)
    else:
        raw = data.astype(data.dtype.newbyteorder(">" if big_endian else "<")).tobytes(order)
        if encoding == "GZipBase64Binary":
            raw = zlib.compress(raw)
        text = base64.b64encode(raw).decode()
    dims = "".join(f' Dim{i}="{n}"' for i, n in enumerate(data.shape))
    return (f'<DataArray Intent="{INTENTS[intent]}" DataType="{TYPES[data.dtype]}"'
            f' ArrayIndexingOrder="{"ColumnMajorOrder" if column_major else "RowMajorOrder"}"'
            f' Dimensionality="{data.ndim}"{dims} Encoding="{encoding}"'
            f' Endian="{"BigEndian" if big_endian else "LittleEndian"}"'
            f' ExternalFileName="" ExternalFileOffset="">'
            f"<MetaData/><Data>{text}</Data></DataArray>\n")


def legacy(array_xml):
    """The same array with the attribute values of early GIfTI writers."""
    for modern, old in (('"Base64Binary"', '"GIFTI_ENCODING_B64BIN"'),
                        ('"GZipBase64Binary"', '"GIFTI_ENCODING_B64GZ"'),
                        ('"ASCII"', '"GIFTI_ENCODING_ASCII"'),
                        ('"LittleEndian"', '"GIFTI_ENDIAN_LITTLE"'),
                        ('"BigEndian"', '"GIFTI_ENDIAN_BIG"')):
        array_xml = array_xml.replace(modern, old)
    return array_xml


def gifti_file(path, arrays, meta=None):
    items = "".join(f"<MD><Name>{k}</Name><Value>{v}</Value></MD>"
                    for k, v in (meta or {}).items())
    pathlib.Path(path).write_text(
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<!DOCTYPE GIFTI SYSTEM "http://www.nitrc.org/frs/download.php/115/gifti.dtd">\n'
        f'<GIFTI Version="1.0" NumberOfDataArrays="{len(arrays)}">\n'
        f"<MetaData>{items}</MetaData><LabelTable/>\n" + "".join(arrays) + "</GIFTI>\n")


def small_mesh(vertices=12, seed=1):
    """Coordinates with awkward bits (negative zero, tiny, huge) and a fan."""
    rng = np.random.default_rng(seed)
    coords = (rng.standard_normal((vertices, 3)) * 50).astype(np.float32)
    coords[0] = [-0.0, 1e-45, 3.4028235e38]
    faces = np.array([[0, i, i + 1] for i in range(1, vertices - 1)], dtype=np.int32)
    return coords, faces


class HostRun:
    """One run of the host: its exit code, error lines, trace lines."""

    def __init__(self, surface, answers=None, extra=(), cwd=None):
        command = [HOST, "--plugin", PLUGIN, "--surface", str(surface), "--trace", "trace.txt"]
        work = cwd or tempfile.mkdtemp()
        if answers is None:
            command += ["--runs", "0"]
        else:
            pathlib.Path(work, "session.answers").write_text(answers)
            command += ["--answers", "session.answers"]
        result = subprocess.run(command + list(extra), cwd=work, capture_output=True, text=True,
                                timeout=60)
        self.code = result.returncode
        self.errors = result.stderr.splitlines()
        trace = pathlib.Path(work, "trace.txt")
        self.trace = trace.read_text().splitlines() if trace.exists() else []
        if cwd is None:
            shutil.rmtree(work)

    def shown_colors(self):
        return {int(line.split()[2]): int(line.split()[4])
                for line in self.trace if line.startswith("host: vertex ")}


def paint_and_save(test, surface, first, last, color, saved):
    """The plug-in paints `first`..`last` in `color` and the host saves."""
    answers = (f"number 1\nnumber {first}\nnumber {last}\ntext {color:06X}\nyes\n"
               f"file {saved.name}\n")
    run = HostRun(surface, answers, cwd=saved.parent)
    test.assertEqual(run.code, 0, run.errors)
    test.assertIn(f'zvSaveCurrentSRF("{saved.name}") -> 1', run.trace)
    check = subprocess.run(["gifti_tool", "-infile", str(saved), "-gifti_test"],
                           capture_output=True, text=True)
    test.assertEqual(check.returncode, 0, check.stdout + check.stderr)
    test.assertIn("is VALID", check.stdout)
    return nibabel.load(str(saved))


def bits(array):
    return np.ascontiguousarray(array, dtype=np.float32).view(np.uint32)


class Workspace(unittest.TestCase):
    def setUp(self):
        self.dir = pathlib.Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.dir)

    def assert_refused(self, path, reason):
        run = HostRun(path)
        self.assertEqual(run.code, 2)
        self.assertEqual(len(run.errors), 1, run.errors)
        self.assertTrue(run.errors[0].startswith(f'Zandrovix.exe: no surface: "{path}": '),
                        run.errors)
        self.assertIn(reason, run.errors[0])
        self.assertFalse(any(line.startswith("host: load") for line in run.trace), run.trace)

    def assert_saved_surface(self, saved, coords, faces, colors, meta=None):
        """`saved` (read by nibabel) holds exactly this surface, and `meta`;
        by default the display fields that a FreeSurfer or GIfTI file the
        host did not save gets: the sample's, but no rotation and the centre
        of the mesh's box."""
        if meta is None:
            points = np.asarray(coords, dtype=np.float64)
            middle = ((points.min(axis=0) + points.max(axis=0)) / 2).astype(np.float32)
            meta = dict(SAMPLE_META, **{
                "zandrovix.meshCenter": " ".join("%.9g" % value for value in middle),
                "zandrovix.meshRotation": "0 0 0"})
        arrays = {d.intent: d for d in saved.darrays}
        self.assertTrue(np.array_equal(bits(arrays[POINTSET].data), bits(coords)))
        self.assertEqual(arrays[TRIANGLE].data.dtype, np.int32)
        self.assertTrue(np.array_equal(arrays[TRIANGLE].data, faces))
        self.assertEqual(arrays[NONE].data.dtype, np.int32)
        self.assertTrue(np.array_equal(arrays[NONE].data, np.asarray(colors, dtype=np.int32)))
        rgba = arrays[RGBA].data
        self.assertEqual((rgba.dtype, rgba.shape), (np.uint8, (len(coords), 4)))
        for vertex, value in enumerate(colors):
            code = value & 0xFFFFFFFF
            if code >> 24 == 0x3F:
                expected = [(code >> 16) & 255, (code >> 8) & 255, code & 255, 255]
                self.assertEqual(list(rgba[vertex]), expected, f"vertex {vertex}")
        self.assertEqual({k: v for k, v in saved.meta.items() if k.startswith("zandrovix.")}, meta)


class GiftiEncodings(Workspace):
    def test_every_encoding_byte_order_and_index_order_reads_exactly(self):
        coords, faces = small_mesh()
        colors = np.array([-1, 0, 1, COLOR_TAG | 0xABCDEF, -2**31, 2**31 - 1] * 2, np.int32)
        for encoding in ENCODINGS:
            for big in (False, True):
                for column in (False, True):
                    with self.subTest(encoding=encoding, big_endian=big, column_major=column):
                        source = self.dir / "in.gii"
                        gifti_file(source, [
                            gifti_array(coords, POINTSET, encoding, big, column),
                            gifti_array(faces, TRIANGLE, encoding, big, column),
                            gifti_array(colors, LABEL, encoding, big, column)])
                        saved = paint_and_save(self, source, 2, 3, 0x00FF00, self.dir / "out.gii")
                        painted = colors.copy()
                        painted[2:4] = COLOR_TAG | 0x00FF00
                        self.assert_saved_surface(saved, coords, faces, painted)

    def test_legacy_encoding_and_byte_order_names_read(self):
        coords, faces = small_mesh()
        colors = np.arange(12, dtype=np.int32) - 6
        for encoding in ENCODINGS:
            with self.subTest(encoding=encoding):
                source = self.dir / "in.gii"
                gifti_file(source, [legacy(gifti_array(coords, POINTSET, encoding, True)),
                                    legacy(gifti_array(faces, TRIANGLE, encoding, False)),
                                    legacy(gifti_array(colors, NONE, encoding, True))])
                self.assertIn("GIFTI_ENCODING_", source.read_text())
                saved = paint_and_save(self, source, 11, 11, 0xFF, self.dir / "out.gii")
                self.assert_saved_surface(saved, coords, faces,
                                          list(colors[:11]) + [COLOR_TAG | 0xFF])

    def test_a_large_file_with_line_breaks_and_markup_in_its_data_reads_exactly(self):
        # Larger than the pieces that the reader gives expat, so that Data
        # text is read both through expat and past it.
        coords, faces = small_mesh(20000, seed=5)
        source = self.dir / "in.gii"
        gifti_file(source, [gifti_array(coords, POINTSET, "ASCII"),
                            gifti_array(faces, TRIANGLE, "Base64Binary")])
        text = source.read_bytes().replace(b" ", b"\r\n")
        middle = text.index(b"\r\n", len(text) // 4)
        source.write_bytes(text[:middle] + b"<!-- a comment -->&#32;" + text[middle:])
        saved = paint_and_save(self, source, 5, 5, 0xABCDEF, self.dir / "out.gii")
        colors = [0] * 20000
        colors[5] = COLOR_TAG | 0xABCDEF
        self.assert_saved_surface(saved, coords, faces, colors)

    def test_double_coordinates_and_float_rgba_colors(self):
        coords, faces = small_mesh(6)
        rgba = np.array([[1, 0, 0, 1], [0, 1, 0, 1], [0, 0, 1, 1], [0.5, 0.5, 0.5, 1],
                         [2, -1, 0.2, 0], [0, 0, 0, 1]], np.float32)
        source = self.dir / "in.gii"
        gifti_file(source, [gifti_array(coords.astype(np.float64), POINTSET),
                            gifti_array(faces, TRIANGLE), gifti_array(rgba, RGBA)])
        run = HostRun(source, extra=["--show-vertices", "0-5"])
        self.assertEqual(run.code, 0, run.errors)
        expected = [0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0xFF0033, 0x000000]
        self.assertEqual(run.shown_colors(), {v: COLOR_TAG | c for v, c in enumerate(expected)})

    def test_byte_rgba_gives_colors_but_an_int32_array_wins(self):
        coords, faces = small_mesh(4)
        rgba = np.array([[1, 2, 3, 255], [250, 128, 0, 0], [0, 0, 0, 0], [9, 8, 7, 6]], np.uint8)
        values = np.array([5, 6, 7, 8], np.int32)
        for arrays, expected in (
                ([rgba], [COLOR_TAG | 0x010203, COLOR_TAG | 0xFA8000, COLOR_TAG,
                          COLOR_TAG | 0x090807]),
                ([rgba, values], [5, 6, 7, 8]),
                ([values, rgba], [5, 6, 7, 8]),
                ([], [0, 0, 0, 0])):
            with self.subTest(arrays=len(arrays)):
                source = self.dir / "in.gii"
                gifti_file(source, [gifti_array(coords, POINTSET), gifti_array(faces, TRIANGLE)]
                           + [gifti_array(a, RGBA if a.ndim == 2 else NONE) for a in arrays])
                run = HostRun(source, extra=["--show-vertices", "0-3"])
                self.assertEqual(run.code, 0, run.errors)
                self.assertEqual(run.shown_colors(), dict(enumerate(expected)))

    def test_record_fields_come_back_from_the_metadata(self):
        coords, faces = small_mesh(5)
        meta = dict(SAMPLE_META)
        meta.update({"zandrovix.visible": "-7", "zandrovix.meshRotation": "inf -inf 1e-45",
                     "zandrovix.stripElementCount": "2147483647"})
        source = self.dir / "in.gii"
        gifti_file(source, [gifti_array(coords, POINTSET), gifti_array(faces, TRIANGLE)], meta)
        saved = paint_and_save(self, source, 0, 0, 0x123456, self.dir / "out.gii")
        self.assert_saved_surface(saved, coords, faces, [COLOR_TAG | 0x123456, 0, 0, 0, 0],
                                  dict(meta, **{"zandrovix.meshRotation": "inf -inf 1.40129846e-45"}))


class Saving(Workspace):
    def test_a_full_disk_fails_the_save_in_either_format(self):
        if not os.path.exists("/dev/full"):
            self.skipTest("no /dev/full")
        for name in ("full.gii", "full.ply"):
            with self.subTest(name=name):
                (self.dir / name).symlink_to("/dev/full")
                run = HostRun(NIBABEL_DATA / "ascii.gii",
                              f"number 1\nnumber 0\nnumber 0\ntext FF0000\nyes\nfile {name}\n",
                              cwd=self.dir)
                self.assertIn(f'zvSaveCurrentSRF("{name}") -> 0', run.trace)
                self.assertEqual(run.errors, [f'Zandrovix.exe: cannot write "{name}"'])


class NibabelFiles(Workspace):
    def test_ascii_file_round_trips(self):
        original = nibabel.load(str(NIBABEL_DATA / "ascii.gii"))
        saved = paint_and_save(self, NIBABEL_DATA / "ascii.gii", 1, 1, 0xFF0000,
                               self.dir / "out.gii")
        # nibabel gives the file's one triangle as a flat triple.
        self.assert_saved_surface(saved, original.darrays[0].data,
                                  original.darrays[1].data.reshape(-1, 3),
                                  [0, COLOR_TAG | 0xFF0000, 0])

    def test_a_file_written_by_nibabel_round_trips(self):
        coords, faces = small_mesh(30, seed=7)
        labels = np.arange(30, dtype=np.int32) * 1000 - 7
        image = nibabel.gifti.GiftiImage(darrays=[
            nibabel.gifti.GiftiDataArray(coords, intent="NIFTI_INTENT_POINTSET",
                                         datatype="NIFTI_TYPE_FLOAT32", encoding="B64BIN"),
            nibabel.gifti.GiftiDataArray(faces, intent="NIFTI_INTENT_TRIANGLE",
                                         datatype="NIFTI_TYPE_INT32", encoding="B64GZ"),
            nibabel.gifti.GiftiDataArray(labels, intent="NIFTI_INTENT_LABEL",
                                         datatype="NIFTI_TYPE_INT32", encoding="ASCII")])
        nibabel.save(image, str(self.dir / "in.gii"))
        saved = paint_and_save(self, self.dir / "in.gii", 10, 19, 0x0000FF, self.dir / "out.gii")
        labels[10:20] = COLOR_TAG | 0xFF
        self.assert_saved_surface(saved, coords, faces, labels)

    def test_real_label_and_shape_arrays_give_the_stored_values(self):
        # rh.aparc.annot.gii holds a per-vertex INT32 label array of a real
        # hemisphere; rh.shape.curv.gii a float curvature array of another
        # size, which is not a colour array.
        labels = nibabel.load(str(NIBABEL_DATA / "rh.aparc.annot.gii")).darrays[0].data
        curvature = nibabel.load(str(NIBABEL_DATA / "rh.shape.curv.gii")).darrays[0].data
        count = len(labels)
        coords = np.zeros((count, 3), np.float32)
        coords[:, 0] = np.arange(count)
        faces = np.array([[0, 1, 2], [count - 3, count - 2, count - 1]], np.int32)
        source = self.dir / "in.gii"
        gifti_file(source, [gifti_array(coords, POINTSET), gifti_array(curvature, NONE),
                            gifti_array(labels, LABEL), gifti_array(faces, TRIANGLE)])
        saved = paint_and_save(self, source, 0, 0, 0xFFFFFF, self.dir / "out.gii")
        expected = labels.astype(np.int32).copy()
        expected[0] = 0x3FFFFFFF
        self.assert_saved_surface(saved, coords, faces, expected)

    def test_files_that_are_not_surfaces_are_refused_by_name(self):
        for name, reason in (("gzipbase64.gii", "the file has no POINTSET array"),
                             ("rh.aparc.annot.gii", "the file has no POINTSET array"),
                             ("external.gii", "refers to an external data file"),
                             # Decoded (its values have legacy names), but
                             # it is an excerpt of a larger mesh.
                             ("base64bin.gii", "triangle 0 has a corner outside the 10 vertices"),
                             ("external.gii.gz", "unknown file type")):
            with self.subTest(name=name):
                self.assert_refused(NIBABEL_DATA / name, reason)



class FreeSurfer(Workspace):
    def write(self, coords, faces, **options):
        path = self.dir / "lh.test"
        nibabel.freesurfer.write_geometry(str(path), coords, faces, **options)
        return path

    def test_files_written_by_nibabel_read_exactly(self):
        coords, faces = small_mesh(20, seed=3)
        volume = {"head": np.array([2, 0, 20], np.int32), "valid": "1  # volume info valid",
                  "filename": "brain.mgz", "volume": np.array([256, 256, 256]),
                  "voxelsize": np.array([1.0, 1.0, 1.0]), "xras": np.array([-1.0, 0, 0]),
                  "yras": np.array([0, 0, -1.0]), "zras": np.array([0, 1.0, 0]),
                  "cras": np.array([1.5, 2.5, 3.5])}
        for options in ({}, {"create_stamp": "created by someone on a day"},
                        {"volume_info": volume}):
            with self.subTest(options=sorted(options)):
                source = self.write(coords, faces, **options)
                saved = paint_and_save(self, source, 5, 6, 0xC0FFEE, self.dir / "out.gii")
                colors = [0] * 20
                colors[5:7] = [COLOR_TAG | 0xC0FFEE] * 2
                self.assert_saved_surface(saved, coords, faces, colors)

    def test_a_file_without_the_second_line_feed_reads(self):
        coords, faces = small_mesh(8)
        data = self.write(coords, faces).read_bytes()
        end = data.index(b"\n\n")
        (self.dir / "lh.short").write_bytes(data[:end + 1] + data[end + 2:])
        saved = paint_and_save(self, self.dir / "lh.short", 0, 0, 1, self.dir / "out.gii")
        self.assert_saved_surface(saved, coords, faces, [COLOR_TAG | 1] + [0] * 7)


class Malformed(Workspace):
    def test_each_bad_file_gives_one_line_and_no_session(self):
        coords, faces = small_mesh(6)
        nibabel.freesurfer.write_geometry(str(self.dir / "good"), coords, faces)
        good = (self.dir / "good").read_bytes()

        def freesurfer(coords_=coords, faces_=faces):
            path = self.dir / "fs"
            nibabel.freesurfer.write_geometry(str(path), coords_, faces_)
            return path.read_bytes()

        nan = coords.copy()
        nan[3, 1] = np.nan
        outside = faces.copy()
        outside[2, 1] = 6

        def gifti(*arrays):
            path = self.dir / "g.gii"
            gifti_file(path, list(arrays))
            return path.read_bytes()

        ascii_coords = gifti_array(coords, POINTSET, "ASCII")
        cases = [
            ("empty", b"", "the file is empty"),
            ("unknown", b"solid cube\nfacet normal 0 0 1\n", "unknown file type"),
            ("fs quad", b"\xff\xff\xff" + good[3:], "quad surface"),
            ("fs truncated", good[:-13], "truncated"),
            ("fs NaN", freesurfer(nan), "vertex 3 has a coordinate that is not a finite number"),
            ("fs index outside", freesurfer(faces_=outside), "triangle 2 has a corner outside"),
            ("gii truncated", gifti(ascii_coords, gifti_array(faces, TRIANGLE))[:-40],
             "not a valid GIfTI file"),
            ("gii no triangles", gifti(ascii_coords), "no TRIANGLE array"),
            ("gii pairs", gifti(gifti_array(coords[:, :2].copy(), POINTSET),
                                gifti_array(faces, TRIANGLE)), "not a list of triples"),
            ("gii integer coordinates", gifti(gifti_array(faces, POINTSET),
                                              gifti_array(faces, TRIANGLE)), "does not hold floats"),
            ("gii float triangles", gifti(ascii_coords, gifti_array(coords, TRIANGLE)),
             "does not hold 32-bit integers"),
            ("gii NaN", gifti(gifti_array(nan, POINTSET), gifti_array(faces, TRIANGLE)),
             "vertex 3 has a coordinate"),
            ("gii double beyond float", gifti(
                gifti_array(np.where(coords == coords[1, 1], 1e300, coords).astype(np.float64),
                            POINTSET), gifti_array(faces, TRIANGLE)), "vertex 1 has a coordinate"),
            ("gii index outside", gifti(ascii_coords, gifti_array(outside, TRIANGLE)),
             "triangle 2 has a corner outside the 6 vertices"),
            ("gii external", gifti(ascii_coords, gifti_array(faces, TRIANGLE)).replace(
                b'ExternalFileName=""', b'ExternalFileName = "/etc/passwd"', 1),
             "refers to an external data file"),
            ("gii bad metadata", gifti(ascii_coords, gifti_array(faces, TRIANGLE)).replace(
                b"<MetaData></MetaData>",
                b"<MetaData><MD><Name>zandrovix.convexColor</Name><Value>1 2</Value></MD>"
                b"</MetaData>", 1), "zandrovix.convexColor is not 3 valid value(s)"),
            # A Data element outside a DataArray crashed the GIfTI library.
            ("gii Data outside an array", b'<?xml version="1.0"?>\n<GIFTI Version="1.0">\n'
             b"<Data></Data>\n</GIFTI>\n", "a Data element where it does not belong"),
            # Data shorter or longer than the dimensions say: the missing
            # coordinates were taken as 0.
            ("gii data short of its dimensions", gifti(gifti_array(coords[:3], POINTSET,
                                                                   "Base64Binary").replace(
                base64.b64encode(coords[:3].tobytes()).decode(),
                base64.b64encode(coords[:1].tobytes()).decode()),
                gifti_array(faces[:1], TRIANGLE)), "array 0 holds 12 bytes of data, its "
             "dimensions need 36"),
            ("gii compressed data beyond its dimensions", gifti(ascii_coords, gifti_array(
                faces, TRIANGLE).replace('Dim0="4"', 'Dim0="3"')),
             "array 1 holds more than the 36 bytes its dimensions give"),
            # Beyond the vertex limit in a file that could hold that many.
            ("gii beyond the vertex limit", gifti(ascii_coords, gifti_array(faces, TRIANGLE))
             .replace(b'Dim0="6"', b'Dim0="67108865"', 1).replace(
                 b"</GIFTI>", b"<!--" + b" " * 740000 + b"-->\n</GIFTI>", 1),
             "the surface has 67108865 vertices, more than the 67108864 the host loads"),
            ("gii unknown data type", gifti(ascii_coords, gifti_array(faces, TRIANGLE)).replace(
                b"NIFTI_TYPE_FLOAT32", b"NIFTI_TYPE_FLOAT33", 1),
             "array 0 has a data type that is not known"),
            ("gii unknown encoding", gifti(ascii_coords, gifti_array(faces, TRIANGLE)).replace(
                b'Encoding="ASCII"', b'Encoding="Base32"', 1),
             "array 0 has an encoding that is not read"),
            ("gii claims impossibly much", gifti(ascii_coords, gifti_array(faces, TRIANGLE)).replace(
                b'Dim0="6"', b'Dim0="2000000000"', 1), "impossible dimensions"),
            ("gii claims too much", gifti(ascii_coords, gifti_array(faces, TRIANGLE)).replace(
                b'Dim0="6"', b'Dim0="100000000"', 1), "more than the file can hold"),
        ]
        for name, data, reason in cases:
            with self.subTest(case=name):
                path = self.dir / "bad surface"
                path.write_bytes(data)
                self.assert_refused(path, reason)


def main():
    global HOST, PLUGIN
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    HOST, PLUGIN = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=1)


if __name__ == "__main__":
    main()
