"""Makes the sample designs and the 3D model of this folder. Run from here: /usr/bin/python3 make_samples.py
Needs Debian's python3-ezdxf and pstoedit (with Ghostscript)."""
import math
import os
import subprocess
import tempfile

import ezdxf


def star():
    """A five-pointed star, 100 mm across, as Illustrator syntax by pstoedit."""
    outer, inner = 141.7, 56.7  # PostScript points: 50 mm and 20 mm
    corners = []
    for k in range(10):
        r = outer if k % 2 == 0 else inner
        a = math.pi / 2 + k * math.pi / 5
        corners.append((150 + r * math.cos(a), 150 + r * math.sin(a)))
    path = ' '.join('%.3f %.3f %s' % (x, y, 'moveto' if i == 0 else 'lineto') for i, (x, y) in enumerate(corners))
    source = ('%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 300 300\n'
              'newpath ' + path + ' closepath 0 setgray 0.5 setlinewidth stroke\nshowpage\n')
    with tempfile.TemporaryDirectory() as directory:
        ps = os.path.join(directory, 'star.ps')
        with open(ps, 'w') as f:
            f.write(source)
        subprocess.run(['pstoedit', '-q', '-f', 'plot-ai', ps, 'star.ai'], check=True)


def letter_in_frame():
    """The letter D inside a frame with rounded corners, 120 mm square, as an R12 drawing."""
    doc = ezdxf.new('R12')
    msp = doc.modelspace()
    q = math.tan(math.radians(22.5))  # bulge of a quarter circle
    msp.add_polyline2d([(10, 0, 0, 0, 0), (110, 0, 0, 0, q), (120, 10, 0, 0, 0), (120, 110, 0, 0, q),
                        (110, 120, 0, 0, 0), (10, 120, 0, 0, q), (0, 110, 0, 0, 0), (0, 10, 0, 0, q)],
                       format='xyseb', close=True)
    # The D: a straight back and a half circle; the counter inside it follows the same shape.
    msp.add_polyline2d([(35, 20, 0, 0, 0), (60, 20, 0, 0, 1), (60, 100, 0, 0, 0), (35, 100, 0, 0, 0)],
                       format='xyseb', close=True)
    msp.add_polyline2d([(50, 35, 0, 0, 0), (60, 35, 0, 0, 1), (60, 85, 0, 0, 0), (50, 85, 0, 0, 0)],
                       format='xyseb', close=True)
    doc.saveas('letter_in_frame.dxf')


def gear():
    """A gear of 16 teeth, 100 mm across, with a 20 mm bore, as HPGL in plotter units (40 per mm)."""
    teeth, outer, root = 16, 50.0, 42.0
    points = []
    for k in range(teeth):
        a = 2 * math.pi * k / teeth
        step = 2 * math.pi / teeth
        for fraction, r in ((0.0, root), (0.15, outer), (0.45, outer), (0.6, root)):
            points.append((r * math.cos(a + fraction * step), r * math.sin(a + fraction * step)))
    points.append(points[0])
    bore = [(10 * math.cos(2 * math.pi * k / 32), 10 * math.sin(2 * math.pi * k / 32)) for k in range(33)]
    lines = ['IN;', 'SP1;']
    for outline in (points, bore):
        units = [(round((x + 50) * 40), round((y + 50) * 40)) for x, y in outline]
        lines.append('PU%d,%d;' % units[0])
        lines.append('PD' + ','.join('%d,%d' % p for p in units[1:]) + ';')
    lines.append('PU;')
    with open('gear.plt', 'w', newline='\r\n') as f:
        f.write('\n'.join(lines) + '\n')


def vase():
    """A vase turned about the vertical Y axis, 200 mm high, as a polyface mesh: a 3D model for the
    3D view and the serial generator."""
    from ezdxf.render import forms
    profile = [(30 + 12 * math.sin(math.pi * k / 10), 10 * k, 0) for k in range(21)]
    mesh = forms.rotation_form(48, profile, axis=(0, 1, 0))
    doc = ezdxf.new('R2000')
    mesh.render_polyface(doc.modelspace())
    doc.saveas('vase.dxf')


if __name__ == '__main__':
    star()
    letter_in_frame()
    gear()
    vase()
