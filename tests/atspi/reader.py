"""What the reading scripts share: finding a program on the accessibility bus."""
import time

import pyatspi


def find_app(name, timeout):
    """The program's application object, once it has reached the bus; None after timeout s."""
    end = time.time() + timeout
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    return None
