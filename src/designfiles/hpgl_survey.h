#pragma once

#include <string>

namespace kerfline {

// Whether a plot file holds a label instruction (LB): text the plotter would letter, which the
// reader passes over. Tells the operator why a plot file of labels alone gave no figure.
bool hpglHasLabels(const std::string& path);

}  // namespace kerfline
