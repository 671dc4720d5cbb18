"""Runs the binding tests with pytest; exit code 77 (skipped) only when PyQt6 itself is missing."""
import sys

try:
    import PyQt6.QtWidgets  # noqa: F401
except ImportError as e:
    print(f"PyQt6 is not available ({e}): the Python tests are skipped")
    sys.exit(77)

import pytest

sys.exit(pytest.main(["-q", "-p", "no:cacheprovider", *sys.argv[1:]]))
