# Methods as a Python caller sees them: keywords by the header's parameter
# names, the values that may be left out, misfit arguments named in the
# caller's terms, signatures and docstrings from the header, the type stub,
# where the package finds its library, and a pip install of the package.
import ast
import inspect
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGE = os.path.normpath(os.path.join(HERE, ".."))
ROOT = os.path.normpath(os.path.join(PACKAGE, "..", ".."))
sys.path.insert(0, PACKAGE)
import quorvane  # noqa: E402
from quorvane import _tables  # noqa: E402


def bar_png(add_layers):
    with quorvane.XYChart(160, 120) as c:
        c.setPlotArea(20, 10, 120, 90, 0xFFFFFF, -1, -1, -1, -1)
        add_layers(c)
        return c.makeChart2(quorvane.PNG)


def caller_params(name):
    """The parameters a caller passes: the table's, less the implied counts."""
    counts = {c for c, _ in _tables.IMPLIED_COUNTS.get(name, ())}
    return [p for i, (p, _) in enumerate(_tables.METHODS[name].params) if i not in counts]


class KeywordTest(unittest.TestCase):
    def test_keywords_and_left_out_values_draw_what_positions_draw(self):
        positional = bar_png(lambda c: (c.addBarLayer([3, 5, 2], -1, "", 0),
                                        c.addLineLayer([1, 4, 2], 0x202020, "t", 0)))
        for calls in [
            lambda c: (c.addBarLayer([3, 5, 2]), c.addLineLayer([1, 4, 2], 0x202020, "t")),
            lambda c: (c.addBarLayer(data=[3, 5, 2]),
                       c.addLineLayer(name="t", color=0x202020, data=[1, 4, 2])),
            lambda c: (c.addBarLayer([3, 5, 2], depth=0),
                       c.addLineLayer([1, 4, 2], 0x202020, depth=0, name="t")),
        ]:
            with self.subTest():
                self.assertEqual(bar_png(calls), positional)
        # None stands for a list the header lets be null.
        self.assertEqual(bar_png(lambda c: c.addBarLayer3([1, 2])),
                         bar_png(lambda c: c.addBarLayer3([1, 2], [], [], 0)))
        with quorvane.PieChart(100, 100) as pie:
            pie.setData(data=[1, 2])
            self.assertTrue(pie.sector(1))

    def test_the_checks_see_keyword_arguments_in_their_places(self):
        import warnings
        with quorvane.PieChart(100, 100) as pie, warnings.catch_warnings(record=True) as seen:
            warnings.simplefilter("always")
            pie.setData(labels=["a"], data=[1, 2, 3])
            pie.makeChart2(format=quorvane.PNG)
        self.assertEqual([str(w.message).split(":")[0] for w in seen],
                         ["the pie has 3 values and 1 labels"])

    def test_results_of_bool_methods_are_bools(self):
        with quorvane.DrawArea() as area:
            self.assertIs(area.loadPNG(filename=os.path.join(HERE, "no such file.png")), False)

    def test_misfit_arguments_are_named_in_the_callers_terms(self):
        c = quorvane.XYChart(100, 100)
        self.addCleanup(c.destroy)
        signature = "XYChart.addBarLayer(data, color, name, depth)"
        cases = [
            (lambda: c.addBarLayer(), f"{signature} takes 1 to 4 arguments (0 given)"),
            (lambda: c.addBarLayer([1], 0, "n", 0, 5), f"{signature} takes 1 to 4 arguments (5 given)"),
            (lambda: c.setSize(1), "XYChart.setSize(width, height) takes 2 arguments (1 given)"),
            (lambda: c.xAxis().getLength(1), "XAxis.getLength() takes no arguments (1 given)"),
            (lambda: quorvane.XYChart(1), "XYChart(width, height, bgColor, edgeColor) takes 2 to 4 "
                                          "arguments (1 given)"),
            (lambda: c.addBarLayer(color=1), f"{signature} missing argument: 'data'"),
            (lambda: c.setSize(height=1), "XYChart.setSize(width, height) missing argument: 'width'"),
            (lambda: c.addBarLayer([1], colour=1),
             "XYChart.addBarLayer() got an unexpected keyword argument 'colour' "
             "(its parameters: data, color, name, depth)"),
            (lambda: c.addBarLayer([1], data=[2]),
             "XYChart.addBarLayer() got multiple values for argument 'data'"),
            (lambda: c.addBarLayer("abc"),
             "XYChart.addBarLayer: argument 1 (data) must be a sequence of numbers, not str"),
            (lambda: c.addBarLayer([1, "x"]), "XYChart.addBarLayer: argument 1 (data) must be a "
                                              "sequence of numbers, not list (item 1 is str)"),
            (lambda: c.addBarLayer([1], name=5),
             "XYChart.addBarLayer: argument 'name' must be a str, not int"),
            (lambda: c.setSize("wide", 1),
             "XYChart.setSize: argument 1 (width) must be an int of 32 bits, not str"),
            (lambda: c.setSize(1, 1 << 32),
             "XYChart.setSize: argument 2 (height) must be an int of 32 bits, not 4294967296"),
            (lambda: c.setSize(1.5, 1),
             "XYChart.setSize: argument 1 (width) must be an int of 32 bits, not float"),
            (lambda: c.addTitle("a\0b", "", 8, 0, 0, 0),
             "XYChart.addTitle: argument 1 (text) must be a str, not str holding NUL"),
            (lambda: c.xAxis().setLabels(["a", 2]), "XAxis.setLabels: argument 1 (labels) must be "
                                                    "a sequence of str, not list (item 1 is int)"),
            (lambda: c.getDrawArea().merge(3, 0, 0, 7, 0),
             "DrawArea.merge: argument 1 (src) must be a DrawArea, not int"),
            (lambda: c.yAxis().setLinearScale(0, "top"),
             "YAxis.setLinearScale: argument 2 (upperLimit) must be a number or None, not str"),
        ]
        for run, message in cases:
            with self.subTest(message=message):
                with self.assertRaises(quorvane.ArgumentError) as caught:
                    run()
                self.assertIsInstance(caught.exception, TypeError)
                self.assertIsInstance(caught.exception, quorvane.Error)
                self.assertEqual(str(caught.exception), message)
        # What only the library can tell keeps its message.
        with self.assertRaises(quorvane.Error) as caught:
            c.getDrawArea().merge(c.xAxis(), 0, 0, 7, 0)
        self.assertIn("Error converting", str(caught.exception))


class SignatureTest(unittest.TestCase):
    def test_every_method_shows_the_callers_parameters(self):
        shown = 0
        for name, method in _tables.METHODS.items():
            class_name, _, method_name = name.rpartition(".")
            if not class_name or method_name == "destroy":
                continue
            cls = getattr(quorvane, class_name)
            function = cls.__init__ if method_name == "create" else getattr(cls, method_name)
            with self.subTest(name=name):
                params = list(inspect.signature(function).parameters.values())[1:]
                self.assertEqual([p.name for p in params], caller_params(name))
                defaults = tuple(p.default for p in params if p.default is not p.empty)
                self.assertEqual(defaults, method.defaults)
                self.assertTrue(function.__doc__)
                shown += 1
        self.assertGreater(shown, 200)
        self.assertLessEqual({"addBarLayer", "setSize", "makeChart2", "options"},
                             set(dir(quorvane.XYChart(10, 10))))

    def test_docstrings_are_the_header_comments(self):
        # The comment lines right above each declaration, read here by hand.
        with open(os.path.join(ROOT, "include", "quorvane.h"), encoding="utf-8") as f:
            header = f.read()
        for cls, method, declaration in [
            (quorvane.XYChart, "addBarLayer", "virtual BarLayer *addBarLayer("),
            (quorvane.DrawArea, "setSize", "virtual void setSize(int width, int height, int bgColor)"),
            (quorvane.PieChart, "set3D", "virtual void set3D(int depth, double angle"),
        ]:
            with self.subTest(method=method):
                above = header[:header.index(declaration)].rstrip(" ").splitlines()
                comment = []
                while above and above[-1].strip().startswith("//"):
                    comment.insert(0, above.pop().strip()[3:])
                self.assertTrue(comment)
                self.assertEqual(getattr(cls, method).__doc__, "\n".join(comment))
        with quorvane.XYChart(10, 10) as c:
            text = _help_text(c.addBarLayer)
        self.assertIn("addBarLayer(data: Sequence[Optional[float]], color: int = -1, name: str = '', "
                      "depth: int = 0) -> quorvane.BarLayer", text)
        self.assertIn(quorvane.XYChart.addBarLayer.__doc__, text)

    def test_the_stub_matches_the_package(self):
        with open(os.path.join(PACKAGE, "quorvane", "__init__.pyi"), encoding="utf-8") as f:
            stub = ast.parse(f.read())
        self.assertTrue(os.path.isfile(os.path.join(PACKAGE, "quorvane", "py.typed")))
        names = {n.name for n in stub.body if isinstance(n, (ast.ClassDef, ast.FunctionDef))}
        names |= {n.target.id for n in stub.body if isinstance(n, ast.AnnAssign)}
        public = {n for n in dir(quorvane) if not n.startswith("_") and
                  not inspect.ismodule(getattr(quorvane, n))}
        self.assertEqual(public - names, set())
        checked = 0
        for node in stub.body:
            if not isinstance(node, ast.ClassDef) or node.name not in dict(_tables.CLASSES):
                continue
            cls = getattr(quorvane, node.name)
            self.assertEqual([b.id for b in node.bases], [cls.__bases__[0].__name__])
            for f in node.body:
                if isinstance(f, ast.FunctionDef):
                    runtime = inspect.signature(getattr(cls, f.name))
                    self.assertEqual([a.arg for a in f.args.args], list(runtime.parameters), f.name)
                    defaults = [ast.literal_eval(d) for d in f.args.defaults]
                    self.assertEqual(defaults, [p.default for p in runtime.parameters.values()
                                                if p.default is not p.empty], f.name)
                    checked += 1
        self.assertGreater(checked, 200)


def library_version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(quorvane VERSION ([0-9.]+)", f.read())[1]


def _help_text(function):
    import pydoc
    return pydoc.render_doc(function, renderer=pydoc.plaintext)


def _run_python(code, env_extra, python=sys.executable):
    env = {k: v for k, v in os.environ.items() if k != "QUORVANE_LIBRARY"}
    env.update(env_extra)
    done = subprocess.run([python, "-c", code], env=env, capture_output=True, text=True,
                          timeout=120)
    if done.returncode != 0:
        raise AssertionError(done.stderr)
    return done.stdout.strip()


class LibrarySearchTest(unittest.TestCase):
    def test_a_checkout_finds_build_then_build_demo(self):
        with tempfile.TemporaryDirectory() as root:
            shutil.copytree(os.path.join(PACKAGE, "quorvane"),
                            os.path.join(root, "bindings", "python", "quorvane"))
            code = "import quorvane; print(quorvane.library_path())"
            env = {"PYTHONPATH": os.path.join(root, "bindings", "python")}
            self.assertEqual(_run_python(code, env), "libquorvane20.so")
            for folder in ("build-demo", "build"):
                os.mkdir(os.path.join(root, folder))
                with open(os.path.join(root, folder, "libquorvane20.so"), "wb"):
                    pass
                self.assertEqual(_run_python(code, env),
                                 os.path.join(root, folder, "libquorvane20.so"))


class PipInstallTest(unittest.TestCase):
    def test_pip_installs_a_package_that_draws(self):
        library = os.path.abspath(quorvane.library_path())
        if subprocess.run([sys.executable, "-m", "pip", "--version"],
                          capture_output=True).returncode != 0:
            self.skipTest("pip is absent")
        before = set(os.listdir(PACKAGE))
        with tempfile.TemporaryDirectory() as target:
            done = subprocess.run([sys.executable, "-m", "pip", "install", "-q", "--no-build-isolation",
                                   "--no-deps", "--no-index", "--target", target, PACKAGE],
                                  capture_output=True, text=True, timeout=300)
            self.assertEqual(done.returncode, 0, done.stderr)
            self.assertEqual(set(os.listdir(os.path.join(target, "quorvane"))) - {"__pycache__"},
                             {f for f in os.listdir(os.path.join(PACKAGE, "quorvane"))
                              if f.endswith((".py", ".pyi")) or f == "py.typed"})
            self.assertIn(f"quorvane-{library_version()}.dist-info", os.listdir(target))
            out = _run_python("import quorvane, struct\n"
                              "c = quorvane.XYChart(90, 70)\n"
                              "c.addBarLayer(data=[1, 3, 2])\n"
                              "png = c.makeChart2(quorvane.PNG)\n"
                              "print(quorvane.__file__, struct.unpack('>II', png[16:24]))",
                              {"PYTHONPATH": target, "QUORVANE_LIBRARY": library})
            self.assertEqual(out, f"{os.path.join(target, 'quorvane', '__init__.py')} (90, 70)")
        # The build writes nothing into the source folder.
        self.assertEqual(set(os.listdir(PACKAGE)) - before - {"__pycache__"}, set())

    def test_the_package_version_is_the_librarys(self):
        with open(os.path.join(PACKAGE, "pyproject.toml"), encoding="utf-8") as f:
            self.assertIn(f'\nversion = "{library_version()}"\n', f.read())


if __name__ == "__main__":
    unittest.main()
