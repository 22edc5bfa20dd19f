#!/usr/bin/env python3
"""Exports of the 150 mm cam read back by real readers, the command line's answers and its manual page."""
import csv, os, pathlib, re, subprocess, sys, tempfile, unittest
import xml.etree.ElementTree as ET
import ezdxf

PROGRAM = sys.argv.pop(1)
MAN_PAGE = sys.argv.pop(1)
MM = 25.4
TOLERANCE_IN = 1.5e-6  # 1e-6 in, and the worked figures and the table are each rounded to a millionth
TOLERANCE_MM = 1e-6
PART_W, PART_H = 1.542 * MM, 0.7 * MM       # the part: 39.1668 x 17.78 mm
PART_LEFT, PART_TOP, BASE = -0.114, -0.005, 0.695  # its edges in the cam's frame (inches, y downward)
# How much a 0.2 mm allowance widens and heightens the 150 mm part: more than 0.4 mm, as the mitred corners of
# the feet and of the lead-in's top reach past 0.2 mm along their bisectors.
ALLOWED_GROWTH = (0.45589, 0.41697)

# The 150 mm cam after a finished cam, in its own frame (inches, y downward).
WORKED_ROWS = {6.0: (0.333178, 0.041), 10.0: (0.689836, 0.074), 13.0: (1.338475, 0.128)}
BODY = [(1.356, 0.140), (1.428, 0.695), (1.186, 0.695), (1.186, 0.685), (0.126, 0.685), (0.126, 0.695), (-0.114, 0.695)]
HOLES = [(0.2, 0.3, 0.12), (0.88, 0.46, 0.12)]  # centre and radius


# Runs a command; one that hangs is asked to stop after a minute (SIGTERM) and killed 5 s later if it will not.
def run(*command, env=None, text=True):
    return subprocess.run(["timeout", "--kill-after=5", "60", *command], capture_output=True, text=text, env=env)


# Whether each figure, or each figure of each point, lies within the tolerance of the one expected.
def near(actual, expected, tolerance=TOLERANCE_IN):
    return len(actual) == len(expected) and all(
        near(a, e, tolerance) if isinstance(e, tuple) else abs(a - e) <= tolerance for a, e in zip(actual, expected))


class CutFiles(unittest.TestCase):
    def setUp(self):
        self.folder = self.enterContext(tempfile.TemporaryDirectory())

    def export(self, name, *options, env=None):
        done = run(PROGRAM, "--export", os.path.join(self.folder, name), *options, env=env)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.printed = done.stdout
        return os.path.join(self.folder, name)

    def test_dxf_part_read_back_and_a_sheet_of_nine(self):
        # The DXF is made in memory: a temporary folder that cannot be used (a file in its place) changes nothing.
        no_temp = dict(os.environ, TMPDIR=os.path.join(self.folder, "not-a-folder"))
        pathlib.Path(no_temp["TMPDIR"]).write_text("")
        # The part alone, never mirrored: no ticks, no title, no text, whatever --flip and --markers ask.
        doc = ezdxf.readfile(self.export("cam.dxf", "--focal-length", "150", "--markers", "--flip", env=no_temp))
        auditor = doc.audit()
        self.assertEqual((doc.dxfversion, auditor.has_errors, auditor.has_fixes), ("AC1009", False, False))
        self.assertEqual((doc.header["$INSUNITS"], tuple(doc.header["$EXTMIN"])), (4, (0, 0, 0)))
        self.assertTrue(near(tuple(doc.header["$EXTMAX"])[:2], (PART_W, PART_H), TOLERANCE_MM))
        model = doc.modelspace()
        self.assertEqual({(e.dxftype(), e.dxf.layer) for e in model},
                         {("POLYLINE", "CUT"), ("CIRCLE", "CUT"), ("POLYLINE", "ENGRAVE")})
        outline, *_ = model.query('POLYLINE[layer=="CUT"]')
        vertices = [(v.dxf.location.x, v.dxf.location.y) for v in outline.vertices]
        self.assertEqual((len(model.query('POLYLINE[layer=="CUT"]')), outline.is_closed, len(vertices)),
                         (1, True, 2 + 26 + len(BODY)))
        # From (0, 0), y up: the cam frame's left foot and base line are the part's left and bottom edges.
        in_frame = lambda x, y: (x / MM + PART_LEFT, BASE - y / MM)
        picked = [in_frame(*vertices[int(1 + 2 * index)]) for index in WORKED_ROWS] + [in_frame(*v) for v in vertices[-len(BODY):]]
        self.assertTrue(near(picked, [*WORKED_ROWS.values(), *BODY]), picked)
        self.assertTrue(near([(min(c), max(c)) for c in zip(*vertices)], [(0, PART_W), (0, PART_H)], TOLERANCE_MM))
        holes = [(*in_frame(c.dxf.center.x, c.dxf.center.y), c.dxf.radius / MM) for c in model.query("CIRCLE")]
        self.assertTrue(near(holes, HOLES), holes)
        # The caption's glyphs closed, inside the free band of the cam.
        glyphs = model.query('POLYLINE[layer=="ENGRAVE"]')
        ink = [in_frame(v.dxf.location.x, v.dxf.location.y) for glyph in glyphs for v in glyph.vertices]
        self.assertTrue(all(glyph.is_closed for glyph in glyphs) and len(glyphs) >= 6)
        self.assertTrue(all(0.02 < x < 0.75 and 0.425 < y < 0.565 for x, y in ink), ink)
        # The allowance moves the outline out; the part still starts at (0, 0); no engraving asked, none written.
        allowed = ezdxf.readfile(self.export("oversize.dxf", "--focal-length", "150", "--allowance", "0.2",
                                             "--no-engrave")).modelspace()
        outline, = allowed.query("POLYLINE")
        extents = [(min(c), max(c)) for c in zip(*[(v.dxf.location.x, v.dxf.location.y) for v in outline.vertices])]
        self.assertTrue(near(extents, [(0, PART_W + ALLOWED_GROWTH[0]), (0, PART_H + ALLOWED_GROWTH[1])], 1e-4), extents)
        self.assertEqual([round(c.dxf.radius, 6) for c in allowed.query("CIRCLE")], [round(0.12 * MM - 0.2, 6)] * 2)
        self.assertIn("allowance: 0.200 mm", self.printed)
        # A sheet: one part per file, named by its lens in mm, a repeated lens counted on; in inches too.
        for sheet, inch, names in [
                ("65,90,135,150,210,250,270,150,380", [], ["65", "90", "135", "150", "210", "250", "270", "150-2", "380"]),
                ("3,4,5,5.9,6,8,10,12,14", ["--inch"], ["76.2", "101.6", "127", "149.86", "152.4", "203.2", "254",
                                                          "304.8", "355.6"])]:
            folder = self.enterContext(tempfile.TemporaryDirectory())
            done = run(PROGRAM, "--export", os.path.join(folder, "cams.dxf"), "--sheet", sheet, *inch)
            self.assertEqual((done.returncode, sorted(os.listdir(folder))),
                             (0, sorted(f"cams-{n}.dxf" for n in names)), done)
        # Each file's preflight after its name, the coupled range once in each.
        lines = done.stdout.splitlines()
        self.assertEqual((len(lines), lines.count(os.path.join(folder, "cams-304.8.dxf:")),
                          sum("couples from infinity" in line for line in lines)), (9 * 8, 1, 9))

    def test_svg_part_never_mirrored_and_a_nested_sheet(self):
        path = self.export("cam.svg", "--focal-length", "150", "--flip")
        svg = ET.parse(path).getroot()
        self.assertEqual((svg.get("width"), svg.get("viewBox")), (f"{PART_W:.6f}mm", f"0 0 {PART_W:.6f} {PART_H:.6f}"))
        self.assertNotIn("<text", pathlib.Path(path).read_text())
        cut, engrave = svg.findall("{*}g")
        self.assertEqual((cut.get("id"), cut.get("fill"), engrave.get("id")), ("CUT", "none", "ENGRAVE"))
        # One closed path, a line to each vertex after the first; the glyphs closed too.
        outline = [(path.get("d").count("L"), path.get("d")[-1]) for path in cut.findall("{*}path")]
        self.assertEqual(outline, [(2 + 26 + len(BODY) - 1, "Z")])
        self.assertEqual({path.get("d")[-1] for path in engrave.findall("{*}path")}, {"Z"})
        # The holes where the unmirrored cam has them, y downward from the part's top as an SVG has it.
        holes = [tuple(float(circle.get(key)) / MM for key in ("cx", "cy", "r")) for circle in cut.findall("{*}circle")]
        self.assertTrue(near(holes, [(x - PART_LEFT, y - PART_TOP, r) for x, y, r in HOLES]), holes)
        # Nested: the nine in one file, three by three, 5 mm apart.
        nested = ET.parse(self.export("nine.svg", "--sheet", "65,90,135,150,210,250,270,300,380", "--nested")).getroot()
        self.assertEqual(len(nested.findall("{*}g[@id='CUT']/{*}path")), 9)
        self.assertEqual(nested.get("width"), f"{3 * PART_W + 10:.6f}mm")

    def test_pdf_is_vector_at_true_size_with_scale_bars(self):
        path = self.export("cam.pdf", "--focal-length", "150", "--markers")
        self.assertEqual(len(run("pdfimages", "-list", path).stdout.splitlines()), 2)  # the heading alone: no image
        # A portrait page of the paper asked for, else of the locale's measurement units. The bars start where the
        # drawing does, an inch in, the 6.3 in sheet half an inch in on A4; each label 0.1 in past its bar's end.
        nine = ["--sheet", "65,90,135,150,210,250,270,300,380"]
        a4, letter = "595 x 842", "612 x 792"
        for name, (options, locale, page, left) in {
                "cam on A4": (["--focal-length", "150", "--paper", "A4"], "C.UTF-8", a4, 1),
                "cam on letter": (["--focal-length", "150", "--paper", "letter"], "de_DE.UTF-8", letter, 1),
                "US locale": (["--focal-length", "150"], "en_US.UTF-8", letter, 1),
                "German locale": (["--focal-length", "150"], "de_DE.UTF-8", a4, 1),
                "sheet on A4": ([*nine, "--paper", "a4"], "en_US.UTF-8", a4, 0.5),
                "sheet on letter": ([*nine, "--paper", "letter"], "C.UTF-8", letter, 1)}.items():
            with self.subTest(name):
                path = self.export("page.pdf", *options, env=dict(os.environ, LC_ALL=locale, LANG=locale))
                self.assertRegex(run("pdfinfo", path).stdout, rf"Page size: +{page} pts")
                words = re.findall(r'xMin="([\d.]+)".*>(.*)</word>', run("pdftotext", "-bbox", path, "-").stdout)
                starts = {word: float(x) for x, word in words[-4:]}
                self.assertTrue(near((starts["50"], starts["2"]), ((left + 50 / MM + 0.1) * 72, (left + 2.1) * 72),
                                     0.01), starts)

    def test_profile_table(self):
        lines = pathlib.Path(self.export("cam.csv", "--focal-length", "150", "--flip")).read_text().splitlines()
        self.assertEqual(lines[0], "focal_length_mm,index,distance_mm,marker,factor,kind,x_in,y_in,height_in,"
                                   "x_mm,height_mm")
        rows = list(csv.DictReader(lines))
        self.assertEqual([row["kind"] for row in rows], ["lead-in"] * 2 + ["profile"] * 26 + ["end"])
        worked = [row for row in rows if row["kind"] == "profile" and float(row["index"]) in WORKED_ROWS]
        self.assertEqual([(r["marker"], r["factor"]) for r in worked], [("1", f) for f in ("1.09", "1.07", "1.155")])
        # The cam's own frame, never mirrored; the height from the cam's top edge at 0.695 in.
        found = [(float(r["x_in"]), float(r["y_in"]), float(r["height_in"]), float(r["x_mm"]) / MM) for r in worked]
        self.assertTrue(near(found, [(x, y, 0.695 - y, x) for x, y in WORKED_ROWS.values()]), found)

    def test_command_line_answers(self):
        file = os.path.join(self.folder, "a.dxf")
        nine = "65,90,135,150,210,250,270,300,380"
        # Values each option refuses: a word, zero, negative, a decimal comma, group separators, past either end
        # of the cuttable range; eight lenses, a word among nine, one lens too short.
        refused = {"--focal-length": {v: v for v in ("abc", "0", "-5", "150,5", "1,500", "5,875", "1.500,5", "19.99",
                                                     "4169.01")},
                   "--sheet": {"1,2,3,4,5,6,7,8": "nine", nine.replace("150", "x"): '"x"',
                               nine.replace("65", "19.99"): "19.99 mm"}}
        # Each row: arguments, exit status, a part of the one line on standard error.
        cases = {
            "unknown option": (["--bogus"], 2, "bogus"),
            "export without a file": (["--export"], 2, "--export needs a file name"),
            "export followed by an option": (["--export", "--inch", "--focal-length", "150"], 2, "--export needs a file"),
            "focal length without a value": (["--export", file, "--focal-length"], 2, "--focal-length needs"),
            "sheet followed by an option": (["--export", file, "--sheet", "--flip"], 2, "--sheet needs"),
            "no export": (["--flip"], 2, "--export"),
            "export without a lens": (["--export", file], 2, "--focal-length or --sheet"),
            "sheet and focal length": (["--export", file, "--sheet", nine, "--focal-length", "150"], 2, "not both"),
            "json without rows": (["--json"], 2, "--fit-lens"),
            "scan without a lens": (["--check-scan", file], 2, "--check-scan needs --focal-length"),
            "resolution without a scan": (["--dpi", "600"], 2, "go with --check-scan"),
            "scan that cannot be read": (["--check-scan", os.path.join(self.folder, "none.png"), "--focal-length", "150"],
                                         2, "cannot read"),
            "scanner correction out of reach": (["--check-scan", file, "--focal-length", "150", "--scan-correction",
                                                 "1,3"], 2, "0.5 to 2"),
            "rows without a file": (["--fit-lens"], 2, "--fit-lens needs"),
            "high resolution without a sheet": (["--export", file, "--focal-length", "150", "--high-res"], 2,
                                                "--high-res"),
            "inches past the range": (["--export", file, "--focal-length", "164.2", "--inch"], 2, "4170.68 mm"),
            "unknown extension": (["--export", os.path.join(self.folder, "a.txt"), "--focal-length", "150"], 2, "a.txt"),
            "focus card of a sheet": (["--export", os.path.join(self.folder, "c.csv"), "--sheet", nine, "--focus-card"],
                                      2, "without --sheet"),
            "focus card as a drawing": (["--export", file, "--focal-length", "150", "--focus-card"], 2,
                                        ".csv or .pdf file"),
            "unknown paper": (["--export", os.path.join(self.folder, "c.pdf"), "--focal-length", "150", "--paper",
                               "b5"], 2, "--paper needs a4 or letter: b5"),
            "paper for a part": (["--export", file, "--focal-length", "150", "--paper", "a4"], 2, "goes with a .pdf"),
            "allowance past 1 mm": (["--export", file, "--focal-length", "150", "--allowance", "1.5"], 2, "0 to 1 mm"),
            "thickness below 0.1 mm": (["--export", file, "--focal-length", "150", "--thickness", "0.05"], 2,
                                       "0.1 to 10 mm"),
            "nested without a sheet": (["--export", file, "--focal-length", "150", "--nested"], 2, "--nested"),
            "folder missing": (["--export", os.path.join(self.folder, "none", "a.dxf"), "--focal-length", "150"], 1,
                               "no such folder"),
            **{f"{option} {value}": (["--export", file, option, value], 2, fragment)
               for option, values in refused.items() for value, fragment in values.items()},
        }
        for name, (args, expected, fragment) in cases.items():
            with self.subTest(name):
                done = run(PROGRAM, *args)
                self.assertEqual((done.returncode, len(done.stderr.strip().splitlines())), (expected, 1), done)
                self.assertIn(fragment, done.stderr)
        self.assertEqual(os.listdir(self.folder), [])
        # Both ends of the range are cut; the coupled range follows each export.
        for focal, printed in [("20", "3 ft (0.91 m)"), ("4169", "5260 ft (1603.25 m)"), ("300", "12.5 ft (3.81 m)")]:
            self.export("c.csv", "--focal-length", focal)
            self.assertEqual(self.printed, f"couples from infinity to {printed}\n")
        # The focus check card of a clamped cam: markers 1 to 5, numbers that read back exactly, the range after it.
        card = list(csv.reader(pathlib.Path(self.export("card.csv", "--focal-length", "300", "--focus-card")).open()))
        self.assertEqual(card[0], "marker,distance_ft,distance_m,travel_mm,travel_in,cam_height_mm".split(","))
        self.assertEqual([row[0] for row in card[1:]], ["1", "2", "3", "4", "5"])
        self.assertEqual(card[5][1:3] + card[5][5:], ["15", "4.572", "16.9926"])
        self.assertEqual(self.printed, "couples from infinity to 12.5 ft (3.81 m)\n")
        # The same rows on a page, each number to its column's decimals, under the lens and its range.
        page = run("pdftotext", "-layout", self.export("card.pdf", "--focal-length", "300", "--focus-card"), "-").stdout
        self.assertIn("300 mm lens", page)
        self.assertIn("couples from infinity to 12.5 ft (3.81 m)", page)
        rows = [line.split() for line in page.splitlines() if re.fullmatch(r" *\d+( +[\d.]+){5} *", line)]
        self.assertEqual(rows, [[f"{float(v):.{d}f}" for v, d in zip(row, (0, 2, 3, 3, 4, 3))] for row in card[1:]])
        self.assertEqual(self.printed, "couples from infinity to 12.5 ft (3.81 m)\n")
        # A name not valid in the locale's encoding, in a folder of such a name, is written under its exact bytes.
        folder = os.fsencode(self.folder) + b"/d\xe8"
        os.mkdir(folder)
        done = run(PROGRAM, "--export", folder + b"/caf\xe9.dxf", "--focal-length", "150", text=False)
        self.assertEqual((done.returncode, os.listdir(folder)), (0, [b"caf\xe9.dxf"]), done)
        # The high-resolution sheet's bitmap at six times the scale: 6.3 in at 96 ppi, six times over.
        with open(self.export("hi.bmp", "--sheet", nine, "--high-res"), "rb") as bitmap:
            self.assertEqual(int.from_bytes(bitmap.read(22)[18:22], "little"), 3629)
        version = run(PROGRAM, "-v")
        self.assertEqual((version.returncode, version.stdout), (0, "korvel-cam-designer 1.3.70\n"))
        german = dict(os.environ, LC_ALL="de_DE.UTF-8", LANG="de_DE.UTF-8")
        table = pathlib.Path(self.export("b.csv", "--focal-length", "5.9", "--inch", env=german)).read_text()
        self.assertTrue(table.splitlines()[1].startswith("149.86,"))

    def test_lens_fitted_from_rows(self):
        # The worked example C, read by column name past a comment and an extra column.
        rows = pathlib.Path(self.folder, "rows.csv")
        rows.write_text("# lens C\nnote,travel_mm,magnification\nx,15.6,0.102\n,22.9,0.149\n,30.3,0.201\n"
                        ",38.0,0.252\n,44.6,0.298\n")
        done = run(PROGRAM, "--fit-lens", str(rows), "--json")
        self.assertEqual(done.returncode, 0, done)
        fit = __import__("json").loads(done.stdout)
        self.assertEqual([round(fit[k], 3) for k in ("focal_length_mm", "infinity_offset_mm",
                                                     "sigma_focal_length_mm", "sigma_infinity_offset_mm")],
                         [147.669, -0.687, 1.105, 0.235])
        self.assertIn("infinity stop", done.stderr)

    def test_no_display_and_the_manual_page(self):
        bare = {key: value for key, value in os.environ.items()
                if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        done = run(PROGRAM, env=bare)
        self.assertEqual((done.returncode, done.stderr), (1, "korvel-cam-designer: no display: set DISPLAY or "
                                                             "WAYLAND_DISPLAY, or use --export (see --help)\n"))
        # Every option of --help, and the sections --help does not hold, are in the manual page.
        options = re.findall(r"^ +(?:-\w, )?--([\w-]+)", run(PROGRAM, "-h").stdout, re.M)
        page = pathlib.Path(MAN_PAGE).read_text()
        self.assertEqual(len(options), 24)
        for name in [*(rf"\fB\-\-{o.replace('-', chr(92) + '-')}\fR" for o in options), ".SH \"EXIT STATUS\"",
                     ".SH ENVIRONMENT", ".SH FILES", "XDG_DATA_HOME", "KorvelCamDesigner.ini"]:
            self.assertIn(name, page)

if __name__ == "__main__":
    unittest.main()
