"""What the program itself says of the pictures' surroundings, read from resources/Facts.txt, where
the program's build takes it too: the version, the design's colours, and the icons' names, the
tiles' in order, then the tool buttons'."""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def _facts(kind):
    """The fields after `kind` of each line of that kind, in the file's order."""
    found = []
    with open(os.path.join(ROOT, 'resources', 'Facts.txt'), encoding='utf-8') as f:
        for line in f:
            fields = line.split()
            if fields and fields[0] == kind:
                found.append(fields[1:])
    if not found:
        sys.exit('draw_resources: resources/Facts.txt holds no %s' % kind)
    return found


def version_label():
    """"V2.6": the banner's version label, major.minor of the project's version."""
    major, minor, _ = _facts('version')[0][0].split('.')
    return 'V%s.%s' % (major, minor)


def colour(name):
    """An (r, g, b) colour of the main window's design, by its name there (TileFill …)."""
    for fields in _facts('colour'):
        if fields[0] == name:
            return tuple(int(c) for c in fields[1:4])
    sys.exit('draw_resources: resources/Facts.txt holds no colour %s' % name)


def tile_icons():
    """The tiles' icon resources, top to bottom: each is drawn into resources/<name>.ico."""
    return [fields[0] for fields in _facts('tile-icon')]


def tool_icons():
    """The tool buttons' glyphs, left to right: each is drawn into resources/<name>.ico."""
    return [fields[0] for fields in _facts('tool-icon')]
