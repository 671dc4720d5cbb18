import os
from pathlib import Path

import pytest
from PyQt6.QtCore import QObject
from PyQt6.QtWidgets import QApplication

import korvane

SOURCE_DIR = Path(os.environ.get("KORVANE_SOURCE_DIR", Path(__file__).resolve().parents[2]))


@pytest.fixture(scope="session")
def app():
    return QApplication.instance() or QApplication([])


def qobject_classes():
    """Every wrapped QObject class of the library, by name."""
    return {name: cls for name, cls in vars(korvane.qor).items()
            if isinstance(cls, type) and issubclass(cls, QObject)}
