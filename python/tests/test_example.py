"""The example panel runs offscreen, draws itself, and its signals carry values across."""
import os
import runpy
import subprocess
import sys

from PyQt6.QtGui import QImage

from conftest import SOURCE_DIR

PANEL = SOURCE_DIR / "examples" / "python" / "panel.py"


def panel_class():
    return runpy.run_path(str(PANEL))["Panel"]


def test_example_draws_offscreen(tmp_path):
    shot = tmp_path / "panel.png"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    r = subprocess.run([sys.executable, str(PANEL), "--screenshot", str(shot)], env=env,
                       capture_output=True, text=True, timeout=60)
    assert r.returncode == 0, r.stderr
    image = QImage(str(shot))
    assert image.width() >= 600 and image.height() >= 400
    colours = {image.pixel(x, y) for x in range(0, image.width(), 7) for y in range(0, image.height(), 7)}
    assert len(colours) > 20        # a panel, not an empty window


def test_example_wiring(app):
    panel = panel_class()()
    panel.field.SetValue(50.0)
    assert panel.meter.Value() == 50.0
    assert panel.bar.Value() == 50.0
    panel.field.SetValue(95.0)      # above the high limit: one line in the log
    assert panel.log.NrOfRows() == 1
    assert panel.log.Elem(1, 1) == "above the high limit"
