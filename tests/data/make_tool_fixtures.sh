#!/usr/bin/env bash
# Makes the fixtures that come from pstoedit (Debian's pstoedit 3.78 with Ghostscript) out of the
# PostScript drawings kept beside them. The DXF fixtures of ezdxf come from dxf/make_fixtures.py.
# usage: tests/data/make_tool_fixtures.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

# The letter S of Helvetica-Bold (-dt: text as outlines) inside a square frame.
pstoedit -q -dt -f dxf_14 dxf/letter_in_frame.ps dxf/letter_in_frame_r14.dxf     # LINE and SPLINE, inches
pstoedit -q -dt -f dxf:-mm dxf/letter_in_frame.ps dxf/letter_in_frame_r9.dxf     # POLYLINE, millimetres

# A star and a circle of four Bezier curves.
pstoedit -q -f plot-ai eps/star.ps eps/star_libplot.ai   # Illustrator 5 syntax of GNU libplot
pstoedit -q -f ps2ai eps/star.ps eps/star_ps2ai.ai       # Illustrator 3 syntax of Ghostscript's ps2ai
pstoedit -q -f hpgl eps/star.ps hpgl/star_pstoedit.plt
pstoedit -q -f plot-hpgl eps/star.ps hpgl/star_libplot.plt
