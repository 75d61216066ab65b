#pragma once

namespace kerfline {

class TMDIChild;

// The start point the cutting job settles before it writes a plain or independent program:
// a project of one figure whose ends differ is a single open figure, started at the end its
// feed direction reaches first; then the start offsets follow the start vertex. Returns the
// feed direction that chose the end (-1 leftwards, 1 rightwards), 0 when none did.
int settleStartPoint(TMDIChild& project);

}  // namespace kerfline

namespace kerfline {

// The cut command's own steps before it writes a program nobody is there to answer questions
// for (plan, the G-code export): the start point is settled and the frame, when one was added,
// is cut.
void settleUnattendedStart(TMDIChild& project);

}  // namespace kerfline
