#!/usr/bin/python3
"""Makes the 3D model fixtures with Debian's python3-ezdxf and writes, beside each drawing,
the triangles ezdxf itself takes from it (its decomposition of block inserts and its OCS maths),
so that the reader's tests compare against a third party without Python at test time.

usage: /usr/bin/python3 tests/data/model3d/make_fixtures.py
"""
import math
import os

import ezdxf
from ezdxf import disassemble
from ezdxf.render import MeshBuilder, forms

HERE = os.path.dirname(os.path.abspath(__file__))


def triangles_of(msp):
    """ezdxf's triangles of every 3DFACE and polyface mesh, inserts resolved."""
    result = []
    for entity in disassemble.recursive_decompose(msp):
        kind = entity.dxftype()
        if kind == '3DFACE':
            v = [entity.dxf.get(f'vtx{i}') for i in range(4)]
            result.append((v[0], v[1], v[2]))
            if entity.dxf.hasattr('vtx3') and not v[3].isclose(v[2], abs_tol=0):
                result.append((v[0], v[2], v[3]))
        elif kind == 'POLYLINE' and entity.is_poly_face_mesh:
            mesh = MeshBuilder.from_polyface(entity)
            for face in mesh.faces:
                p = [mesh.vertices[i] for i in face]
                result.append((p[0], p[1], p[2]))
                if len(p) > 3 and not p[3].isclose(p[2], abs_tol=0):
                    result.append((p[0], p[2], p[3]))
    return result


def write_triangles(path, triangles):
    with open(path, 'w', newline='\n') as out:
        for t in triangles:
            out.write(' '.join(repr(float(c)) for p in t for c in (p.x, p.y, p.z)) + '\n')


def faces_and_inserts():
    """3DFACEs, a polyface mesh and nested inserts: rotated, uniformly scaled, extruded."""
    doc = ezdxf.new('R2000')
    msp = doc.modelspace()
    msp.add_3dface([(0, 0, 0), (10, 0, 0), (10, 10, 0), (0, 10, 0)])   # two triangles
    msp.add_3dface([(0, 0, 5), (10, 0, 5), (10, 10, 5), (10, 10, 5)])  # fourth = third: one
    mesh = msp.add_polyface()
    mesh.append_face([(0, 0, 0), (4, 0, 0), (4, 3, 2)])
    mesh.append_face([(0, 0, 0), (4, 3, 2), (0, 3, 2), (0, 0, 6)])

    inner = doc.blocks.new('Inner')   # base point at the origin
    inner.add_3dface([(1, 0, 0), (2, 0, 0.5), (2, 1, 1), (1, 1.5, 0)])
    cube = forms.cube().scale(2, 2, 2)
    cube.render_polyface(inner)

    outer = doc.blocks.new('Outer')
    outer.add_blockref('Inner', (3, 1, 0), dxfattribs={'rotation': 30, 'xscale': 1.5, 'yscale': 1.5, 'zscale': 1.5})
    outer.add_3dface([(0, 0, 0), (1, 0, 0), (0, 1, 0)])

    msp.add_blockref('outer', (20, 5, 2), dxfattribs={'rotation': -45, 'xscale': 2, 'yscale': 2, 'zscale': 2,
                                                       'extrusion': (0.3, -0.4, 0.866)})
    msp.add_blockref('Inner', (-5, 0, 0), dxfattribs={'extrusion': (0, 0, -1)})
    msp.add_blockref('Inner', (0, 7, 0), dxfattribs={'extrusion': (1, 0, 0), 'rotation': 90})
    name = os.path.join(HERE, 'faces_and_inserts')
    doc.saveas(name + '.dxf')
    write_triangles(name + '.ezdxf.txt', triangles_of(msp))


# The profile of the body of revolution: radius and height in millimetres, bottom to top.
PROFILE = [(20, 0), (28, 10), (30, 25), (24, 40), (16, 55), (18, 65), (22, 75), (12, 80)]


def revolution():
    """A vase turned about the vertical (y) axis, as a polyface mesh and as RAW lines."""
    doc = ezdxf.new('R2000')
    msp = doc.modelspace()
    body = forms.rotation_form(64, [(r, y, 0) for r, y in PROFILE], angle=2 * math.pi, axis=(0, 1, 0))
    body.render_polyface(msp)
    name = os.path.join(HERE, 'revolution')
    doc.saveas(name + '.dxf')
    # ezdxf's own triangles of the drawing, to six decimals: the reader's reference too.
    triangles = triangles_of(msp)
    with open(name + '.raw', 'w', newline='\n') as out:
        out.write('Object1\n')
        for t in triangles:
            out.write(' '.join(f'{c:.6f}' for p in t for c in (p.x, p.y, p.z)) + '\n')
    with open(name + '.profile.txt', 'w', newline='\n') as out:
        for r, y in PROFILE:
            out.write(f'{r} {y}\n')


def self_insert():
    """A block that inserts itself twice: the reader must end."""
    doc = ezdxf.new('R2000')
    loop = doc.blocks.new('Loop')
    loop.add_3dface([(0, 0, 0), (1, 0, 0), (0, 1, 0)])
    loop.add_blockref('Loop', (1, 0, 0))
    loop.add_blockref('LOOP', (0, 1, 0))
    doc.modelspace().add_blockref('Loop', (0, 0, 0))
    doc.saveas(os.path.join(HERE, 'self_insert.dxf'))


if __name__ == '__main__':
    faces_and_inserts()
    revolution()
    self_insert()
