#!/usr/bin/env python3
"""Exports of the 150 mm cam read back by real readers, and the command line's answers to bad input."""
import csv, os, re, signal, subprocess, sys, tempfile, unittest
import xml.etree.ElementTree as ET
import ezdxf

PROGRAM = sys.argv.pop(1)
MM = 25.4
TOLERANCE_IN = 1.5e-6  # 1e-6 in, and the worked figures and the table are each rounded to a millionth
TOLERANCE_MM = TOLERANCE_IN * MM
PREVIEW_W, PREVIEW_H = 201 / 96, 137 / 96   # the preview surface in whole pixels, inches
CAM_LEFT, CAM_TOP = 0.35, 0.5               # the preview cam's frame origin

# The 150 mm cam after a finished cam, in its own frame (inches, y downward).
WORKED_ROWS = {6.0: (0.333178, 0.041), 10.0: (0.689836, 0.074), 13.0: (1.338475, 0.128)}
BODY = [(1.356, 0.140), (1.428, 0.695), (1.186, 0.695), (1.186, 0.685), (0.126, 0.685), (0.126, 0.695),
        (-0.114, 0.695)]
HOLES = [(0.2, 0.3), (0.88, 0.46)]
HOLE_RADIUS = 0.12


def run(args, env=None):
    """Runs the program, stopping it gently by its own id should it hang."""
    process = subprocess.Popen([PROGRAM] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                               env=dict(os.environ, **(env or {})))
    try:
        out, err = process.communicate(timeout=60)
    except subprocess.TimeoutExpired:
        process.send_signal(signal.SIGTERM)
        try:
            out, err = process.communicate(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            out, err = process.communicate()
    return process.returncode, out, err


class CutFiles(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def export(self, name, *options):
        path = os.path.join(self.folder.name, name)
        status, _, err = run(["--export", path, "--focal-length", "150"] + list(options))
        self.assertEqual(status, 0, err)
        return path

    def assertNear(self, actual, expected_in, origin_mm=0.0, sign=1):
        self.assertAlmostEqual(actual, origin_mm + sign * expected_in * MM, delta=TOLERANCE_MM)

    def test_dxf_read_back(self):
        doc = ezdxf.readfile(self.export("cam.dxf", "--markers"))
        self.assertEqual(doc.header["$INSUNITS"], 4)
        msp = doc.modelspace()
        outlines = msp.query("LWPOLYLINE")
        self.assertEqual(len(outlines), 1)
        self.assertEqual(outlines[0].dxf.layer, "CUT")
        self.assertTrue(outlines[0].closed)
        vertices = [(x, y) for x, y, *_ in outlines[0].get_points()]
        self.assertEqual(len(vertices), 2 + 26 + len(BODY))  # lead-in, rows, end and body
        to_mm = lambda x, y: ((x + CAM_LEFT) * MM, (PREVIEW_H - (y + CAM_TOP)) * MM)  # y upward
        for x, y in WORKED_ROWS.values():
            expected = to_mm(x, y)
            self.assertTrue(any(abs(vx - expected[0]) < TOLERANCE_MM and abs(vy - expected[1]) < TOLERANCE_MM
                                for vx, vy in vertices), (x, y))
        for (x, y), (vx, vy) in zip(BODY, vertices[-len(BODY):]):
            self.assertAlmostEqual(vx, to_mm(x, y)[0], delta=TOLERANCE_MM)
            self.assertAlmostEqual(vy, to_mm(x, y)[1], delta=TOLERANCE_MM)
        circles = msp.query("CIRCLE")
        self.assertEqual([c.dxf.layer for c in circles], ["CUT", "CUT"])
        for circle, (x, y) in zip(circles, HOLES):
            self.assertAlmostEqual(circle.dxf.center.x, to_mm(x, y)[0], delta=TOLERANCE_MM)
            self.assertAlmostEqual(circle.dxf.center.y, to_mm(x, y)[1], delta=TOLERANCE_MM)
            self.assertAlmostEqual(circle.dxf.radius, HOLE_RADIUS * MM, delta=TOLERANCE_MM)
        self.assertEqual({line.dxf.layer for line in msp.query("LINE")}, {"MARKS"})
        self.assertEqual(len(msp.query("LINE")), 26)
        self.assertEqual(sorted(t.dxf.text for t in msp.query("TEXT")),
                         ["150 mm", "Korvel Cam Designer", "by Orlan - www.orlan.example"])
        self.assertEqual({t.dxf.layer for t in msp.query("TEXT")}, {"TEXT"})

    def test_sheet_dxf_holds_nine_outlines(self):
        status, _, err = run(["--export", os.path.join(self.folder.name, "sheet.dxf"),
                              "--sheet", "65,90,135,150,210,250,270,300,380"])
        self.assertEqual(status, 0, err)
        msp = ezdxf.readfile(os.path.join(self.folder.name, "sheet.dxf")).modelspace()
        self.assertEqual(len(msp.query("LWPOLYLINE")), 9)
        self.assertEqual(len(msp.query("CIRCLE")), 18)

    def test_svg_mirrored_at_true_size(self):
        svg = ET.parse(self.export("cam.svg", "--flip")).getroot()
        ns = {"s": "http://www.w3.org/2000/svg"}
        self.assertEqual(svg.get("width"), f"{PREVIEW_W * MM:.6f}mm")
        self.assertEqual(svg.get("viewBox"), f"0 0 {PREVIEW_W * MM:.6f} {PREVIEW_H * MM:.6f}")
        cut = svg.find("s:g[@id='cut']", ns)
        self.assertEqual((cut.get("fill"), cut.get("stroke")), ("none", "#000000"))
        paths = cut.findall("s:path", ns)
        self.assertEqual(len(paths), 1)
        self.assertTrue(paths[0].get("d").endswith("Z"))
        self.assertEqual(paths[0].get("d").count("L"), 2 + 26 + len(BODY) - 1)
        circles = cut.findall("s:circle", ns)
        for circle, (x, y) in zip(circles, HOLES):  # mirrored about the surface's width
            self.assertNear(float(circle.get("cx")), PREVIEW_W - (x + CAM_LEFT))
            self.assertNear(float(circle.get("cy")), y + CAM_TOP)
            self.assertNear(float(circle.get("r")), HOLE_RADIUS)
        self.assertEqual(len(svg.findall("s:g[@id='text']/s:text", ns)), 3)

    def test_pdf_is_vector_at_true_size_with_scale_bars(self):
        path = self.export("cam.pdf", "--markers")
        tool = lambda *args: subprocess.run(args, capture_output=True, text=True, check=True).stdout
        self.assertEqual(len(tool("pdfimages", "-list", path).splitlines()), 2)  # the heading alone: no image
        # The bars start one inch in; each label stands 0.1 in past its bar's end, in points.
        words = re.findall(r'xMin="([\d.]+)".*>(.*)</word>', tool("pdftotext", "-bbox", path, "-"))
        starts = {word: float(x) for x, word in words[-4:]}
        self.assertAlmostEqual(starts["50"], (1 + 50 / MM + 0.1) * 72, delta=0.01)
        self.assertAlmostEqual(starts["2"], (1 + 2 + 0.1) * 72, delta=0.01)

    def test_profile_table(self):
        with open(self.export("cam.csv", "--flip")) as table:
            lines = table.read().splitlines()
        self.assertEqual(lines[0], "focal_length_mm,index,distance_mm,marker,factor,kind,x_in,y_in,height_in,"
                                   "x_mm,height_mm")
        rows = list(csv.DictReader(lines))
        self.assertEqual(len(rows), 2 + 26 + 1)
        self.assertEqual([r["kind"] for r in rows[:3]] + [rows[-1]["kind"]], ["lead-in", "lead-in", "profile", "end"])
        by_index = {float(r["index"]): r for r in rows if r["kind"] == "profile"}
        for index, (x, y) in WORKED_ROWS.items():  # the cam's own frame, never mirrored
            row = by_index[index]
            self.assertAlmostEqual(float(row["x_in"]), x, delta=TOLERANCE_IN)
            self.assertAlmostEqual(float(row["y_in"]), y, delta=TOLERANCE_IN)
            self.assertAlmostEqual(float(row["height_in"]), 0.695 - y, delta=TOLERANCE_IN)
            self.assertAlmostEqual(float(row["x_mm"]), x * MM, delta=TOLERANCE_MM)
            self.assertEqual(row["marker"], "1")
        self.assertEqual((rows[0]["focal_length_mm"], rows[0]["factor"], by_index[13.0]["factor"]),
                         ("150", "1.074", "1.155"))

    def test_command_line_answers(self):
        out = lambda name: os.path.join(self.folder.name, name)
        cases = {
            "unknown option": (["--bogus"], 2),
            "export without a file": (["--export"], 2),
            "no export": (["--flip"], 2),
            "focal length a word": (["--export", out("a.dxf"), "--focal-length", "abc"], 2),
            "focal length zero": (["--export", out("a.dxf"), "--focal-length", "0"], 2),
            "focal length negative": (["--export", out("a.dxf"), "--focal-length", "-5"], 2),
            "decimal comma": (["--export", out("a.dxf"), "--focal-length", "150,5"], 2),
            "sheet of eight": (["--export", out("a.dxf"), "--sheet", "1,2,3,4,5,6,7,8"], 2),
            "sheet with a word": (["--export", out("a.dxf"), "--sheet", "1,2,3,4,x,6,7,8,9"], 2),
            "unknown extension": (["--export", out("a.txt")], 2),
            "folder missing": (["--export", out("none/a.dxf")], 1),
        }
        for name, (args, expected) in cases.items():
            with self.subTest(name):
                status, stdout, err = run(args)
                self.assertEqual(status, expected, err)
                self.assertEqual(len(err.strip().splitlines()), 1, err)
        self.assertEqual(os.listdir(self.folder.name), [])
        self.assertEqual(run(["--version"])[:2], (0, "korvel-cam-designer 1.3.70\n"))
        status, _, err = run(["--export", out("b.csv"), "--focal-length", "5.9", "--inch"],
                             {"LC_ALL": "de_DE.UTF-8", "LANG": "de_DE.UTF-8"})
        self.assertEqual(status, 0, err)
        with open(out("b.csv")) as table:
            self.assertTrue(table.readlines()[1].startswith("149.86,"))


if __name__ == "__main__":
    unittest.main()
