"""What the program itself says of the pictures' surroundings, read from where the program
takes it: the version from CMakeLists.txt, the design's colours from ui/main/Form1Design.h,
and the tiles' icons, in order, from their rows in ui/Form1Tiles.cpp."""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def _read(path):
    with open(os.path.join(ROOT, path), encoding='utf-8') as f:
        return f.read()


def _find(pattern, path):
    found = re.search(pattern, _read(path), re.M)
    if not found:
        sys.exit('draw_resources: %s holds no %s' % (path, pattern))
    return found


def version_label():
    """"V2.6": the banner's version label, major.minor of the project's version."""
    found = _find(r'^project\(Kelvane VERSION (\d+)\.(\d+)\.\d+', 'CMakeLists.txt')
    return 'V%s.%s' % found.groups()


def colour(name):
    """An (r, g, b) colour of the main window's design, by its name there (kTileFill …)."""
    found = _find(r'\b%s = RGB\((\d+), (\d+), (\d+)\)' % name, 'ui/main/Form1Design.h')
    return tuple(int(c) for c in found.groups())


def tile_icons():
    """The tiles' icon resources, top to bottom: each is drawn into resources/<name>.ico."""
    return re.findall(r'^ *\.iconResource = "([A-Za-z0-9]+)",$', _read('ui/Form1Tiles.cpp'), re.M)
