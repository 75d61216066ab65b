"""Writes the DXF fixtures of the design reader tests with ezdxf (Debian's python3-ezdxf).

Run from this directory: /usr/bin/python3 make_fixtures.py
The drawings are fixed, so running it again gives the same geometry (ezdxf stamps handles and
dates that may differ).
"""
import ezdxf
from ezdxf.math import Vec3


def block_with_peg(doc):
    # Entities of a block stand before the entities section and are not read.
    peg = doc.blocks.new(name='PEG')
    peg.add_circle((0, 0), 3)
    peg.add_line((-3, 0), (3, 0))
    return peg


def r12():
    """R12: LINE, POLYLINE with VERTEX and SEQEND (closed, with a bulge), CIRCLE, ARC through 0
    degrees, a 3-D polyline, colours and a block."""
    doc = ezdxf.new('R12')
    block_with_peg(doc)
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={'color': 1})
    # A slot: straight sides, a half circle at the right end (bulge on the second vertex).
    msp.add_polyline2d([(0, 10, 0, 0, 0), (50, 10, 0, 0, 1), (50, 40, 0, 0, 0), (0, 40, 0, 0, 0)],
                       format='xyseb', close=True, dxfattribs={'color': 3})
    msp.add_circle((150, 50), 20, dxfattribs={'color': 2})
    msp.add_arc((250, 50), 30, start_angle=300, end_angle=60)
    msp.add_polyline3d([(300, 0, 0), (340, 0, 5), (340, 30, 10)], dxfattribs={'color': 1})
    msp.add_blockref('PEG', (400, 50))
    doc.saveas('r12_mix.dxf')


def r2000():
    """R2000: LWPOLYLINEs open and closed with positive and negative bulges, ellipses, splines by
    control points and by fit points, colours, a block, text."""
    doc = ezdxf.new('R2000')
    block_with_peg(doc)
    msp = doc.modelspace()
    # A rounded rectangle 80 x 40: quarter circles of radius 10 bend counter-clockwise.
    q = 0.41421356237309503  # tan(22.5 degrees): a quarter circle
    msp.add_lwpolyline([(10, 0, 0, 0, 0), (70, 0, 0, 0, q), (80, 10, 0, 0, 0), (80, 30, 0, 0, q),
                        (70, 40, 0, 0, 0), (10, 40, 0, 0, q), (0, 30, 0, 0, 0), (0, 10, 0, 0, q)],
                       format='xyseb', close=True, dxfattribs={'color': 3})
    # An open wave: a negative and a positive half circle of radius 10.
    msp.add_lwpolyline([(100, 0, 0, 0, -1), (120, 0, 0, 0, 1), (140, 0, 0, 0, 0)],
                       format='xyseb', dxfattribs={'color': 1})
    msp.add_ellipse((200, 20), major_axis=(20, 0), ratio=0.5)
    msp.add_ellipse((260, 20), major_axis=(0, 20), ratio=0.5, start_param=5.5, end_param=1.0)
    msp.add_open_spline([(0, 60), (20, 100), (40, 60), (60, 100), (80, 60)], degree=3,
                        dxfattribs={'color': 2})
    msp.add_spline([(100, 60), (120, 90), (140, 60), (160, 90)])
    msp.add_circle((200, 80), 10, dxfattribs={'color': 1})
    msp.add_text('Kerfline', dxfattribs={'layer': 'NOTES', 'height': 5}).set_placement((0, -20))
    msp.add_blockref('PEG', (300, 80))
    doc.saveas('r2000_mix.dxf')


if __name__ == '__main__':
    r12()
    r2000()
